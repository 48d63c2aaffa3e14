// The main window's layout arithmetic and the splitter drags.
#include "core/app/pane_layout.h"

#include <gtest/gtest.h>

#include <memory>

namespace sorano {
namespace {

// A 1000 x 800 client area, a rebar of 28 (R = 30), a status bar of 20 and tabs of 24: the back frame
// is 750 high. Initial splitter values.
LayoutInput Window() {
  LayoutInput in;
  in.clientWidth = 1000;
  in.clientHeight = 800;
  in.rebarHeight = 28;
  in.statusHeight = 20;
  in.tabHeight = 24;
  return in;
}

TEST(PaneLayout, InitialValuesWithTheTreeDown) {
  const PaneLayout l = ComputePaneLayout(Window());
  EXPECT_EQ(l.separator, (PaneRect{0, 0, 1000, 2}));
  EXPECT_EQ(l.back, (PaneRect{0, 30, 1000, 750}));
  EXPECT_EQ(l.tree, (PaneRect{0, 31, 197, 750}));  // as tall as the area between rebar and status bar
  EXPECT_EQ(l.splitterV, (PaneRect{197, 30, 3, 750}));
  EXPECT_EQ(l.list, (PaneRect{200, 30, 800, 170}));
  EXPECT_EQ(l.splitterHT, (PaneRect{200, 200, 800, 3}));
  EXPECT_EQ(l.priceChart, (PaneRect{200, 203, 800, 380}));
  EXPECT_EQ(l.splitterHB, (PaneRect{200, 583, 800, 3}));
  EXPECT_EQ(l.technical, (PaneRect{200, 586, 800, 170}));
  EXPECT_EQ(l.tabs, (PaneRect{200, 756, 800, 24}));  // at the bottom, right under the technical pane
  EXPECT_EQ(l.timeSeries, PaneRect{});
  EXPECT_EQ(l.comparison, PaneRect{});
  EXPECT_EQ(l.frameV, 200);
  EXPECT_EQ(l.frameHT, 170);
  EXPECT_EQ(l.frameHB, 380);
  EXPECT_EQ(l.codeWindow, CodeWindowAction::kNone);
}

TEST(PaneLayout, TreeUpSpansTheChartAreaOverTheWholeWidth) {
  LayoutInput in = Window();
  in.treeView = 0;
  const PaneLayout l = ComputePaneLayout(in);
  EXPECT_EQ(l.tree, (PaneRect{0, 31, 197, 170}));
  EXPECT_EQ(l.splitterV, (PaneRect{197, 30, 3, 170}));
  EXPECT_EQ(l.list, (PaneRect{200, 30, 800, 170}));
  EXPECT_EQ(l.splitterHT, (PaneRect{0, 200, 1000, 3}));
  EXPECT_EQ(l.priceChart, (PaneRect{0, 203, 1000, 380}));
  EXPECT_EQ(l.technical, (PaneRect{0, 586, 1000, 170}));
  EXPECT_EQ(l.tabs, (PaneRect{0, 756, 1000, 24}));
}

TEST(PaneLayout, HiddenTabsGiveTheirHeightToTheTechnicalPane) {
  LayoutInput in = Window();
  in.btab = 0;
  const PaneLayout l = ComputePaneLayout(in);
  EXPECT_EQ(l.tabs.height, 0);
  EXPECT_EQ(l.technical, (PaneRect{200, 586, 800, 194}));
}

TEST(PaneLayout, ShrinkingTheWindowReducesHbFirstAndHtOnlyWhenItAloneNoLongerFits) {
  LayoutInput in = Window();
  in.clientHeight = 450;  // back frame 400: HT + HB + 2 wd = 556 does not fit
  PaneLayout l = ComputePaneLayout(in);
  EXPECT_EQ(l.frameHT, 170);
  EXPECT_EQ(l.frameHB, 400 - 170 - 6);
  EXPECT_EQ(l.priceChart.height, 224);

  for (int height : {226, 229}) {  // back frames 176 and 179: HT + wd still fits, HB has no room left
    in.clientHeight = height;
    l = ComputePaneLayout(in);
    EXPECT_EQ(l.frameHT, 170);
    EXPECT_EQ(l.frameHB, 3);  // never below wd
  }

  in.clientHeight = 200;  // back frame 150: HT + wd no longer fits
  l = ComputePaneLayout(in);
  EXPECT_EQ(l.frameHT, 150 - 9);
  EXPECT_EQ(l.frameHB, 3);

  in.clientWidth = 150;  // narrower than V
  l = ComputePaneLayout(in);
  EXPECT_EQ(l.frameV, 147);

  in.clampSplitters = false;  // just minimised or maximised: the stored values stay
  l = ComputePaneLayout(in);
  EXPECT_EQ(l.frameV, 200);
  EXPECT_EQ(l.frameHT, 170);
  EXPECT_EQ(l.frameHB, 380);
}

TEST(PaneLayout, NoPaneGetsANegativeSizeFromTinyWindowsOrOddStoredValues) {
  for (int w : {0, 1, 5, 199, 200, 640})
    for (int h : {0, 3, 31, 60, 480})
      for (int v : {-50, 0, 1, 200, 5000})
        for (int ht : {-10, 0, 170, 100000})
          for (int tree : {0, 1})
            for (int bview : {0, 2, 3, 4, 9}) {
              LayoutInput in = Window();
              in.clientWidth = w;
              in.clientHeight = h;
              in.frameV = v;
              in.frameHT = ht;
              in.treeView = tree;
              in.bview = bview;
              const PaneLayout l = ComputePaneLayout(in);
              for (const PaneRect& r : {l.back, l.tree, l.splitterV, l.list, l.splitterHT, l.priceChart,
                                        l.splitterHB, l.technical, l.timeSeries, l.comparison, l.tabs}) {
                ASSERT_GE(r.width, 0) << w << "x" << h << " V " << v << " HT " << ht;
                ASSERT_GE(r.height, 0) << w << "x" << h << " V " << v << " HT " << ht;
              }
              ASSERT_GE(l.frameV, 0);
            }
}

TEST(PaneLayout, ChartModesAndTheComparisonCodeWindow) {
  LayoutInput in = Window();
  in.bview = 2;
  PaneLayout l = ComputePaneLayout(in);
  EXPECT_EQ(l.comparison, (PaneRect{200, 203, 800, 553}));
  EXPECT_EQ(l.priceChart, PaneRect{});
  EXPECT_EQ(l.technical, PaneRect{});
  EXPECT_EQ(l.splitterHB, PaneRect{});
  EXPECT_TRUE(l.repaintComparison);
  EXPECT_EQ(l.codeWindow, CodeWindowAction::kOpen);
  in.comparisonCodeWindowOpen = true;  // opened once only
  EXPECT_EQ(ComputePaneLayout(in).codeWindow, CodeWindowAction::kNone);

  in.bview = 0;  // back to the standard chart: closed
  EXPECT_EQ(ComputePaneLayout(in).codeWindow, CodeWindowAction::kClose);
  in.bview = 1;
  l = ComputePaneLayout(in);
  EXPECT_EQ(l.codeWindow, CodeWindowAction::kClose);
  EXPECT_EQ(l.comparison, (PaneRect{200, 203, 800, 553}));

  in.bview = 3;
  l = ComputePaneLayout(in);
  EXPECT_EQ(l.timeSeries, (PaneRect{200, 203, 800, 553}));
  EXPECT_EQ(l.comparison, PaneRect{});

  in.bview = 4;  // the empty chart area
  l = ComputePaneLayout(in);
  for (const PaneRect& r : {l.priceChart, l.splitterHB, l.technical, l.timeSeries, l.comparison})
    EXPECT_EQ(r, PaneRect{});
  EXPECT_EQ(l.list, (PaneRect{200, 30, 800, 170}));
}

TEST(PaneLayout, FullScreenArrangements) {
  LayoutInput in = Window();
  in.arrangement = Arrangement::kChartOnly;
  PaneLayout l = ComputePaneLayout(in);
  EXPECT_EQ(l.priceChart, (PaneRect{0, 30, 1000, 750}));
  EXPECT_EQ(l.technical, (PaneRect{0, 30, 1000, 0}));
  EXPECT_EQ(l.tree, PaneRect{});
  EXPECT_EQ(l.list, PaneRect{});

  in.arrangement = Arrangement::kTechnicalOnly;
  l = ComputePaneLayout(in);
  EXPECT_EQ(l.technical, (PaneRect{0, 30, 1000, 750}));
  EXPECT_EQ(l.priceChart, (PaneRect{0, 30, 1000, 0}));

  in.arrangement = Arrangement::kListOnly;
  l = ComputePaneLayout(in);
  EXPECT_EQ(l.tree, (PaneRect{0, 30, 197, 750}));
  EXPECT_EQ(l.list, (PaneRect{200, 30, 800, 750}));
  EXPECT_EQ(l.priceChart, PaneRect{});
  EXPECT_EQ(l.technical, PaneRect{});
  EXPECT_EQ(l.tabs, PaneRect{});
}

TEST(PaneLayout, LayOutPanesStoresTheClampedSplitters) {
  auto ws = std::make_unique<Workspace>();
  ws->settings.check_frame_HB = 2000;
  const PaneLayout l = LayOutPanes(*ws, LayoutInputFrom(*ws, 1000, 800, 28, 20, 24));
  EXPECT_EQ(ws->settings.check_frame_HB, 750 - 170 - 6);
  EXPECT_EQ(l.technical.height, 0);
  EXPECT_EQ(l.tabs, (PaneRect{200, 756, 800, 24}));
}

TEST(PaneLayout, StatusBarPartsFollowTheBarHeight) {
  EXPECT_EQ(StatusBarParts(20), (std::array<int, 11>{88, 112, 192, 272, 352, 432, 536, 624, 704, -1, -1}));
  EXPECT_EQ(StatusBarParts(23)[0], 99);  // u = 9.2 truncated
  EXPECT_EQ(StatusBarParts(0)[8], 0);
}

TEST(SplitterDrag, TheLineFollowsTheCursorInsideTheBackFrameOnly) {
  SplitterDrag drag(Splitter::kV);
  EXPECT_FALSE(drag.Move(50, 50, 1000, 750).draw);  // not dragging yet
  drag.Press();
  auto u = drag.Move(300, 40, 1000, 750);
  EXPECT_FALSE(u.erase);
  EXPECT_EQ(u.draw, 300);
  u = drag.Move(1000, 40, 1000, 750);  // at the right edge: erased, nothing new
  EXPECT_EQ(u.erase, 300);
  EXPECT_FALSE(u.draw);
  u = drag.Move(-1, 40, 1000, 750);
  EXPECT_FALSE(u.erase);
  EXPECT_FALSE(u.draw);

  SplitterDrag ht(Splitter::kHT);
  ht.Press();
  EXPECT_EQ(ht.Move(5000, 120, 1000, 750).draw, std::nullopt);
  EXPECT_EQ(ht.Move(10, 120, 1000, 750).draw, 120);  // the y for a horizontal splitter
}

TEST(SplitterDrag, ReleaseClampsToTheBackFrameAndSetsTheSplitter) {
  SplitterDrag v(Splitter::kV);
  EXPECT_FALSE(v.LeftRelease(300, 0, 1000, 750, 3, 170).frameV);  // no drag under way
  v.Press();
  v.Move(400, 10, 1000, 750);
  auto r = v.LeftRelease(-20, 10, 1000, 750, 3, 170);
  EXPECT_EQ(r.frameV, 1);
  EXPECT_EQ(r.line.erase, 400);
  EXPECT_FALSE(v.dragging());
  v.Press();
  EXPECT_EQ(v.LeftRelease(1200, 10, 1000, 750, 3, 170).frameV, 997);

  // Dragging HB to y sets HB to y - HT.
  auto ws = std::make_unique<Workspace>();
  SplitterDrag hb(Splitter::kHB);
  hb.Press();
  hb.Move(10, 450, 1000, 750);
  r = hb.LeftRelease(10, 450, 1000, 750, ws->settings.check_frame_wd, ws->settings.check_frame_HT);
  EXPECT_FALSE(r.frameV);
  EXPECT_FALSE(r.frameHT);
  ApplySplitterRelease(ws->settings, r);
  EXPECT_EQ(ws->settings.check_frame_HB, 280);
  const PaneLayout l = LayOutPanes(*ws, LayoutInputFrom(*ws, 1000, 800, 28, 20, 24));
  EXPECT_EQ(l.priceChart.height, 280);

  // Released above HT: HB would be negative; the layout keeps it at wd.
  hb.Press();
  ApplySplitterRelease(ws->settings, hb.LeftRelease(10, 100, 1000, 750, 3, ws->settings.check_frame_HT));
  EXPECT_EQ(ws->settings.check_frame_HB, -70);
  EXPECT_EQ(LayOutPanes(*ws, LayoutInputFrom(*ws, 1000, 800, 28, 20, 24)).priceChart.height, 3);
  EXPECT_EQ(ws->settings.check_frame_HB, 3);

  SplitterDrag ht(Splitter::kHT);
  ht.Press();
  EXPECT_EQ(ht.LeftRelease(10, 800, 1000, 750, 3, 170).frameHT, 747);
}

TEST(SplitterDrag, RightButtonCancelsHtAndHbButNotV) {
  for (Splitter s : {Splitter::kHT, Splitter::kHB}) {
    SplitterDrag drag(s);
    drag.Press();
    drag.Move(10, 300, 1000, 750);
    const auto u = drag.RightRelease();
    EXPECT_EQ(u.erase, 300);
    EXPECT_FALSE(drag.dragging());
    const auto r = drag.LeftRelease(10, 300, 1000, 750, 3, 170);  // the drag is over: nothing moves
    EXPECT_FALSE(r.frameHT || r.frameHB);
  }
  SplitterDrag v(Splitter::kV);
  v.Press();
  v.Move(300, 10, 1000, 750);
  EXPECT_FALSE(v.RightRelease().erase);
  EXPECT_TRUE(v.dragging());
  EXPECT_EQ(v.LeftRelease(300, 10, 1000, 750, 3, 170).frameV, 300);
}

}  // namespace
}  // namespace sorano
