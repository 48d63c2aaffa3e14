#include "core/technical/technical_readout.h"

#include <gtest/gtest.h>

namespace sorano {
namespace {

TEST(TechnicalReadout, TradedValueInTenThousandYen) {
  EXPECT_EQ(TradedValueText(TradedValue(5000, 1000)), "500万円");
  EXPECT_EQ(TradedValueText(TradedValue(1230000, 1000)), "12億3000万円");
  EXPECT_EQ(TradedValueText(10005), "1億5万円");
  EXPECT_EQ(TradedValueText(9999), "9999万円");
  EXPECT_EQ(TradedValueText(10000), "1億0万円");
  EXPECT_EQ(TradedValue(1234567, 500), 61728);
  // Two billion shares at two million yen: beyond int32, not wrapped.
  EXPECT_EQ(TradedValue(2000000000, 2000000), 400000000000LL);
}

TEST(TechnicalReadout, BarUnderTheCursor) {
  PriceSeries series;
  std::vector<PriceBar> bars(30);
  for (int i = 0; i < 30; ++i) {
    bars[i] = PriceBar{2003, 11, 1 + i, 100 + i, 110 + i, 90 + i, 105 + i, 5000 * (i + 1), 1.0};
  }
  bars[14].month = 12;
  bars[14].day = 5;
  series.Assign(bars);
  ChartWindow w;
  w.first = 10;
  w.visible = 15;  // pitch 12
  // x = 60: position 60 / 12 - 1 = 4, bar 14: 2003-12-05, a Friday.
  const auto parts = TechnicalReadout(series, w, 60);
  ASSERT_TRUE(parts.has_value());
  EXPECT_EQ((*parts)[0], " 2003/12/ 5");
  EXPECT_EQ((*parts)[1], "金");
  EXPECT_EQ((*parts)[2], "始:114");
  EXPECT_EQ((*parts)[3], "高:124");
  EXPECT_EQ((*parts)[4], "安:104");
  EXPECT_EQ((*parts)[5], "終:119");
  EXPECT_EQ((*parts)[6], "出:75000");
  EXPECT_EQ((*parts)[7], "892万円");  // 75,000 / 10,000 * 119 = 892.5
  // Left of the first bar, right of the last, or no data: nothing.
  EXPECT_FALSE(TechnicalReadout(series, w, 11).has_value());
  EXPECT_FALSE(TechnicalReadout(series, w, -30).has_value());
  EXPECT_FALSE(TechnicalReadout(series, w, 12 * 16).has_value());
  EXPECT_TRUE(TechnicalReadout(series, w, 12 * 16 - 1).has_value());
  w.visible = 40;  // a window past the newest bar
  EXPECT_FALSE(TechnicalReadout(series, w, 12 * 21 + 1).has_value());
  EXPECT_FALSE(TechnicalReadout(PriceSeries(), w, 60).has_value());

  // Garbage dates from a damaged file: the numbers as they are, no weekday.
  bars[14].year = INT32_MAX;
  bars[14].month = -7;
  series.Assign(bars);
  w.visible = 15;
  const auto garbage = TechnicalReadout(series, w, 60);
  ASSERT_TRUE(garbage.has_value());
  EXPECT_EQ((*garbage)[0], " 2147483647/-7/ 5");
  EXPECT_EQ((*garbage)[1], "");
}

}  // namespace
}  // namespace sorano
