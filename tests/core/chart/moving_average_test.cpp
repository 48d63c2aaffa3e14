#include "core/chart/moving_average.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/chart/chart_test_series.h"

namespace sorano {
namespace {

using test::SeriesOfCloses;

ChartWindow Window(int first, int visible) {
  ChartWindow w;
  w.first = first;
  w.visible = visible;
  return w;
}

TEST(MovingAverageTest, SmaWmaTmaOnKnownCloses) {
  const PriceSeries s = SeriesOfCloses({100, 110, 120, 130, 140});
  // SMA of 1 bar is the close line itself.
  OverlayLine sma1 = ComputeAverage(AverageKind::Sma, s, Window(0, 5), 1);
  EXPECT_EQ(sma1.start, 1);
  EXPECT_EQ(sma1.v, (std::vector<int32_t>{100, 110, 120, 130, 140}));
  // WMA over 100, 110, 120 (120 newest): (0*120 + 1*110 + 2*100) / 3 = 103; bar t itself weighs 0.
  OverlayLine wma = ComputeAverage(AverageKind::Wma, s, Window(0, 5), 3);
  EXPECT_EQ(wma.start, 3);
  EXPECT_EQ(wma.v[2], 103);
  EXPECT_EQ(wma.v[4], (0 * 140 + 1 * 130 + 2 * 120) / 3);
  // WMA of period 1 has a weight sum of 0: not drawn.
  EXPECT_FALSE(ComputeAverage(AverageKind::Wma, s, Window(0, 5), 1).Drawn());
  // SMA of 3 with first = 0 starts at position 3 (the segment into it from position 2).
  OverlayLine sma3 = ComputeAverage(AverageKind::Sma, s, Window(0, 5), 3);
  EXPECT_EQ(sma3.start, 3);
  EXPECT_EQ(sma3.v[2], 110);
  EXPECT_EQ(sma3.v[4], 130);
}

TEST(MovingAverageTest, TmaUsesHalfThePeriodRoundedUp) {
  std::vector<int> closes;
  for (int i = 0; i < 80; ++i) closes.push_back(1000 + (i * 37) % 101);
  const PriceSeries s = SeriesOfCloses(closes);
  const ChartWindow w = Window(40, 40);
  const OverlayLine sma13 = ComputeAverage(AverageKind::Sma, s, w, 13);
  EXPECT_EQ(ComputeAverage(AverageKind::Tma, s, w, 26).v, sma13.v);
  EXPECT_EQ(ComputeAverage(AverageKind::Tma, s, w, 25).v, sma13.v);
  EXPECT_EQ(ComputeAverage(AverageKind::Tma, s, w, 25).start, 1);  // 13 bars < first: whole window
}

TEST(MovingAverageTest, EmaStartsAtTheLeftEdgeAndChangesWithScrolling) {
  // Nine closes of 1000 then 1100: SMA(9) at position 0 is 1000, v(1) = 1000 + 200 / 10 = 1020.
  std::vector<int> closes(9, 1000);
  for (int i = 0; i < 12; ++i) closes.push_back(1100);
  const PriceSeries s = SeriesOfCloses(closes);
  const OverlayLine ema = ComputeAverage(AverageKind::Ema, s, Window(8, 13), 9);
  EXPECT_EQ(ema.v[0], 1000);
  EXPECT_EQ(ema.v[1], 1020);
  EXPECT_EQ(ema.v[2], 1020 + (2 * (1100 - 1020)) / 10);
  // One bar later the same date (index 9) is the seed: SMA of closes 1..9.
  const OverlayLine later = ComputeAverage(AverageKind::Ema, s, Window(9, 12), 9);
  EXPECT_EQ(later.v[0], (8 * 1000 + 1100) / 9);
  EXPECT_NE(later.v[0], ema.v[1]);
  // Fewer bars than the period before the window: the seed uses the bars that exist, no read
  // before index 0.
  const OverlayLine shortSeed = ComputeAverage(AverageKind::Ema, s, Window(0, 21), 9);
  EXPECT_EQ(shortSeed.v[0], 1000);
  EXPECT_EQ(shortSeed.start, 9);
}

TEST(MovingAverageTest, WindowWeightedAverages) {
  // EPMA with n = 3 on 100 (oldest), 110, 120: (2 / 12) * (5*100 + 2*110 - 1*120) = 100.
  const PriceSeries s = SeriesOfCloses({100, 110, 120, 130});
  EXPECT_EQ(ComputeAverage(AverageKind::Epma, s, Window(0, 4), 3).v[2], 100);
  // The bars before the window count at its left edge too: LMA at 110 weighs 99, 100, 110 by 1, 2, 3.
  const PriceSeries t = SeriesOfCloses({90, 95, 99, 100, 110, 120, 130});
  const OverlayLine lma = ComputeAverage(AverageKind::Lma, t, Window(4, 3), 3);
  EXPECT_EQ(lma.start, 1);
  EXPECT_EQ(lma.v[0], (3 * 110 + 2 * 100 + 99) / 6);
  EXPECT_EQ(lma.v[2], (3 * 130 + 2 * 120 + 110) / 6);
  EXPECT_EQ(ComputeAverage(AverageKind::Epma, t, Window(4, 3), 3).v[0], (5 * 99 + 2 * 100 - 110) / 6);
  // SWMA on constant closes is the close; the constant is the program's, not pi.
  const PriceSeries flat = SeriesOfCloses({500, 500, 500, 500});
  EXPECT_EQ(ComputeAverage(AverageKind::Swma, flat, Window(0, 4), 3).v[3], 499 + 1);
  EXPECT_NE(kSwmaPi, 3.14159265358979);
  // AMA truncates each mid price before adding: highs 101, lows 100 -> mids 100.
  PriceSeries ama;
  std::vector<PriceBar> bars(3);
  for (auto& b : bars) b.high = 101, b.low = 100, b.close = 100;
  ama.Assign(bars);
  EXPECT_EQ(ComputeAverage(AverageKind::Ama, ama, Window(0, 3), 2).v[2], 100);
}

// Each average added up from its definition at every position, against the running sums.
TEST(MovingAverageTest, RunningSumsEqualTheLookBackAddedUpAtEveryPosition) {
  std::mt19937 rng(7);
  std::vector<PriceBar> bars(400);
  int close = 5000;
  for (PriceBar& b : bars) {
    close = std::max(1, close + static_cast<int>(rng() % 401) - 200);
    b.close = b.open = close;
    b.high = close + static_cast<int>(rng() % 50);
    b.low = std::max(1, close - static_cast<int>(rng() % 50));
  }
  PriceSeries s;
  s.Assign(bars);
  auto c = [&](int t) { return static_cast<double>(bars[static_cast<size_t>(t)].close); };
  auto direct = [&](AverageKind kind, int t, int period) -> int64_t {
    const int n = kind == AverageKind::Tma ? (period + 1) / 2 : period, m = std::min(t + 1, n);
    double sum = 0, weights = 0;
    switch (kind) {
      case AverageKind::Sma:
      case AverageKind::Tma:
        for (int k = 0; k < n; ++k) sum += c(t - k);
        return static_cast<int64_t>(sum) / n;
      case AverageKind::Ama:
        for (int k = 0; k < n; ++k) sum += (bars[t - k].high + bars[t - k].low) / 2;
        return static_cast<int64_t>(sum) / n;
      case AverageKind::Wma:
        for (int k = 1; k < n; ++k) sum += k * c(t - k);
        return static_cast<int64_t>(sum) / (static_cast<int64_t>(n) * (n - 1) / 2);
      case AverageKind::Lma:
        for (int k = 0; k < m; ++k) sum += (m - k) * c(t - k);
        return static_cast<int64_t>(sum / (m * (m + 1) / 2.0));
      case AverageKind::Epma:
        for (int i = 1; i <= m; ++i) sum += (3 * i - m - 1) * c(t - i + 1);
        return static_cast<int64_t>((2.0 / (m * (m + 1))) * sum);
      default:  // Swma
        for (int k = 0; k < m; ++k) sum += std::sin((m - k) * (kSwmaPi / (n + 1.0))) * c(t - k);
        for (int i = 1; i <= m; ++i) weights += std::sin(i * (kSwmaPi / (n + 1.0)));
        return static_cast<int64_t>(sum / weights);
    }
  };
  for (AverageKind kind : {AverageKind::Sma, AverageKind::Ama, AverageKind::Wma, AverageKind::Tma,
                           AverageKind::Lma, AverageKind::Epma, AverageKind::Swma}) {
    for (int period : {2, 5, 26}) {
      for (const ChartWindow& w : {Window(0, 120), Window(3, 60), Window(200, 150)}) {
        const OverlayLine line = ComputeAverage(kind, s, w, period);
        ASSERT_TRUE(line.Drawn());
        for (int j = line.start - 1; j < w.visible; ++j)
          ASSERT_EQ(line.v[static_cast<size_t>(j)], direct(kind, w.first + j, period))
              << static_cast<int>(kind) << " period " << period << " first " << w.first << " j " << j;
      }
    }
  }
}

TEST(MovingAverageTest, AllButTheEmaGiveADateTheSameValueWhereverTheWindowStarts) {
  std::vector<int> closes;
  for (int i = 0; i < 60; ++i) closes.push_back(1000 + (i * 37) % 101);
  const PriceSeries s = SeriesOfCloses(closes);
  for (AverageKind k : {AverageKind::Sma, AverageKind::Ama, AverageKind::Wma, AverageKind::Tma,
                        AverageKind::Lma, AverageKind::Epma, AverageKind::Swma}) {
    const OverlayLine wide = ComputeAverage(k, s, Window(10, 50), 7);
    const OverlayLine scrolled = ComputeAverage(k, s, Window(30, 30), 7);
    ASSERT_EQ(scrolled.start, 1);
    for (size_t j = 0; j < scrolled.v.size(); ++j)
      EXPECT_EQ(scrolled.v[j], wide.v[j + 20]) << static_cast<int>(k) << " at " << j;
  }
}

TEST(MovingAverageTest, StartRuleAndBadPeriods) {
  std::vector<int> closes(100, 700);
  const PriceSeries s = SeriesOfCloses(closes);
  // Period below first: drawn across the whole window from position 1.
  EXPECT_EQ(ComputeAverage(AverageKind::Sma, s, Window(50, 40), 20).start, 1);
  // Period at least first and at least visible: not drawn at all.
  EXPECT_FALSE(ComputeAverage(AverageKind::Sma, s, Window(10, 40), 60).Drawn());
  for (AverageKind k : {AverageKind::Sma, AverageKind::Ama, AverageKind::Wma, AverageKind::Tma,
                        AverageKind::Ema, AverageKind::Lma, AverageKind::Epma, AverageKind::Swma}) {
    EXPECT_FALSE(ComputeAverage(k, s, Window(10, 40), 0).Drawn());
    EXPECT_FALSE(ComputeAverage(k, s, Window(10, 40), -5).Drawn());
    EXPECT_FALSE(ComputeAverage(k, s, Window(0, 0), 5).Drawn());
  }
  EXPECT_FALSE(ComputeBollinger(s, Window(10, 40), 0, false, {1, 2, 3})[3].Drawn());
  EXPECT_FALSE(ComputeEnvelope(s, Window(10, 40), -1, true, {1, 2, 3})[3].Drawn());
}

TEST(MovingAverageTest, HighPricedLongPeriodsDoNotWrap) {
  std::vector<int> closes(300, 2000000000);
  const PriceSeries s = SeriesOfCloses(closes);
  EXPECT_EQ(ComputeAverage(AverageKind::Sma, s, Window(250, 50), 200).v[10], 2000000000);
  EXPECT_EQ(ComputeAverage(AverageKind::Wma, s, Window(250, 50), 200).v[10], 2000000000);
  EXPECT_EQ(ComputeAverage(AverageKind::Ema, s, Window(250, 50), 200).v[10], 2000000000);
}

TEST(MovingAverageTest, EnvelopesAndBollingerBands) {
  // An envelope around a 50-yen average: unit 1 yen, e1 = 5 draws lines 5 yen above and below.
  const PriceSeries fifty = SeriesOfCloses(std::vector<int>(30, 50));
  const BandLines env = ComputeEnvelope(fifty, Window(20, 10), 5, false, {5, 10, 15});
  EXPECT_EQ(env[0].v[3], 65);
  EXPECT_EQ(env[2].v[3], 55);
  EXPECT_EQ(env[3].v[3], 50);
  EXPECT_EQ(env[4].v[3], 45);
  EXPECT_EQ(env[6].v[3], 35);
  // A 20-yen average has a unit of 0, replaced by 1.
  const BandLines small =
      ComputeEnvelope(SeriesOfCloses(std::vector<int>(30, 20)), Window(20, 10), 5, false, {5, 10, 15});
  EXPECT_EQ(small[0].v[3], 35);

  // Constant closes: all seven Bollinger lines coincide with the centre, also above 50000 yen where
  // the 32-bit squares would wrap.
  for (int price : {1000, 60000, 2000000}) {
    const PriceSeries flat = SeriesOfCloses(std::vector<int>(40, price));
    for (bool wma : {false, true}) {
      const BandLines b = ComputeBollinger(flat, Window(30, 10), 20, wma, {1, 2, 3});
      for (const OverlayLine& line : b) {
        ASSERT_TRUE(line.Drawn());
        EXPECT_EQ(line.v[5], price) << price << " " << wma;
      }
    }
  }
  // Closes 100 and 200 alternating over 2 bars: mean 150, sigma 50.
  const PriceSeries alt = SeriesOfCloses({100, 200, 100, 200, 100, 200});
  const BandLines b = ComputeBollinger(alt, Window(2, 4), 2, false, {1, 2, 3});
  EXPECT_EQ(b[3].v[1], 150);
  EXPECT_EQ(b[2].v[1], 200);
  EXPECT_EQ(b[0].v[1], 300);
  EXPECT_EQ(b[6].v[1], 0);
  // Around the WMA with period 1: weight sum 0, not drawn.
  EXPECT_FALSE(ComputeBollinger(alt, Window(2, 4), 1, true, {1, 2, 3})[3].Drawn());
}

}  // namespace
}  // namespace sorano
