#include "core/technical/indicators.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "core/chart/look_back.h"

namespace sorano {

namespace {

constexpr int32_t kMaxValue = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinValue = std::numeric_limits<int32_t>::min() + 1;

IndicatorValues NoValues(const BarWindow& w) {
  return IndicatorValues(static_cast<size_t>(w.visible), kNoValue);
}

// The bars are read through these so that every index is checked once, here.
int64_t Close(const BarWindow& w, int m) {
  return w.bars[static_cast<size_t>(m)].close;
}
int64_t High(const BarWindow& w, int m) {
  return w.bars[static_cast<size_t>(m)].high;
}
int64_t Low(const BarWindow& w, int m) {
  return w.bars[static_cast<size_t>(m)].low;
}

// Highest high and lowest low of the len bars m - len + 1 ... m for every m = from ... to (only the
// bars from index 0 for an m whose look-back starts before it). Any price, however large, can be the
// extreme: the search only compares real bars.
class HighLows {
 public:
  HighLows(const BarWindow& w, int from, int to, int64_t len)
      : from_(from),
        highs_(SlidingExtremes(
            from, to, len, [&](int m) { return High(w, m); }, std::greater<int64_t>())),
        lows_(SlidingExtremes(
            from, to, len, [&](int m) { return Low(w, m); }, std::less<int64_t>())) {}
  const LookBackExtreme& Highest(int m) const { return highs_[static_cast<size_t>(m - from_)]; }
  const LookBackExtreme& Lowest(int m) const { return lows_[static_cast<size_t>(m - from_)]; }

 private:
  int from_;
  std::vector<LookBackExtreme> highs_, lows_;
};

constexpr int64_t kNoSum = std::numeric_limits<int64_t>::min();

// Sums of the n closes ending at k = first + i - shift for every window position i (kNoSum where that
// would need bars before index 0), with one running sum.
std::vector<int64_t> CloseSums(const BarWindow& w, int n, int shift = 0) {
  std::vector<int64_t> out(static_cast<size_t>(w.visible), kNoSum);
  int64_t sum = 0;
  bool have = false;
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i - shift;
    if (k - n + 1 < 0) continue;
    if (!have) {
      for (int j = 0; j < n; ++j) sum += Close(w, k - j);
      have = true;
    } else {
      sum += Close(w, k) - Close(w, k - n);
    }
    out[static_cast<size_t>(i)] = sum;
  }
  return out;
}

// Integer SMA of closes over the n bars ending at k, truncating.
int64_t CloseSma(const BarWindow& w, int k, int n) {
  int64_t sum = 0;
  for (int j = 0; j < n; ++j) sum += Close(w, k - j);
  return sum / n;
}

}  // namespace

BarWindow ClampedWindow(std::span<const PriceBar> bars, int first, int visible) {
  const int size = static_cast<int>(bars.size());
  BarWindow w;
  w.bars = bars;
  w.first = std::clamp(first, 0, size);
  w.visible = std::clamp(visible, 0, size - w.first);
  return w;
}

int32_t TruncToValue(double x) {
  if (!std::isfinite(x)) return kNoValue;
  if (x >= static_cast<double>(kMaxValue)) return kMaxValue;
  if (x <= static_cast<double>(kMinValue)) return kMinValue;
  return static_cast<int32_t>(x);
}

int32_t SaturateToValue(int64_t x) {
  return static_cast<int32_t>(std::clamp<int64_t>(x, kMinValue, kMaxValue));
}

IndicatorValues DeviationRate(const BarWindow& w, int n) {
  IndicatorValues v = NoValues(w);
  if (!UsablePeriod(n)) return v;
  const std::vector<int64_t> sums = CloseSums(w, n);
  for (int i = 0; i < w.visible; ++i) {
    if (sums[static_cast<size_t>(i)] == kNoSum) continue;
    const int64_t avg = sums[static_cast<size_t>(i)] / n;
    if (avg == 0) continue;
    v[i] = SaturateToValue((Close(w, w.first + i) - avg) * 100 / avg + 25);
  }
  return v;
}

DpoValues Dpo(const BarWindow& w, int n) {
  DpoValues out{NoValues(w), NoValues(w)};
  if (!UsablePeriod(n)) return out;
  const int shift = n / 2 + 1;
  bool any = false;
  int64_t hi = 0, lo = 0;
  const std::vector<int64_t> sums = CloseSums(w, n, shift);
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (sums[static_cast<size_t>(i)] == kNoSum) continue;
    const double avg = static_cast<double>(sums[static_cast<size_t>(i)]) / n;
    const int32_t d = TruncToValue(static_cast<double>(Close(w, k)) - avg);
    out.d[i] = d;
    hi = any ? std::max<int64_t>(hi, d) : d;
    lo = any ? std::min<int64_t>(lo, d) : d;
    any = true;
  }
  // The larger magnitude of the two extremes scales the window; a tie takes |lo|.
  const int64_t m = std::llabs(hi) > std::llabs(lo) ? std::llabs(hi) : std::llabs(lo);
  if (m == 0) return out;
  for (int i = 0; i < w.visible; ++i) {
    if (out.d[i] == kNoValue) continue;
    out.v[i] = TruncToValue(static_cast<double>(out.d[i]) / static_cast<double>(m) * 100 + 100);
  }
  return out;
}

AroonValues Aroon(const BarWindow& w, int n) {
  AroonValues out{NoValues(w), NoValues(w), NoValues(w)};
  if (!UsablePeriod(n) || w.visible == 0) return out;
  // Of equal extremes the most recent bar wins.
  const HighLows extremes(w, w.first, w.first + w.visible - 1, int64_t{n} + 1);
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n < 0) continue;
    const int jh = k - extremes.Highest(k).index, jl = k - extremes.Lowest(k).index;
    const int32_t up = TruncToValue(static_cast<double>(n - jh) / n * 100);
    const int32_t down = TruncToValue(static_cast<double>(n - jl) / n * 100);
    out.up[i] = up;
    out.down[i] = down;
    out.oscillator[i] = up - down + 100;
  }
  return out;
}

IndicatorValues Rsi(const BarWindow& w, int n) {
  IndicatorValues v = NoValues(w);
  if (!UsablePeriod(n) || w.visible == 0) return v;
  // Running sums of the rises and the falls over the n + 1 changes ending at each position.
  const int from = std::max(1, w.first - n), to = w.first + w.visible - 1;
  auto change = [&](int m) { return Close(w, m) - Close(w, m - 1); };
  const RunningSums ups(from, to, [&](int m) { return std::max<int64_t>(change(m), 0); });
  const RunningSums downs(from, to, [&](int m) { return std::min<int64_t>(change(m), 0); });
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n - 1 < 0) continue;
    const double u = static_cast<double>(ups.Sum(k, n + 1)) / n;
    const double d = std::fabs(static_cast<double>(downs.Sum(k, n + 1))) / n;
    if (u + d == 0) continue;
    v[i] = TruncToValue(u / (u + d) * 100);
  }
  return v;
}

DmiValues Dmi(const BarWindow& w, int n) {
  DmiValues out{NoValues(w), NoValues(w), NoValues(w)};
  if (!UsablePeriod(n) || w.visible == 0) return out;
  // Running sums over the n bars ending at each position (bar m needs its predecessor m - 1).
  const int from = std::max(1, w.first - n + 1), to = w.first + w.visible - 1;
  auto upMove = [&](int m) { return High(w, m) - High(w, m - 1); };
  auto downMove = [&](int m) { return Low(w, m - 1) - Low(w, m); };
  const RunningSums pdms(from, to,
                         [&](int m) { return upMove(m) > downMove(m) && upMove(m) > 0 ? upMove(m) : 0; });
  const RunningSums mdms(from, to,
                         [&](int m) { return downMove(m) > upMove(m) && downMove(m) > 0 ? downMove(m) : 0; });
  const RunningSums trs(from, to, [&](int m) {
    const int64_t prevClose = Close(w, m - 1);
    return std::max({High(w, m) - Low(w, m), High(w, m) - prevClose, prevClose - Low(w, m)});
  });
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n < 0) continue;  // bar k - n + 1 needs its predecessor
    const int64_t pdm = pdms.Sum(k, n), mdm = mdms.Sum(k, n), tr = trs.Sum(k, n);
    if (tr == 0) continue;
    out.plus[i] = TruncToValue(static_cast<double>(pdm) / static_cast<double>(tr) * 100);
    out.minus[i] = TruncToValue(static_cast<double>(mdm) / static_cast<double>(tr) * 100);
  }
  for (int i = n; i < w.visible; ++i) {
    double sum = 0;
    bool ok = true;
    for (int j = 0; j < n && ok; ++j) {
      const int32_t p = out.plus[i - j], m = out.minus[i - j];
      if (p == kNoValue || m == kNoValue || static_cast<int64_t>(p) + m == 0) {
        ok = false;
      } else {
        sum += std::fabs(static_cast<double>(p) - m) / (static_cast<double>(p) + m) * 100;
      }
    }
    if (ok) out.adx[i] = TruncToValue(sum / n);
  }
  return out;
}

IndicatorValues WilliamsR(const BarWindow& w, int n) {
  IndicatorValues v = NoValues(w);
  if (!UsablePeriod(n) || w.visible == 0) return v;
  const HighLows r(w, w.first, w.first + w.visible - 1, int64_t{n} + 1);
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n < 0) continue;
    const int64_t hh = r.Highest(k).value, ll = r.Lowest(k).value;
    if (hh == ll) continue;
    v[i] = TruncToValue(static_cast<double>(Close(w, k) - ll) / static_cast<double>(hh - ll) * 100);
  }
  return v;
}

namespace {

// Running sums over series indices of (close - LL_len) and (HH_len - LL_len), the two terms every
// stochastic line adds up, so that each sum over consecutive bars costs two subtractions.
// Index m of the sums covers bars from..m-1; bars before from + len - 1 have no len-bar range.
class RangeSums {
 public:
  RangeSums(const BarWindow& w, int len, int from, int to)
      : ranges_(w, from, to, len),
        num_(from, to, [&](int m) { return m - len + 1 >= 0 ? Close(w, m) - ranges_.Lowest(m).value : 0; }),
        den_(from, to, [&](int m) {
          return m - len + 1 >= 0 ? ranges_.Highest(m).value - ranges_.Lowest(m).value : 0;
        }) {}
  // Sums over the cnt bars ending at m (from <= m - cnt + 1, m <= to).
  int64_t Num(int m, int cnt) const { return num_.Sum(m, cnt); }
  int64_t Den(int m, int cnt) const { return den_.Sum(m, cnt); }

 private:
  HighLows ranges_;
  RunningSums num_;
  RunningSums den_;
};

}  // namespace

StochasticValues Stochastic(const BarWindow& w, int kLen, int dLen, int sdLen) {
  StochasticValues out{NoValues(w), NoValues(w), NoValues(w)};
  if (w.visible == 0) return out;
  const int last = w.first + w.visible - 1;
  if (UsablePeriod(dLen)) {
    // Line A: D bars of D-bar ranges, reaching 2D - 2 bars back.
    const int reach = 2 * (dLen - 1);
    const RangeSums sums(w, dLen, std::max(0, w.first - (dLen - 1)), last);
    for (int i = 0; i < w.visible; ++i) {
      const int k = w.first + i;
      if (k - reach < 0) continue;
      const int64_t den = sums.Den(k, dLen);
      if (den == 0) continue;
      out.a[i] = TruncToValue(static_cast<double>(sums.Num(k, dLen)) / static_cast<double>(den) * 100);
    }
  }
  if (UsablePeriod(kLen)) {
    const HighLows r(w, w.first, last, kLen);
    for (int i = 0; i < w.visible; ++i) {
      const int k = w.first + i;
      if (k - kLen + 1 < 0) continue;
      const int64_t hh = r.Highest(k).value, ll = r.Lowest(k).value;
      if (hh == ll) continue;
      out.b[i] = TruncToValue(static_cast<double>(Close(w, k) - ll) / static_cast<double>(hh - ll) * 100);
    }
  }
  if (UsablePeriod(sdLen)) {
    // Line C: SD ratios, each over SD bars of SD-bar ranges, reaching 3SD - 3 bars back.
    const int reach = 3 * (sdLen - 1);
    const RangeSums sums(w, sdLen, std::max(0, w.first - 2 * (sdLen - 1)), last);
    for (int i = 0; i < w.visible; ++i) {
      const int k = w.first + i;
      if (k - reach < 0) continue;
      double q = 0;
      bool ok = true;
      for (int b = 0; b < sdLen && ok; ++b) {
        const int64_t den = sums.Den(k - b, sdLen);
        if (den == 0) {
          ok = false;
        } else {
          q += static_cast<double>(sums.Num(k - b, sdLen)) / static_cast<double>(den);
        }
      }
      if (ok) out.c[i] = TruncToValue(q / sdLen * 100);
    }
  }
  return out;
}

IndicatorValues Momentum(const BarWindow& w, int lag) {
  IndicatorValues v = NoValues(w);
  if (!UsablePeriod(lag)) return v;
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - lag < 0 || Close(w, k) == 0) continue;
    v[i] = TruncToValue(
        static_cast<double>(Close(w, k) - Close(w, k - lag)) / static_cast<double>(Close(w, k)) * 100 + 50);
  }
  return v;
}

IndicatorValues Rci(const BarWindow& w, int n) {
  IndicatorValues v = NoValues(w);
  if (n == 1 || !UsablePeriod(n) || w.visible == 0) return v;
  const double denom = static_cast<double>(n) * (static_cast<double>(n) * n - 1);
  // The look-back's bars by close, kept in order as the window slides: one bar leaves and one enters
  // per position, each in O(n), and the ranks come from one walk over the order.
  struct Entry {
    int64_t close;
    int index;
    bool operator<(const Entry& e) const { return close < e.close; }
  };
  std::vector<Entry> sorted;
  sorted.reserve(static_cast<size_t>(std::min(n, w.first + w.visible)) + 1);
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n + 1 < 0) continue;
    if (sorted.empty()) {
      for (int j = 0; j < n; ++j) sorted.push_back({Close(w, k - j), k - j});
      std::sort(sorted.begin(), sorted.end());
    } else {
      sorted.erase(
          std::find_if(sorted.begin(), sorted.end(), [&](const Entry& e) { return e.index == k - n; }));
      const Entry in{Close(w, k), k};
      sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), in), in);
    }
    // rank = n + 1 - (number of closes <= this one): 1 for the highest, ties share the smallest; the
    // date rank of bar k - m is m + 1. Every term is an integer, so the order of the sum is free.
    double sumD2 = 0;
    for (size_t g = 0; g < sorted.size();) {
      size_t end = g + 1;
      while (end < sorted.size() && sorted[end].close == sorted[g].close) ++end;
      const double rank = static_cast<double>(n + 1) - static_cast<double>(end);
      for (; g < end; ++g) {
        const double diff = static_cast<double>(k - sorted[g].index + 1) - rank;
        sumD2 += diff * diff;
      }
    }
    v[i] = TruncToValue((1 - 6 * sumD2 / denom) * 100 + 100);
  }
  return v;
}

MacdValues Macd(const BarWindow& w, int s, int l, int g) {
  MacdValues out{NoValues(w), NoValues(w), NoValues(w), 1};
  if (!UsablePeriod(s) || !UsablePeriod(l) || !UsablePeriod(g) || w.visible == 0) return out;
  // The seed is the SMA of the bars that exist: the full period when the window starts late enough.
  auto seed = [&](int p) { return CloseSma(w, w.first, std::min(p, w.first + 1)); };
  int64_t emaS = seed(s), emaL = seed(l);
  std::vector<int64_t> macd(static_cast<size_t>(w.visible));
  for (int i = 0; i < w.visible; ++i) {
    if (i > 0) {
      const int64_t c = Close(w, w.first + i);
      emaS += (c - emaS) * 2 / (s + 1);
      emaL += (c - emaL) * 2 / (l + 1);
    }
    macd[static_cast<size_t>(i)] = emaS - emaL;
    out.macd[i] = SaturateToValue(emaS - emaL);
  }
  int64_t sum = 0;
  for (int i = 0; i < w.visible; ++i) {
    sum += macd[static_cast<size_t>(i)];
    if (i >= g) sum -= macd[static_cast<size_t>(i - g)];
    if (i < g - 1) continue;
    const int64_t signal = sum / g;
    out.signal[i] = SaturateToValue(signal);
    if (i >= l) out.hist[i] = SaturateToValue(macd[static_cast<size_t>(i)] - signal);
  }
  int64_t m = 0;
  for (int i = l; i < w.visible; ++i) {
    for (const IndicatorValues* line : {&out.macd, &out.signal, &out.hist}) {
      const int32_t x = (*line)[static_cast<size_t>(i)];
      if (x != kNoValue) m = std::max<int64_t>(m, std::llabs(x));
    }
  }
  out.range = m == 0 ? 1 : 2 * m;
  return out;
}

}  // namespace sorano
