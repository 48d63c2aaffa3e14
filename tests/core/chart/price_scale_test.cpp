#include "core/chart/price_scale.h"

#include <gtest/gtest.h>

#include "core/chart/chart_test_series.h"

namespace sorano {
namespace {

TEST(PriceScaleTest, GridEveryThirtyYenForTop1500Bottom1234) {
  PriceScale s;
  s.top = 1500, s.bottom = 1234, s.range = 266, s.paneHeight = 266;
  EXPECT_EQ(GridUnit(1500), 10);
  const std::vector<GridLabel> labels = GridLabels(s);
  ASSERT_EQ(labels.size(), 8u);
  for (size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(labels[i].price, 1260 + 30 * static_cast<int>(i));
    // y = H - ((30 * (i + 1) - 4) * H) / range: with H = range, the distance above the bottom in yen.
    EXPECT_EQ(labels[i].y, 266 - (30 * static_cast<int>(i + 1) - 4));
  }
  EXPECT_EQ(GridUnit(800), 5);
  EXPECT_EQ(GridUnit(1000), 5);
  EXPECT_EQ(GridUnit(1001), 10);
  EXPECT_EQ(GridUnit(100000001), 1000000);
  // A flat window (range 1) and a zero top give no division by zero.
  PriceScale flat;
  flat.top = flat.bottom = 0, flat.range = 1, flat.paneHeight = 100;
  EXPECT_TRUE(GridLabels(flat).empty());
}

TEST(PriceScaleTest, MappingIsWideEnoughForHighPrices) {
  PriceScale s;
  s.top = 3000000, s.bottom = 1000000, s.range = 2000000, s.paneHeight = 1000;
  // (v - bottom) * H = 2e9 overflows 32 bits; the mapping must still put the top at y = 0.
  EXPECT_EQ(s.Y(3000000), 0);
  EXPECT_EQ(s.Y(1000000), 1000);
  EXPECT_EQ(s.Y(2000000), 500);
  PriceScale flat;
  flat.top = flat.bottom = 0, flat.range = 1, flat.paneHeight = 1000;
  EXPECT_EQ(flat.Y(INT32_MAX), -16000000);  // far off: clamped, still a drawable coordinate
  EXPECT_EQ(flat.Y(INT32_MIN), 16000000);
}

TEST(PriceScaleTest, RangeLooksBackHalfAWindow) {
  std::vector<int> closes;
  for (int i = 0; i < 100; ++i) closes.push_back(100 + i);
  const PriceSeries series = test::SeriesOfCloses(closes);
  ChartWindow w;
  w.first = 50, w.visible = 20;
  PriceScale s = ComputePriceScale(series, w, 300);
  EXPECT_EQ(s.bottom, 140);  // bars 40 ... 69
  EXPECT_EQ(s.top, 169);
  EXPECT_EQ(s.range, 29);
  w.first = 10;  // first < visible: no look-back
  s = ComputePriceScale(series, w, 300);
  EXPECT_EQ(s.bottom, 110);
  // A flat window has range 1.
  const PriceSeries flat = test::SeriesOfCloses(std::vector<int>(10, 500));
  w.first = 0, w.visible = 10;
  s = ComputePriceScale(flat, w, 300);
  EXPECT_EQ(s.range, 1);
  EXPECT_EQ(s.Y(500), 300);
}

}  // namespace
}  // namespace sorano
