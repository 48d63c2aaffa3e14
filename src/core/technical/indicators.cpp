#include "core/technical/indicators.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

// Highest high and lowest low of the len bars m, m - 1, ..., m - len + 1 (m - len + 1 >= 0). The
// search starts from bar m itself, so any price, however large, can be the extreme.
struct Range {
  int64_t hh;
  int64_t ll;
};
Range HighLow(const BarWindow& w, int m, int len) {
  Range r{High(w, m), Low(w, m)};
  for (int j = 1; j < len; ++j) {
    r.hh = std::max(r.hh, High(w, m - j));
    r.ll = std::min(r.ll, Low(w, m - j));
  }
  return r;
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
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n + 1 < 0) continue;
    const int64_t avg = CloseSma(w, k, n);
    if (avg == 0) continue;
    v[i] = SaturateToValue((Close(w, k) - avg) * 100 / avg + 25);
  }
  return v;
}

DpoValues Dpo(const BarWindow& w, int n) {
  DpoValues out{NoValues(w), NoValues(w)};
  if (!UsablePeriod(n)) return out;
  const int shift = n / 2 + 1;
  bool any = false;
  int64_t hi = 0, lo = 0;
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - shift - n + 1 < 0) continue;
    int64_t sum = 0;
    for (int j = 0; j < n; ++j) sum += Close(w, k - shift - j);
    const double avg = static_cast<double>(sum) / n;
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
  if (!UsablePeriod(n)) return out;
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n < 0) continue;
    // Strict comparisons keep the first j found: of equal extremes the most recent bar wins.
    int jh = 0, jl = 0;
    int64_t hh = High(w, k), ll = Low(w, k);
    for (int j = 1; j <= n; ++j) {
      if (High(w, k - j) > hh) hh = High(w, k - j), jh = j;
      if (Low(w, k - j) < ll) ll = Low(w, k - j), jl = j;
    }
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
  if (!UsablePeriod(n)) return v;
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n - 1 < 0) continue;
    double up = 0, down = 0;
    for (int j = 0; j <= n; ++j) {  // n + 1 changes
      const int64_t c = Close(w, k - j) - Close(w, k - j - 1);
      if (c > 0) up += static_cast<double>(c);
      if (c < 0) down += static_cast<double>(c);
    }
    const double u = up / n;
    const double d = std::fabs(std::trunc(down)) / n;
    if (u + d == 0) continue;
    v[i] = TruncToValue(u / (u + d) * 100);
  }
  return v;
}

DmiValues Dmi(const BarWindow& w, int n) {
  DmiValues out{NoValues(w), NoValues(w), NoValues(w)};
  if (!UsablePeriod(n)) return out;
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n < 0) continue;  // bar k - n + 1 needs its predecessor
    int64_t pdm = 0, mdm = 0, tr = 0;
    for (int j = 0; j < n; ++j) {
      const int m = k - j;
      const int64_t upMove = High(w, m) - High(w, m - 1);
      const int64_t downMove = Low(w, m - 1) - Low(w, m);
      if (upMove > downMove && upMove > 0) {
        pdm += upMove;
      } else if (downMove > upMove && downMove > 0) {
        mdm += downMove;
      }
      const int64_t prevClose = Close(w, m - 1);
      tr += std::max({High(w, m) - Low(w, m), High(w, m) - prevClose, prevClose - Low(w, m)});
    }
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
  if (!UsablePeriod(n)) return v;
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n < 0) continue;
    const Range r = HighLow(w, k, n + 1);
    if (r.hh == r.ll) continue;
    v[i] = TruncToValue(static_cast<double>(Close(w, k) - r.ll) / static_cast<double>(r.hh - r.ll) * 100);
  }
  return v;
}

namespace {

// Running sums over series indices of (close - LL_len) and (HH_len - LL_len), the two terms every
// stochastic line adds up, so that each sum over consecutive bars costs two subtractions.
// Index m of the sums covers bars from..m-1; bars before from + len - 1 have no len-bar range.
class RangeSums {
 public:
  RangeSums(const BarWindow& w, int len, int from, int to) : from_(from) {
    num_.assign(static_cast<size_t>(std::max(0, to - from + 1)) + 1, 0);
    den_.assign(num_.size(), 0);
    for (int m = from; m <= to; ++m) {
      const size_t at = static_cast<size_t>(m - from);
      int64_t num = 0, den = 0;
      if (m - len + 1 >= 0) {
        const Range r = HighLow(w, m, len);
        num = Close(w, m) - r.ll;
        den = r.hh - r.ll;
      }
      num_[at + 1] = num_[at] + num;
      den_[at + 1] = den_[at] + den;
    }
  }
  // Sums over the cnt bars ending at m (from <= m - cnt + 1, m <= to).
  int64_t Num(int m, int cnt) const { return num_[Idx(m) + 1] - num_[Idx(m) + 1 - cnt]; }
  int64_t Den(int m, int cnt) const { return den_[Idx(m) + 1] - den_[Idx(m) + 1 - cnt]; }

 private:
  size_t Idx(int m) const { return static_cast<size_t>(m - from_); }
  int from_;
  std::vector<int64_t> num_;
  std::vector<int64_t> den_;
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
    for (int i = 0; i < w.visible; ++i) {
      const int k = w.first + i;
      if (k - kLen + 1 < 0) continue;
      const Range r = HighLow(w, k, kLen);
      if (r.hh == r.ll) continue;
      out.b[i] =
          TruncToValue(static_cast<double>(Close(w, k) - r.ll) / static_cast<double>(r.hh - r.ll) * 100);
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
  if (n == 1 || !UsablePeriod(n)) return v;
  std::vector<int64_t> sorted(static_cast<size_t>(n));
  const double denom = static_cast<double>(n) * (static_cast<double>(n) * n - 1);
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n + 1 < 0) continue;
    for (int j = 0; j < n; ++j) sorted[static_cast<size_t>(j)] = Close(w, k - j);
    std::sort(sorted.begin(), sorted.end());
    double sumD2 = 0;
    for (int m = 0; m < n; ++m) {
      // rank = n + 1 - (number of closes <= this one): 1 for the highest, ties share the smallest.
      const auto notAbove = std::upper_bound(sorted.begin(), sorted.end(), Close(w, k - m)) - sorted.begin();
      const double diff = static_cast<double>(m + 1) - static_cast<double>(n + 1 - notAbove);
      sumD2 += diff * diff;
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
