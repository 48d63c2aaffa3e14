#pragma once
// The price-based oscillators of the technical pane, as pure functions over the bars of the visible
// window. Every function returns one value per window position i (0 <= i < visible), standing for
// series index k = first + i; a look-back always counts back from k.
//
// A position whose value cannot be had is kNoValue and is never drawn (the line breaks there):
//  - its look-back would need bars before series index 0 (nothing before index 0 is ever read);
//  - a period of 0 or below (or 1 where the formula divides by N - 1 terms);
//  - the formula would divide by zero (a flat range, no change at all, a zero average or close).
// Every conversion from a double to an integer truncates toward zero; a result beyond int32 saturates.
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "core/chart/price_series.h"

namespace sorano {

inline constexpr int32_t kNoValue = std::numeric_limits<int32_t>::min();

// Periods above this never have their look-back in a series (12000 bars at most) and are not drawn;
// below it, sums of a few periods stay far inside int.
inline constexpr int kMaxPeriod = 1 << 20;
// A period that gives a line: 1 ... kMaxPeriod.
constexpr bool UsablePeriod(int64_t n) {
  return n >= 1 && n <= kMaxPeriod;
}

using IndicatorValues = std::vector<int32_t>;

// The bars of the window: the whole series (index 0 oldest) and the window onto it.
struct BarWindow {
  std::span<const PriceBar> bars;
  int first = 0;
  int visible = 0;
};

// first and visible clamped into the series: 0 <= first <= size, 0 <= visible <= size - first.
BarWindow ClampedWindow(std::span<const PriceBar> bars, int first, int visible);

// Truncation toward zero into int32: NaN and infinities give kNoValue, finite values beyond int32
// saturate (never to kNoValue itself).
int32_t TruncToValue(double x);
int32_t SaturateToValue(int64_t x);

// Deviation rate from the n-bar SMA of closes (integer SMA, integer percent), plus 25: 25 is no
// deviation, the scale is 50. kNoValue when the SMA is 0.
IndicatorValues DeviationRate(const BarWindow& w, int n);

// DPO: d is trunc(close - the n-bar average that ends n / 2 + 1 bars back); v is d as a percentage
// of the largest |d| of the window, plus 100 (scale 200). When every d is 0 there is nothing to scale
// by and v is kNoValue throughout.
struct DpoValues {
  IndicatorValues d;
  IndicatorValues v;
};
DpoValues Dpo(const BarWindow& w, int n);

// Aroon over the n + 1 bars ending at k (of equal extremes the most recent wins): up and down on
// scale 100, oscillator = up - down + 100 on scale 200.
struct AroonValues {
  IndicatorValues up;
  IndicatorValues down;
  IndicatorValues oscillator;
};
AroonValues Aroon(const BarWindow& w, int n);

// RSI over n + 1 closing changes (not n), with the sums averaged over n. Scale 100. kNoValue when
// no close changed at all.
IndicatorValues Rsi(const BarWindow& w, int n);

// DMI over the n bars ending at k: +DI and -DI (scale 100, kNoValue when the true range sums to 0);
// ADX at window positions i >= n: the mean of |+DI - -DI| / (+DI + -DI) * 100 over positions
// i - n + 1 ... i (kNoValue when one of them has no DI or +DI + -DI = 0).
// A directional move counts only when it is the larger of the two and above zero.
struct DmiValues {
  IndicatorValues plus;
  IndicatorValues minus;
  IndicatorValues adx;
};
DmiValues Dmi(const BarWindow& w, int n);

// Williams %R over the n + 1 bars ending at k: where the close stands in the high-low range, in
// percent (scale 100, the top of the range at the top). kNoValue for a flat range.
IndicatorValues WilliamsR(const BarWindow& w, int n);

// Stochastic: line A over d-bar ranges summed over d bars, line B the k-bar raw value, line C the
// mean of sd ratios each summed over sd sd-bar ranges. Scale 100. kNoValue for a flat range sum.
struct StochasticValues {
  IndicatorValues a;
  IndicatorValues b;
  IndicatorValues c;
};
StochasticValues Stochastic(const BarWindow& w, int k, int d, int sd);

// Momentum and ROC (the same values): the change against close[k - lag] relative to the current
// close, in percent, plus 50 (scale 100). kNoValue for a close of 0.
IndicatorValues Momentum(const BarWindow& w, int lag);

// RCI over the n bars ending at k (price rank 1 = highest close, equal closes share the smallest rank
// of their group; date rank 1 = newest). Scale 200: 200 = +100 %, 0 = -100 %. Needs n >= 2.
IndicatorValues Rci(const BarWindow& w, int n);

// MACD with its averages seeded at the leftmost bar of the window: position 0 holds the s-bar and
// l-bar SMAs (over the bars that exist when the window starts within the period), every later
// position the integer recurrence EMA += (close - EMA) * 2 / (P + 1). signal from position g - 1,
// hist from position l. range is R of the MACD scale: twice the largest |value| of macd, signal and
// hist over positions l ... visible - 1, or 1 when that is 0.
struct MacdValues {
  IndicatorValues macd;
  IndicatorValues signal;
  IndicatorValues hist;
  int64_t range = 1;
};
MacdValues Macd(const BarWindow& w, int s, int l, int g);

}  // namespace sorano
