#include "core/chart/chart_window.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

namespace sorano {
namespace {

TEST(ChartWindowTest, GeometryFromChartSize) {
  ChartWindow w;
  SetChartSize(w, 5);
  EXPECT_EQ(w.unit, 5);
  EXPECT_EQ(w.gap, 5);
  EXPECT_EQ(w.body, 7);
  EXPECT_EQ(w.pitch, 12);
  EXPECT_EQ(w.X(0), 12);
  EXPECT_EQ(w.X(3), 48);
  SetChartSize(w, 1);
  EXPECT_EQ(w.body, 1);
  EXPECT_EQ(w.pitch, 2);
  SetChartSize(w, 0);  // out of range: clamped to 1
  EXPECT_EQ(w.pitch, 2);
  SetChartSize(w, 99);
  EXPECT_EQ(w.unit, 10);
  EXPECT_EQ(w.pitch, 25);
}

TEST(ChartWindowTest, LayoutShowsNewestAndPaintClamps) {
  ChartWindow w;
  w.labelWidth = 40;
  LayoutChartWindow(w, 5, 1000, 500);
  EXPECT_EQ(w.visible, (1000 - 40 - 5) / 12);
  EXPECT_EQ(w.first, 500);
  FitChartWindow(w, 1000, 500, 0);
  EXPECT_EQ(w.visible, 79);
  EXPECT_EQ(w.first, 500 - 79);
  // Ichimoku keeps 26 strides free at the right.
  FitChartWindow(w, 1000, 500, 26);
  EXPECT_EQ(w.visible, (1000 - 40 - 5 - 26 * 12) / 12);

  // A series shorter than the window: all bars from the left edge, the bar cannot move.
  LayoutChartWindow(w, 5, 1000, 10);
  FitChartWindow(w, 1000, 10, 0);
  EXPECT_EQ(w.visible, 10);
  EXPECT_EQ(w.first, 0);
  EXPECT_FALSE(ScrollByKey(w, 10, ChartKey::Right));
  EXPECT_FALSE(ScrollByKey(w, 10, ChartKey::Left));

  // A pane narrower than the labels, an empty series, a no-file series: nothing negative.
  FitChartWindow(w, 10, 500, 0);
  EXPECT_EQ(w.visible, 0);
  FitChartWindow(w, 1000, 0, 0);
  EXPECT_EQ(w.visible, 0);
  EXPECT_EQ(w.first, 0);
  FitChartWindow(w, 1000, -1, 0);
  EXPECT_EQ(w.visible, 0);
  EXPECT_EQ(w.first, 0);
  FitChartWindow(w, 1000, 500, 2000000000);  // absurd Ichimoku period
  EXPECT_EQ(w.visible, 0);
}

TEST(ChartWindowTest, ScrollRequestsAreClampedToTheSeries) {
  ChartWindow w;
  w.labelWidth = 40;
  LayoutChartWindow(w, 5, 1000, 500);
  FitChartWindow(w, 1000, 500, 0);
  const int last = 500 - w.visible;
  EXPECT_EQ(ScrollRequestDelta(w, ScrollRequest::LineLeft, 0), -5);
  EXPECT_EQ(ScrollRequestDelta(w, ScrollRequest::PageRight, 0), w.visible);
  EXPECT_EQ(ScrollRequestDelta(w, ScrollRequest::Track, 100), 100 - last);
  EXPECT_EQ(ScrollRequestDelta(w, ScrollRequest::Other, 100), 0);

  // Thumb at the far right, then Right: nothing happens.
  EXPECT_FALSE(ScrollByKey(w, 500, ChartKey::Right));
  EXPECT_FALSE(ScrollByWheel(w, 500, 120));
  EXPECT_EQ(w.first, last);
  EXPECT_TRUE(ScrollByKey(w, 500, ChartKey::PageDown));
  EXPECT_EQ(w.first, last - 5);
  EXPECT_TRUE(ScrollByWheel(w, 500, 120));
  EXPECT_EQ(w.first, last);

  // Left at first = 0: nothing happens; a big delta stops at 0 and at count - 1.
  EXPECT_TRUE(ScrollBy(w, 500, -100000));
  EXPECT_EQ(w.first, 0);
  EXPECT_FALSE(ScrollByKey(w, 500, ChartKey::Left));
  EXPECT_FALSE(ScrollByWheel(w, 500, -120));
  EXPECT_TRUE(ScrollBy(w, 500, 100000));
  EXPECT_EQ(w.first, 499);
  EXPECT_FALSE(ScrollByKey(w, 500, ChartKey::Home));
  EXPECT_FALSE(ScrollBy(w, -1, 5));

  const ScrollBarState bar = ScrollBarFor(w, 500);
  EXPECT_EQ(bar.max, 499);
  EXPECT_EQ(bar.page, w.visible);
  EXPECT_EQ(bar.pos, 499);
}

TEST(ChartWindowTest, ZellerWeekday) {
  EXPECT_EQ(DayOfWeek(2003, 12, 5), 5);
  EXPECT_EQ(std::string(DayOfWeekName(5)), "金");
  EXPECT_EQ(DayOfWeek(2003, 9, 26), 5);
  EXPECT_EQ(DayOfWeek(2003, 9, 29), 1);
  EXPECT_EQ(DayOfWeek(2004, 1, 1), 4);   // January counts as month 13 of 2003
  EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);  // leap day of a leap century
  EXPECT_EQ(DayOfWeek(2026, 12, 6), 0);
  EXPECT_EQ(std::string(DayOfWeekName(0)), "日");
  EXPECT_EQ(std::string(DayOfWeekName(7)), "");
  // A date read from a crafted file still names a day (no signed overflow under UBSan).
  for (int v : {INT32_MIN, INT32_MAX}) {
    for (const auto& [y, m, d] : {std::array{v, 1, 1}, std::array{2003, v, 1}, std::array{2003, 1, v}}) {
      const int w = DayOfWeek(y, m, d);
      EXPECT_GE(w, 0);
      EXPECT_LE(w, 6);
    }
  }
}

}  // namespace
}  // namespace sorano
