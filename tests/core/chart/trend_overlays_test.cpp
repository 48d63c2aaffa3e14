#include "core/chart/trend_overlays.h"

#include <gtest/gtest.h>

#include "core/chart/chart_painter.h"
#include "core/chart/chart_test_series.h"
#include "support/recording_canvas.h"

namespace sorano {
namespace {

using test::Bar;
using test::SeriesOfCloses;

ChartWindow Window(int first, int visible) {
  ChartWindow w;
  w.first = first;
  w.visible = visible;
  return w;
}

PriceSeries Series(std::vector<PriceBar> bars) {
  PriceSeries s;
  s.Assign(bars);
  return s;
}

TEST(TrendOverlaysTest, IchimokuMidPricesAndPositions) {
  // Prices above a million yen: (highest + lowest) / 2 must not wrap.
  std::vector<PriceBar> bars;
  for (int i = 0; i < 100; ++i) bars.push_back(Bar(2003, 1, 1, 0, 2000000000 - i, 900000000 + i, 1700000000));
  const PriceSeries big = Series(bars);
  EXPECT_EQ(MidPrices(big, 3, 10, 10)[0], (2000000000LL - 8 + 900000008LL) / 2);
  EXPECT_EQ(MidPrices(big, 3, 1, 1)[0], kNoValue);      // needs bar -1
  EXPECT_EQ(MidPrices(big, 3, 100, 100)[0], kNoValue);  // past the series
  EXPECT_EQ(MidPrices(big, 0, 10, 12), std::vector<int32_t>(3, kNoValue));

  // Highs and lows that go up and down, so every look-back has its extremes somewhere inside.
  bars.clear();
  for (int i = 0; i < 100; ++i)
    bars.push_back(Bar(2003, 1, 1, 0, 1000 + (i * 37) % 101, 900 - (i * 53) % 89, 950));
  const PriceSeries s = Series(bars);
  auto mid = [&](int n, int u) -> int64_t {
    if (u - n + 1 < 0 || u >= s.count()) return kNoValue;
    int64_t hh = 0, ll = 1000000000;
    for (int k = u - n + 1; k <= u; ++k)
      hh = std::max<int64_t>(hh, s[k].high), ll = std::min<int64_t>(ll, s[k].low);
    return (hh + ll) / 2;
  };
  const IchimokuLines r = ComputeIchimoku(s, Window(60, 30), 26, 9, 52, 26);
  EXPECT_EQ(r.ahead, 30 + 26);
  for (int j = 0; j < r.ahead; ++j) {
    const size_t k = static_cast<size_t>(j);
    const int t = 60 + j;
    if (j < 30) {
      EXPECT_EQ(r.base[k], mid(26, t)) << j;
      EXPECT_EQ(r.conv[k], mid(9, t)) << j;
    }
    EXPECT_EQ(r.spanA[k], (mid(26, t - 26) + mid(9, t - 26)) / 2) << j;
    EXPECT_EQ(r.spanB[k], mid(52, t - 52 + 26)) << j;
  }
  EXPECT_EQ(r.lag[0], s[86].close);
  EXPECT_EQ(r.lag[13], s[99].close);
  EXPECT_EQ(r.lag[14], kNoValue);  // bar 100 is past the end
  EXPECT_EQ(r.cloudStart, 78);     // S + L >= first
  EXPECT_EQ(r.convStart, 1);       // C < first
  EXPECT_TRUE(ComputeIchimoku(s, Window(60, 30), 0, 9, 52, 26).base.empty());
}

TEST(TrendOverlaysTest, ParabolicStartsAndReverses) {
  // First bar with high = low: no reversal there, AF grows from 2 to 6.
  const PriceSeries s = Series({Bar(2003, 1, 6, 100, 100, 100, 100), Bar(2003, 1, 7, 100, 110, 105, 105),
                                Bar(2003, 1, 8, 100, 120, 110, 115), Bar(2003, 1, 9, 100, 100, 80, 85)});
  const std::vector<int32_t> sar = ComputeParabolic(s, Window(0, 4));
  ASSERT_EQ(sar.size(), 4u);
  EXPECT_EQ(sar[0], 100);
  EXPECT_EQ(sar[1], 100 + ((110 - 100) * 10) / 100);  // EP 110, AF 10: 101
  EXPECT_EQ(sar[2], 101 + ((120 - 101) * 14) / 100);  // EP 120, AF 14: 103
  EXPECT_EQ(sar[3], 120);  // low 80 below the SAR: reversal to the highest high since the start
}

TEST(TrendOverlaysTest, ZigzagAndPeakLabels) {
  // Peaks at 120 (bar 2) and 150 (bar 6), a trough at 90 (bar 4).
  const PriceSeries s = SeriesOfCloses({100, 110, 120, 100, 90, 130, 150, 140, 145});
  const std::vector<TurnPoint> z = ComputeZigzag(s, Window(0, 9), 0.08);
  ASSERT_EQ(z.size(), 4u);
  EXPECT_EQ(z[0].j, 2);
  EXPECT_EQ(z[0].price, 120);
  EXPECT_EQ(z[1].j, 4);
  EXPECT_EQ(z[1].price, 90);
  EXPECT_EQ(z[2].j, 6);
  EXPECT_EQ(z[3].j, 8);  // ends on the low of the last bar
  EXPECT_EQ(z[3].price, 145);

  ChartSettings st = test::QuietSettings();
  st.check_shi_tenpen = 1;
  test::RecordingCanvas canvas(600, 324);
  ChartWindow w;
  LayoutChartWindow(w, 5, 600, s.count());
  const PriceScale scale = PaintPriceChart(canvas, st, s, w);
  const auto peak = canvas.TextsEqual("150");
  ASSERT_EQ(peak.size(), 1u);
  EXPECT_EQ(peak[0].at, (Point{12 * 7, scale.Y(154)}));  // 3 % above: trunc(154.5)
  const auto trough = canvas.TextsEqual("90");
  ASSERT_EQ(trough.size(), 1u);
  EXPECT_EQ(trough[0].at, (Point{12 * 5, scale.Y(87)}));  // 3 % below: trunc(87.3)
}

TEST(TrendOverlaysTest, VolumeByPriceBands) {
  const PriceSeries s = Series({Bar(2003, 1, 6, 0, 0, 0, 100, 10000), Bar(2003, 1, 7, 0, 0, 0, 100, 10001),
                                Bar(2003, 1, 8, 0, 0, 0, 200, 50), Bar(2003, 1, 9, 0, 0, 0, 105, -7)});
  const auto t = ComputeVolumeByPrice(s, Window(0, 4), 100, 100);
  EXPECT_EQ(t[0], 10000 + 10001);  // band width 5 yen: 100 and 104.99 in band 0, every share counted
  EXPECT_EQ(t[1], 0);              // a negative volume adds nothing
  EXPECT_EQ(t[19], 50);            // the top itself
  EXPECT_EQ(VolumeBarLength(t, 0, 600), 300);
  EXPECT_EQ(VolumeBarLength(t, 19, 600), static_cast<int>(50LL * 300 / 20001));
  EXPECT_EQ(VolumeBarLength(t, 1, 600), 0);
  // Volumes of two billion shares on every bar still add up; no volume at all draws no bars.
  std::vector<PriceBar> big(12000, Bar(2003, 1, 6, 0, 0, 0, 100, INT32_MAX));
  EXPECT_EQ(ComputeVolumeByPrice(Series(big), Window(0, 12000), 100, 100)[0], 12000LL * INT32_MAX);
  for (auto& b : big) b.volume = 0;
  EXPECT_EQ(VolumeBarLength(ComputeVolumeByPrice(Series(big), Window(0, 12000), 100, 100), 0, 600), 0);
}

TEST(TrendOverlaysTest, SplitMarksBaseLinesAndDates) {
  std::vector<PriceBar> bars(4);
  bars[0].factor = 1.0, bars[1].factor = 0.5, bars[2].factor = 0.5, bars[3].factor = 0.509;
  const PriceSeries s = Series(bars);
  EXPECT_EQ(ComputeSplitMarks(s, Window(0, 4)), (std::vector<int>{1}));
  EXPECT_EQ(ComputeSplitMarks(s, Window(1, 3)), (std::vector<int>{0}));  // compares with bar 0
  const BaseLineValues v = ComputeBaseLines({1234.9, 40, 5000});
  EXPECT_EQ(v.bookValue, 1234);
  EXPECT_EQ(v.assetValue, 3087);  // 1234.9 / 0.4
  EXPECT_EQ(ComputeBaseLines({1234.9, 40, 0}).assetValue, 0);
  EXPECT_EQ(DateKey(Bar(2003, 10, 1, 0, 0, 0, 0)), 20031001);
}

}  // namespace
}  // namespace sorano
