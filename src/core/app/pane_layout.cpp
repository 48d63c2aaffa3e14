#include "core/app/pane_layout.h"

#include <algorithm>

namespace sorano {
namespace {

// A rectangle never has a negative size: a window too small for the splitters and tabs gives the
// panes that do not fit zero size instead.
PaneRect Box(int x, int y, int width, int height) {
  return {x, y, std::max(width, 0), std::max(height, 0)};
}

}  // namespace

PaneLayout ComputePaneLayout(const LayoutInput& in) {
  PaneLayout out;
  const int W = in.clientWidth;
  const int H = in.clientHeight;
  const int R = in.rebarHeight + 2;
  const int S = in.statusHeight;
  const int A = H - R - S;  // height of the back frame
  int V = in.frameV, HT = in.frameHT, HB = in.frameHB;
  const int wd = in.frameWd;

  out.separator = Box(0, 0, W, 2);
  out.back = Box(0, R, W, A);

  if (in.clampSplitters) {
    if (V >= W && W >= wd) V = W - wd;
    if (V < 0) V = 0;  // a stored negative value would push the list pane off the window
    if (HT + wd + HB + wd >= A) HB = A - HT - 2 * wd;
    // HB below wd (a window too low for it, or an HB drag released above HT) becomes wd: the price
    // chart keeps a height and splitter HB never overlaps splitter HT.
    if (HB < wd) HB = wd;
    if (HT + wd >= A) {
      HT = A - 3 * wd;
      HB = wd;
    }
    if (HT <= wd) HT = wd;
  }
  out.frameV = V;
  out.frameHT = HT;
  out.frameHB = HB;

  if (in.arrangement != Arrangement::kNormal) {
    // Temporary full-screen arrangements: the named panes cover the back frame, the rest get zero size.
    switch (in.arrangement) {
      case Arrangement::kChartOnly:
        out.priceChart = Box(0, R, W, A);
        out.technical = Box(0, R, W, 0);
        break;
      case Arrangement::kTechnicalOnly:
        out.priceChart = Box(0, R, W, 0);
        out.technical = Box(0, R, W, A);
        break;
      case Arrangement::kListOnly:
        out.tree = Box(0, R, V - wd, A);
        out.splitterV = Box(V - wd, R, wd, A);
        out.list = Box(V, R, W - V, A);
        break;
      case Arrangement::kNormal:
        break;
    }
    return out;
  }

  // The right column: with the tree down (1) it fills the whole left column; up (0) it only fills the
  // top band and everything below spans the whole width.
  const bool treeDown = in.treeView == 1;
  const int X = treeDown ? V : 0;
  const int CW = treeDown ? W - V : W;
  const int TH = treeDown ? A : HT;

  out.tree = Box(0, R + 1, V - wd, TH);
  out.splitterV = Box(V - wd, R, wd, TH);
  out.list = Box(V, R, W - V, HT);
  out.splitterHT = Box(X, R + HT, CW, wd);

  const int T = in.btab == 1 ? std::max(in.tabHeight, 0) : 0;
  out.tabs = Box(X, H - S - T, CW, T);

  const int Y = R + HT + wd;
  const int areaHeight = H - R - S - T - wd - HT;  // the chart area below splitter HT, above the tabs
  const CodeWindowAction closeIfOpen =
      in.comparisonCodeWindowOpen ? CodeWindowAction::kClose : CodeWindowAction::kNone;
  switch (in.bview) {
    case 1:
    case 2:
      out.comparison = Box(X, Y, CW, areaHeight);
      out.repaintComparison = true;
      if (in.bview == 2)
        out.codeWindow = !in.comparisonCodeWindowOpen && in.priceChartExists ? CodeWindowAction::kOpen
                                                                             : CodeWindowAction::kNone;
      else
        out.codeWindow = closeIfOpen;
      break;
    case 3:
      out.timeSeries = Box(X, Y, CW, areaHeight);
      out.codeWindow = closeIfOpen;
      break;
    case 4:
      out.codeWindow = closeIfOpen;
      break;
    default:  // 0, and a stored value no mode has: the standard chart
      out.priceChart = Box(X, Y, CW, HB);
      out.splitterHB = Box(X, Y + HB, CW, wd);
      out.technical = Box(X, Y + HB + wd, CW, areaHeight - HB - wd);
      out.codeWindow = closeIfOpen;
      break;
  }
  return out;
}

LayoutInput LayoutInputFrom(const Workspace& ws, int clientWidth, int clientHeight, int rebarHeight,
                            int statusHeight, int tabHeight) {
  const SettingsStore& s = ws.settings;
  LayoutInput in;
  in.clientWidth = clientWidth;
  in.clientHeight = clientHeight;
  in.rebarHeight = rebarHeight;
  in.statusHeight = statusHeight;
  in.tabHeight = tabHeight;
  in.frameV = s.check_frame_V;
  in.frameHT = s.check_frame_HT;
  in.frameHB = s.check_frame_HB;
  in.frameWd = s.check_frame_wd;
  in.treeView = s.check_tree_view;
  in.btab = s.check_btab;
  in.bview = s.check_bview;
  in.arrangement = ws.arrangement;
  return in;
}

PaneLayout LayOutPanes(Workspace& ws, const LayoutInput& in) {
  PaneLayout out = ComputePaneLayout(in);
  ws.settings.check_frame_V = out.frameV;
  ws.settings.check_frame_HT = out.frameHT;
  ws.settings.check_frame_HB = out.frameHB;
  return out;
}

std::array<int, 11> StatusBarParts(int statusClientHeight) {
  const int u = static_cast<int>(statusClientHeight / 2.5);
  return {11 * u, 14 * u, 24 * u, 34 * u, 44 * u, 54 * u, 67 * u, 78 * u, 88 * u, -1, -1};
}

SplitterDrag::LineUpdate SplitterDrag::Move(int x, int y, int backWidth, int backHeight) {
  LineUpdate update;
  if (!dragging_) return update;
  update.erase = line_;
  line_.reset();
  if (x >= 0 && y >= 0 && x < backWidth && y < backHeight) {
    line_ = which_ == Splitter::kV ? x : y;
    update.draw = line_;
  }
  return update;
}

SplitterDrag::Release SplitterDrag::LeftRelease(int x, int y, int backWidth, int backHeight, int32_t wd,
                                                int32_t frameHT) {
  Release release;
  if (!dragging_) return release;
  if (x < 0) x = 1;
  if (x >= backWidth) x = backWidth - wd;
  if (y < 0) y = 1;
  if (y >= backHeight) y = backHeight - wd;
  switch (which_) {
    case Splitter::kV:
      release.frameV = x;
      break;
    case Splitter::kHT:
      release.frameHT = y;
      break;
    case Splitter::kHB:
      release.frameHB = y - frameHT;
      break;
  }
  release.line.erase = line_;
  line_.reset();
  dragging_ = false;
  return release;
}

SplitterDrag::LineUpdate SplitterDrag::RightRelease() {
  LineUpdate update;
  if (!dragging_ || which_ == Splitter::kV) return update;
  update.erase = line_;
  line_.reset();
  dragging_ = false;
  return update;
}

void ApplySplitterRelease(SettingsStore& settings, const SplitterDrag::Release& release) {
  if (release.frameV) settings.check_frame_V = *release.frameV;
  if (release.frameHT) settings.check_frame_HT = *release.frameHT;
  if (release.frameHB) settings.check_frame_HB = *release.frameHB;
}

}  // namespace sorano
