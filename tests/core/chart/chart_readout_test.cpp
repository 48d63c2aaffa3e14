#include "core/chart/chart_readout.h"

#include <gtest/gtest.h>

#include "core/chart/chart_test_series.h"

namespace sorano {
namespace {

TEST(ChartReadoutTest, StatusPartsAndTradingValue) {
  EXPECT_EQ(TradingValueText(1234567, 500), "6億1728万円");
  EXPECT_EQ(TradingValueText(1000, 500), "50万円");
  EXPECT_EQ(TradingValueText(2000000000, 2000000000), "40000000000億0万円");  // not cut at 32 bits
  PriceScale scale;
  scale.top = 1300, scale.bottom = 1000, scale.range = 300, scale.paneHeight = 600;
  const auto parts = StatusReadout(test::Bar(2003, 12, 5, 1010, 1200, 1001, 1100, 1234567), scale, 300);
  EXPECT_EQ(parts[0], "2003/12/ 5");
  EXPECT_EQ(parts[1], "金");
  EXPECT_EQ(parts[2], "始:1010");
  EXPECT_EQ(parts[3], "高:1200");
  EXPECT_EQ(parts[4], "安:1001");
  EXPECT_EQ(parts[5], "終:1100");
  EXPECT_EQ(parts[6], "出:1234567");
  EXPECT_EQ(parts[7], "13億5802万円");
  EXPECT_EQ(parts[8], "1150");  // (600 - 300) / (600 / 300) + 1000
  scale.paneHeight = 0;
  EXPECT_EQ(PriceAtHeight(scale, 10), 1000);
}

TEST(ChartReadoutTest, BarUnderPointAndFittedTrendLine) {
  ChartWindow w;
  SetChartSize(w, 5);
  w.first = 100, w.visible = 50;
  EXPECT_EQ(BarUnderPoint(w, 500, 11), -1);  // left of bar 0
  EXPECT_EQ(BarUnderPoint(w, 500, 12), 100);
  EXPECT_EQ(BarUnderPoint(w, 500, 35), 101);
  EXPECT_EQ(BarUnderPoint(w, 500, 12 * 51), -1);  // right of the window
  EXPECT_EQ(BarUnderPoint(w, 120, 12 * 40), -1);  // past the series end
  EXPECT_EQ(BarUnderPoint(w, 500, -5), -1);

  std::vector<int> closes;
  for (int i = 0; i < 200; ++i) closes.push_back(1000 + i);
  const PriceSeries s = test::SeriesOfCloses(closes);
  PriceScale scale;
  scale.bottom = 1000, scale.top = 1200, scale.range = 200, scale.paneHeight = 200;
  // x = 30: bar first + 30 / 12 = 102, point (12 * (30 / 12), y(1102)) = (24, 98).
  EXPECT_EQ(FittedTrendPoint(s, w, scale, 30), (Point{24, 98}));
  const TrendLineEnds fitted = TrendLine(3, {30, 5}, {61, 7}, s, w, scale);
  EXPECT_EQ(fitted.to, (Point{60, 95}));
  EXPECT_EQ(TrendLine(1, {30, 5}, {61, 7}, s, w, scale).to, (Point{61, 5}));
  EXPECT_EQ(TrendLine(2, {30, 5}, {61, 7}, s, w, scale).to, (Point{30, 7}));
  EXPECT_EQ(TrendLine(0, {30, 5}, {61, 7}, s, w, scale).to, (Point{61, 7}));
  // Beyond the series end the nearest bar is used.
  EXPECT_EQ(FittedTrendPoint(s, w, scale, 12 * 150).y, scale.Y(1199));
}

}  // namespace
}  // namespace sorano
