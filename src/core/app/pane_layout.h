#pragma once
// The arithmetic of the main window's layout: where the rebar, the panes, the splitters, the chart
// tabs and the status-bar parts go for a client size and the layout settings, and how the three
// splitters are dragged. Pure functions; the desktop layer only applies the rectangles.
#include <array>
#include <cstdint>
#include <optional>

#include "core/app/workspace.h"

namespace sorano {

// A pane rectangle in main-window client coordinates. A zero width or height hides the pane.
struct PaneRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PaneRect&) const = default;
};

// What the layout needs besides the settings.
struct LayoutInput {
  int clientWidth = 0;   // W
  int clientHeight = 0;  // H
  int rebarHeight = 0;   // client height of the rebar; R = rebarHeight + 2 (the separator line)
  int statusHeight = 0;  // S: client height of the status bar, 0 while it is hidden
  int tabHeight = 0;     // height the chart tab control needs for its tabs (used when check_btab is 1)
  // The splitters are clamped to the window unless the window was just minimised or maximised.
  bool clampSplitters = true;
  bool comparisonCodeWindowOpen = false;  // the modeless "比較チャート" code window
  bool priceChartExists = true;

  // Layout settings: check_frame_V, _HT, _HB, _wd, check_tree_view, check_btab, check_bview.
  int32_t frameV = 200;
  int32_t frameHT = 170;
  int32_t frameHB = 380;
  int32_t frameWd = 3;
  int32_t treeView = 1;
  int32_t btab = 1;
  int32_t bview = 0;
  Arrangement arrangement = Arrangement::kNormal;
};

// What to do with the comparison-code window.
enum class CodeWindowAction { kNone, kOpen, kClose };

struct PaneLayout {
  PaneRect separator;  // the 2-pixel sunken line at the top
  PaneRect back;       // back frame: splitter coordinates are relative to it; drag lines are drawn on it
  PaneRect tree, splitterV, list, splitterHT;
  PaneRect priceChart, splitterHB, technical, timeSeries, comparison;
  PaneRect tabs;
  // The splitter values after the clamps; the caller stores them back into the settings.
  int32_t frameV = 0, frameHT = 0, frameHB = 0;
  CodeWindowAction codeWindow = CodeWindowAction::kNone;
  bool repaintComparison = false;  // modes 1 and 2 repaint the comparison pane
};

PaneLayout ComputePaneLayout(const LayoutInput& in);

// LayoutInput from the settings and the workspace arrangement, with the window's measurements.
LayoutInput LayoutInputFrom(const Workspace& ws, int clientWidth, int clientHeight, int rebarHeight,
                            int statusHeight, int tabHeight);

// ComputePaneLayout on the workspace's values; the clamped splitter values are stored back into
// ws.settings.
PaneLayout LayOutPanes(Workspace& ws, const LayoutInput& in);

// The 11 status-bar parts: right edges for the status bar's client height (u = height / 2.5,
// truncated: 11u, 14u, 24u, 34u, 44u, 54u, 67u, 78u, 88u), then -1 twice (to the right edge).
std::array<int, 11> StatusBarParts(int statusClientHeight);

// ---- splitter dragging ----

enum class Splitter { kV, kHT, kHB };

// One drag of one splitter, in back-frame coordinates. The drag line lies at x for kV and at y for
// the others; it is an XOR line, so drawing it twice erases it.
class SplitterDrag {
 public:
  explicit SplitterDrag(Splitter which) : which_(which) {}

  // What the window does to the drag line after an event.
  struct LineUpdate {
    std::optional<int> erase;  // draw the line at this position again (erases it)
    std::optional<int> draw;   // draw a new line here
  };

  // Left button down on the splitter: capture the mouse; no line yet.
  void Press() {
    dragging_ = true;
    line_.reset();
  }
  // Mouse move while dragging: erase the previous line, draw one at the cursor unless the cursor lies
  // left of or above the back frame, or at or beyond its right or bottom edge.
  LineUpdate Move(int x, int y, int backWidth, int backHeight);

  struct Release {
    LineUpdate line;                 // the line to erase
    std::optional<int32_t> frameV;   // new check_frame_V
    std::optional<int32_t> frameHT;  // new check_frame_HT
    std::optional<int32_t> frameHB;  // new check_frame_HB
  };
  // Left button up: the cursor is clamped to the back frame (a negative coordinate becomes 1, one at or
  // beyond the frame's width or height becomes that size - wd); V = x, HT = y or HB = y - HT. The
  // caller lays the window out again without updating the status-bar parts, then releases the mouse.
  // Nothing changes when no drag is under way.
  Release LeftRelease(int x, int y, int backWidth, int backHeight, int32_t wd, int32_t frameHT);
  // Right button up: HT and HB end the drag without moving (the line is erased); V ignores it.
  LineUpdate RightRelease();

  bool dragging() const { return dragging_; }
  Splitter which() const { return which_; }

 private:
  Splitter which_;
  bool dragging_ = false;
  std::optional<int> line_;
};

// A full SplitterDrag::LeftRelease applied to the settings.
void ApplySplitterRelease(SettingsStore& settings, const SplitterDrag::Release& release);

}  // namespace sorano
