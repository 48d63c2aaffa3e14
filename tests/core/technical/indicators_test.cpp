#include "core/technical/indicators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "core/technical/bars.h"

namespace sorano {
namespace {

using test::FromCloses;
using test::Newest;
using test::Ramp;
using test::Repeat;

std::vector<PriceBar> Append(std::vector<int32_t> closes, std::initializer_list<int32_t> more) {
  closes.insert(closes.end(), more);
  return FromCloses(closes);
}

// Random bars: lows from 900 on within lowSpread, ranges below rangeSpread, closes inside the range.
std::vector<PriceBar> RandomBars(uint32_t seed, int count, uint32_t lowSpread, uint32_t rangeSpread) {
  std::mt19937 rng(seed);
  std::vector<PriceBar> bars;
  for (int i = 0; i < count; ++i) {
    PriceBar b;
    b.low = 900 + static_cast<int32_t>(rng() % lowSpread);
    b.high = b.low + static_cast<int32_t>(rng() % rangeSpread);
    b.close = b.low + static_cast<int32_t>(rng() % static_cast<uint32_t>(b.high - b.low + 1));
    bars.push_back(b);
  }
  return bars;
}

TEST(DeviationRate, ConstantClosesSitAtTwentyFiveAndExcessRaisesIt) {
  const auto flat = FromCloses(Repeat(1234, 200));
  for (int n : {6, 26, 51}) {
    for (int32_t v : DeviationRate(Newest(flat, 100), n)) EXPECT_EQ(v, 25) << n;
  }
  // 6-bar SMA 100: a close of 110 is +10 %, 130 is +30 % (above the scale's top of 50).
  EXPECT_EQ(DeviationRate(Newest(Append(Repeat(98, 5), {110}), 1), 6)[0], 35);
  EXPECT_EQ(DeviationRate(Newest(Append(Repeat(94, 5), {130}), 1), 6)[0], 55);
  // -10 %: (90 - 100) * 100 / 100 + 25.
  EXPECT_EQ(DeviationRate(Newest(Append(Repeat(102, 5), {90}), 1), 6)[0], 15);
}

TEST(DeviationRate, NothingBeforeTheFirstBarNoPeriodAndNoZeroAverage) {
  const auto bars = FromCloses(Repeat(500, 10));
  const IndicatorValues v = DeviationRate(ClampedWindow(bars, 0, 10), 4);
  EXPECT_EQ(v[2], kNoValue);  // would need bar -1
  EXPECT_EQ(v[3], 25);
  for (int n : {0, -3}) {
    for (int32_t x : DeviationRate(ClampedWindow(bars, 0, 10), n)) EXPECT_EQ(x, kNoValue);
  }
  const auto zeros = FromCloses(Repeat(0, 10));
  EXPECT_EQ(DeviationRate(Newest(zeros, 1), 3)[0], kNoValue);
  // A close far beyond int32 percent arithmetic saturates instead of wrapping.
  const auto huge = Append(Repeat(1, 5), {2000000000});
  EXPECT_GT(DeviationRate(Newest(huge, 1), 6)[0], 25);
}

TEST(Dpo, DeviationFromTheShiftedAverageScaledByTheLargest) {
  // N = 2: shift 2, the average of close[k - 2] and close[k - 3].
  const auto bars = FromCloses({10, 20, 30, 10, 50, 60});
  const DpoValues dpo = Dpo(Newest(bars, 3), 2);
  EXPECT_EQ(dpo.d, (IndicatorValues{-5, 25, 40}));
  EXPECT_EQ(dpo.v, (IndicatorValues{87, 162, 200}));

  // Odd period: shift 3 / 2 + 1 = 2, average of close[k - 2 .. k - 4] in floating point.
  const DpoValues odd = Dpo(Newest(FromCloses({10, 20, 31, 1, 0, 100}), 1), 3);
  EXPECT_EQ(odd.d[0], 82);  // 100 - 52 / 3 = 82.67

  // Constant closes: d = 0 everywhere, and with nothing to scale by no value is drawn.
  const DpoValues flat = Dpo(Newest(FromCloses(Repeat(700, 100)), 40), 26);
  for (size_t i = 0; i < flat.d.size(); ++i) {
    EXPECT_EQ(flat.d[i], 0);
    EXPECT_EQ(flat.v[i], kNoValue);
  }
}

TEST(Aroon, MostRecentExtremeWins) {
  auto bars = FromCloses(Repeat(100, 10));
  const int n = 4;
  bars[9].high = 120;  // highest on the current bar
  bars[5].low = 80;    // lowest N bars back
  AroonValues a = Aroon(Newest(bars, 1), n);
  EXPECT_EQ(a.up[0], 100);
  EXPECT_EQ(a.down[0], 0);
  EXPECT_EQ(a.oscillator[0], 200);

  bars[9].high = 100;
  bars[5].high = 120;  // highest N bars back
  bars[5].low = 100;
  bars[8].low = 90;  // equal lows at j = 1 and j = 3: the recent one counts
  bars[6].low = 90;
  a = Aroon(Newest(bars, 1), n);
  EXPECT_EQ(a.up[0], 0);
  EXPECT_EQ(a.down[0], 75);
  EXPECT_EQ(a.oscillator[0], 25);

  // Of a flat window every bar is equally high: the current one wins.
  a = Aroon(Newest(FromCloses(Repeat(100, 10)), 1), n);
  EXPECT_EQ(a.up[0], 100);
  EXPECT_EQ(a.down[0], 100);
  EXPECT_EQ(Aroon(ClampedWindow(bars, 0, 10), n).up[3], kNoValue);
}

TEST(Rsi, CountsNPlusOneChanges) {
  // N = 6: seven rises give 100.
  EXPECT_EQ(Rsi(Newest(FromCloses(Ramp(100, 1, 8)), 1), 6)[0], 100);
  // The seventh change (the oldest) counts: a fall of 7 there and six rises of 1 give
  // U = 6 / 6, D = 7 / 6: 46.
  EXPECT_EQ(Rsi(Newest(FromCloses({107, 100, 101, 102, 103, 104, 105, 106}), 1), 6)[0], 46);
  // Only falls: 0; no change: nothing to draw; too short: nothing.
  EXPECT_EQ(Rsi(Newest(FromCloses(Ramp(100, -1, 8)), 1), 6)[0], 0);
  EXPECT_EQ(Rsi(Newest(FromCloses(Repeat(100, 8)), 1), 6)[0], kNoValue);
  EXPECT_EQ(Rsi(Newest(FromCloses(Ramp(100, 1, 7)), 1), 6)[0], kNoValue);
}

std::vector<PriceBar> Hlc(std::initializer_list<std::array<int32_t, 3>> rows) {
  std::vector<PriceBar> bars;
  for (const auto& r : rows) {
    PriceBar b;
    b.high = r[0], b.low = r[1], b.close = r[2], b.open = r[2];
    b.volume = 1000;
    bars.push_back(b);
  }
  return bars;
}

TEST(Dmi, DirectionalIndicesAndAdx) {
  // N = 2 at bar 2: +DM 1 + 2, -DM 0, TR 3 + 3.
  const auto bars = Hlc({{10, 8, 9}, {12, 9, 11}, {13, 10, 12}});
  DmiValues d = Dmi(Newest(bars, 1), 2);
  EXPECT_EQ(d.plus[0], 50);
  EXPECT_EQ(d.minus[0], 0);

  // An inside bar moves both ways negative (high -1, low +3): neither move counts, so no DI goes
  // below zero.
  const auto inside = Hlc({{12, 8, 10}, {11, 11, 11}});
  d = Dmi(Newest(inside, 1), 1);
  EXPECT_EQ(d.plus[0], 0);
  EXPECT_EQ(d.minus[0], 0);

  // No range at all: no DI.
  d = Dmi(Newest(FromCloses(Repeat(100, 5)), 1), 2);
  EXPECT_EQ(d.plus[0], kNoValue);

  // A steady climb: +DI 100 / (2 + 0)... every DX is 100, so ADX is 100 from position N on.
  std::vector<PriceBar> climb;
  for (int i = 0; i < 12; ++i) climb.push_back(Hlc({{102 + 2 * i, 100 + 2 * i, 101 + 2 * i}})[0]);
  d = Dmi(ClampedWindow(climb, 4, 8), 3);
  EXPECT_EQ(d.adx[2], kNoValue);  // positions below N have no ADX
  EXPECT_EQ(d.adx[3], 100);
  EXPECT_EQ(d.adx[7], 100);
  EXPECT_GT(d.plus[3], 0);
  EXPECT_EQ(d.minus[3], 0);
}

TEST(WilliamsR, RangePositionAndLowsOfAMillionYenOrMore) {
  const auto bars =
      Hlc({{1600000, 1500000, 1550000}, {1620000, 1510000, 1560000}, {1610000, 1520000, 1598000}});
  // HH 1,620,000, LL 1,500,000: (1,598,000 - 1,500,000) / 120,000 = 81.67 %.
  EXPECT_EQ(WilliamsR(Newest(bars, 1), 2)[0], 81);
  EXPECT_EQ(WilliamsR(Newest(FromCloses(Repeat(100, 5)), 1), 2)[0], kNoValue);
  EXPECT_EQ(WilliamsR(Newest(FromCloses(Ramp(10, 1, 5)), 1), 2)[0], 100);
}

// The stochastic written as the plain triple loop, as an oracle for the running sums.
struct Naive {
  const std::vector<PriceBar>& b;
  double Hh(int m, int w) const {
    double h = b[m].high;
    for (int j = 1; j < w; ++j) h = std::max<double>(h, b[m - j].high);
    return h;
  }
  double Ll(int m, int w) const {
    double l = b[m].low;
    for (int j = 1; j < w; ++j) l = std::min<double>(l, b[m - j].low);
    return l;
  }
  int32_t A(int k, int d) const {
    double num = 0, den = 0;
    for (int i = 0; i < d; ++i) num += b[k - i].close - Ll(k - i, d), den += Hh(k - i, d) - Ll(k - i, d);
    return static_cast<int32_t>(num / den * 100);
  }
  int32_t C(int k, int sd) const {
    double q = 0;
    for (int i = 0; i < sd; ++i) {
      double num = 0, den = 0;
      for (int c = 0; c < sd; ++c) {
        const int m = k - i - c;
        num += b[m].close - Ll(m, sd), den += Hh(m, sd) - Ll(m, sd);
      }
      q += num / den;
    }
    return static_cast<int32_t>(q / sd * 100);
  }
};

TEST(Stochastic, LinesMatchThePlainSumsAndStopAtTheFirstBar) {
  // Ranges of at least one yen: no flat bar.
  std::vector<PriceBar> bars = RandomBars(7, 120, 100, 50);
  for (PriceBar& b : bars) b.high += 1;
  const Naive naive{bars};
  for (auto [k, d, sd] : {std::array{14, 3, 3}, std::array{5, 4, 6}, std::array{1, 1, 1}}) {
    const StochasticValues s = Stochastic(ClampedWindow(bars, 20, 100), k, d, sd);
    for (int i = 0; i < 100; ++i) {
      const int m = 20 + i;
      ASSERT_EQ(s.a[i], naive.A(m, d)) << i;
      ASSERT_EQ(s.c[i], naive.C(m, sd)) << i;
      const double hh = naive.Hh(m, k), ll = naive.Ll(m, k);
      ASSERT_EQ(s.b[i], static_cast<int32_t>((bars[m].close - ll) / (hh - ll) * 100)) << i;
    }
  }
  // From the first bar: line C (SD = 3) needs 3 * 2 bars before it, line A (D = 3) 2 * 2.
  const StochasticValues s = Stochastic(ClampedWindow(bars, 0, 10), 14, 3, 3);
  EXPECT_EQ(s.c[5], kNoValue);
  EXPECT_NE(s.c[6], kNoValue);
  EXPECT_EQ(s.a[3], kNoValue);
  EXPECT_NE(s.a[4], kNoValue);
  EXPECT_EQ(s.b[9], kNoValue);

  // Lows of a million yen or more are found; a flat market has no line.
  const auto rich = Hlc({{1200000, 1100000, 1150000}, {1200000, 1100000, 1150000}});
  EXPECT_EQ(Stochastic(Newest(rich, 1), 2, 1, 1).b[0], 50);
  const StochasticValues flat = Stochastic(Newest(FromCloses(Repeat(10, 20)), 1), 3, 3, 3);
  EXPECT_EQ(flat.a[0], kNoValue);
  EXPECT_EQ(flat.b[0], kNoValue);
  EXPECT_EQ(flat.c[0], kNoValue);
}

// The running look-backs (extremes, sums, the sorted RCI window) against each definition added up
// afresh at every position, on bars with many ties.
TEST(LookBacks, MatchTheirDefinitionAtEveryPosition) {
  const std::vector<PriceBar> bars = RandomBars(14, 200, 8, 4);
  auto pct = [](double x) { return static_cast<int32_t>(x * 100); };
  for (int n : {2, 9, 26}) {
    const BarWindow w = ClampedWindow(bars, 30, 150);
    const IndicatorValues wr = WilliamsR(w, n), rsi = Rsi(w, n), rci = Rci(w, n);
    const AroonValues aroon = Aroon(w, n);
    const DmiValues dmi = Dmi(w, n);
    for (int i = 0; i < 150; ++i) {
      const int k = 30 + i;
      double hh = bars[k].high, ll = bars[k].low, up = 0, down = 0, pdm = 0, mdm = 0, tr = 0, d2 = 0;
      int jh = 0, jl = 0;
      for (int j = 1; j <= n; ++j) {
        if (bars[k - j].high > hh) hh = bars[k - j].high, jh = j;
        if (bars[k - j].low < ll) ll = bars[k - j].low, jl = j;
      }
      for (int j = 0; j <= n; ++j) {
        const int c = bars[k - j].close - bars[k - j - 1].close;
        (c > 0 ? up : down) += std::abs(c);
      }
      for (int m = k - n + 1; m <= k; ++m) {
        const int upMove = bars[m].high - bars[m - 1].high, downMove = bars[m - 1].low - bars[m].low;
        pdm += upMove > downMove && upMove > 0 ? upMove : 0;
        mdm += downMove > upMove && downMove > 0 ? downMove : 0;
        const int pc = bars[m - 1].close;
        tr += std::max({bars[m].high - bars[m].low, bars[m].high - pc, pc - bars[m].low});
        int notAbove = 0;
        for (int x = k - n + 1; x <= k; ++x) notAbove += bars[x].close <= bars[m].close;
        d2 += std::pow((k - m + 1) - (n + 1 - notAbove), 2);
      }
      EXPECT_EQ(wr[i], hh == ll ? kNoValue : pct((bars[k].close - ll) / (hh - ll))) << n << " " << i;
      EXPECT_EQ(aroon.up[i], pct(static_cast<double>(n - jh) / n)) << n << " " << i;
      EXPECT_EQ(aroon.down[i], pct(static_cast<double>(n - jl) / n)) << n << " " << i;
      EXPECT_EQ(rsi[i], up + down == 0 ? kNoValue : pct(up / n / (up / n + down / n))) << n << " " << i;
      EXPECT_EQ(dmi.plus[i], tr == 0 ? kNoValue : pct(pdm / tr)) << n << " " << i;
      EXPECT_EQ(dmi.minus[i], tr == 0 ? kNoValue : pct(mdm / tr)) << n << " " << i;
      EXPECT_EQ(rci[i], static_cast<int32_t>((1 - 6 * d2 / (n * (n * n - 1.0))) * 100 + 100))
          << n << " " << i;
    }
  }
}

TEST(Momentum, ChangeRelativeToTheCurrentClose) {
  // (110 - 100) / 110 * 100 + 50 = 59.09; (90 - 100) / 90 * 100 + 50 = 38.9.
  EXPECT_EQ(Momentum(Newest(FromCloses({100, 110}), 1), 1)[0], 59);
  EXPECT_EQ(Momentum(Newest(FromCloses({100, 0, 90}), 1), 2)[0], 38);
  EXPECT_EQ(Momentum(Newest(FromCloses({100, 0}), 1), 1)[0], kNoValue);
  EXPECT_EQ(Momentum(Newest(FromCloses({100, 110}), 1), 2)[0], kNoValue);
  EXPECT_EQ(Momentum(Newest(FromCloses({100, 110}), 1), 0)[0], kNoValue);
  // A collapse to 1 yen: far below the scale, saturated rather than undefined.
  EXPECT_LT(Momentum(Newest(FromCloses({2000000000, 1}), 1), 1)[0], -1000000);
}

TEST(Rci, RisingFallingAndTies) {
  EXPECT_EQ(Rci(Newest(FromCloses(Ramp(100, 5, 30)), 1), 26)[0], 200);
  EXPECT_EQ(Rci(Newest(FromCloses(Ramp(500, -5, 30)), 1), 26)[0], 0);
  // Oldest to newest 10, 20, 20, 30: ranks 1, 2, 2, 4 against dates 1, 2, 3, 4: sumD2 = 1,
  // RCI = (1 - 6 / 60) * 100 + 100.
  EXPECT_EQ(Rci(Newest(FromCloses({10, 20, 20, 30}), 1), 4)[0], 190);
  // All equal: every rank 1, sumD2 = 0 + 1 + 4 + 9 = 14: (1 - 84 / 60) * 100 + 100 = 60.
  EXPECT_EQ(Rci(Newest(FromCloses(Repeat(7, 4)), 1), 4)[0], 60);
  EXPECT_EQ(Rci(Newest(FromCloses(Repeat(7, 4)), 1), 1)[0], kNoValue);
  EXPECT_EQ(Rci(Newest(FromCloses(Repeat(7, 4)), 1), 5)[0], kNoValue);
}

TEST(Macd, SeededAtTheLeftmostBarWithTruncatingRecurrence) {
  // S = 2, L = 3, G = 2 over closes 10 20 30 60 40 70 from first = 2.
  const auto bars = FromCloses({10, 20, 30, 60, 40, 70});
  const MacdValues m = Macd(ClampedWindow(bars, 2, 4), 2, 3, 2);
  // EMA_S 25, 48, 43 (-16 / 3 truncates to -5), 61; EMA_L 20, 40, 40, 55.
  EXPECT_EQ(m.macd, (IndicatorValues{5, 8, 3, 6}));
  EXPECT_EQ(m.signal, (IndicatorValues{kNoValue, 6, 5, 4}));
  EXPECT_EQ(m.hist, (IndicatorValues{kNoValue, kNoValue, kNoValue, 2}));
  EXPECT_EQ(m.range, 12);  // largest |value| at positions >= L is macd 6

  // Scrolling by one bar reseeds the averages: the same bar gets another value.
  std::vector<int32_t> closes;
  for (int i = 0; i < 200; ++i) closes.push_back(1000 + (i * 37) % 101);
  const auto series = FromCloses(closes);
  const MacdValues a = Macd(ClampedWindow(series, 100, 80), 5, 20, 9);
  const MacdValues b = Macd(ClampedWindow(series, 101, 80), 5, 20, 9);
  EXPECT_NE(a.macd[1], b.macd[0]);  // series index 101 in both
  EXPECT_NE(IndicatorValues(a.macd.begin() + 1, a.macd.end()),
            IndicatorValues(b.macd.begin(), b.macd.end() - 1));

  // A window starting at the first bar seeds with the bars there are; nothing shown has no scale.
  const MacdValues early = Macd(ClampedWindow(series, 0, 30), 5, 20, 9);
  EXPECT_EQ(early.macd[0], 0);
  EXPECT_EQ(Macd(ClampedWindow(series, 100, 10), 5, 20, 9).range, 1);
  for (int32_t v : Macd(ClampedWindow(series, 100, 10), 5, 0, 9).macd) EXPECT_EQ(v, kNoValue);
}

TEST(Periods, LargestPeriodsDrawNothingAndNeverOverflow) {
  const auto bars = FromCloses(Ramp(100, 1, 50));
  const BarWindow w = Newest(bars, 20);
  for (int n : {kMaxPeriod, kMaxPeriod + 1, INT32_MAX, INT32_MIN}) {
    for (const IndicatorValues& v :
         {DeviationRate(w, n), Dpo(w, n).v, Aroon(w, n).up, Rsi(w, n), Dmi(w, n).adx, WilliamsR(w, n),
          Stochastic(w, n, n, n).a, Stochastic(w, n, n, n).c, Momentum(w, n), Rci(w, n)}) {
      for (int32_t x : v) EXPECT_EQ(x, kNoValue) << n;
    }
  }
  // MACD seeds with the bars there are, so only unusable periods leave it out.
  for (int n : {kMaxPeriod + 1, INT32_MAX, INT32_MIN}) {
    for (const IndicatorValues& v :
         {Macd(w, 5, n, 9).macd, Macd(w, n, 20, 9).signal, Macd(w, 5, 20, n).hist}) {
      for (int32_t x : v) EXPECT_EQ(x, kNoValue) << n;
    }
  }
  EXPECT_NE(Macd(w, 5, kMaxPeriod, 9).macd[19], kNoValue);
}

TEST(ClampedWindow, KeepsTheWindowInsideTheSeries) {
  const auto bars = FromCloses(Repeat(1, 10));
  const BarWindow w = ClampedWindow(bars, 8, 5);
  EXPECT_EQ(w.first, 8);
  EXPECT_EQ(w.visible, 2);
  EXPECT_EQ(ClampedWindow(bars, -3, 4).first, 0);
  EXPECT_EQ(ClampedWindow(bars, 20, 4).visible, 0);
  EXPECT_EQ(ClampedWindow({}, 0, 4).visible, 0);
}

}  // namespace
}  // namespace sorano
