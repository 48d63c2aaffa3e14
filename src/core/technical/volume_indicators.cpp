#include "core/technical/volume_indicators.h"

#include <algorithm>

#include "core/chart/look_back.h"

namespace sorano {

namespace {

IndicatorValues NoValues(const BarWindow& w) {
  return IndicatorValues(static_cast<size_t>(w.visible), kNoValue);
}
const PriceBar& Bar(const BarWindow& w, int m) {
  return w.bars[static_cast<size_t>(m)];
}

int64_t CloseChange(const BarWindow& w, int m) {
  return static_cast<int64_t>(Bar(w, m).close) - Bar(w, m - 1).close;
}

// Volume sums of cnt bars, by the sign of each bar's closing change.
struct VolumeSums {
  double up = 0;
  double flat = 0;
  double down = 0;  // chg <= 0
  double total = 0;
};

// Applies f to the volume sums of every position whose cnt bars (and each one's predecessor) exist.
template <class F>
IndicatorValues RatioLine(const BarWindow& w, int64_t cnt64, F f) {
  IndicatorValues v = NoValues(w);
  if (!UsablePeriod(cnt64) || w.visible == 0) return v;
  const int cnt = static_cast<int>(cnt64);
  const int from = std::max(1, w.first - cnt + 1), to = w.first + w.visible - 1;
  auto volumeIf = [&](auto test) {
    return RunningSums(from, to,
                       [&, test](int m) { return test(CloseChange(w, m)) ? int64_t{Bar(w, m).volume} : 0; });
  };
  const RunningSums up = volumeIf([](int64_t c) { return c > 0; });
  const RunningSums flat = volumeIf([](int64_t c) { return c == 0; });
  const RunningSums down = volumeIf([](int64_t c) { return c <= 0; });
  const RunningSums total = volumeIf([](int64_t) { return true; });
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - cnt < 0) continue;
    // Volumes are whole numbers: their sums in double are the 64-bit sums.
    const VolumeSums s{static_cast<double>(up.Sum(k, cnt)), static_cast<double>(flat.Sum(k, cnt)),
                       static_cast<double>(down.Sum(k, cnt)), static_cast<double>(total.Sum(k, cnt))};
    if (s.total == 0) continue;
    v[i] = f(s);
  }
  return v;
}

}  // namespace

int64_t VolumeDivisor(int64_t lo) {
  int64_t q = 1;
  for (int64_t limit = 10000; q < 1000000 && lo > limit; limit *= 10) q *= 10;
  return q;
}

int64_t VolumeScale::Y(int64_t u, int top, int h) const {
  int64_t d = q;
  if (range / d == 0) d = 1;
  return top + h - ((u / d - lo / d) * h) / (range / d);
}

VolumeScale VolumeScaleFor(const BarWindow& w) {
  VolumeScale s;
  if (w.visible == 0) return s;
  const int from = w.first < w.visible ? w.first : w.first - w.visible / 2;
  const int to = w.first + w.visible - 1;
  // Both extremes start from a real bar, so a volume of any size can be the smallest.
  s.lo = s.hi = Bar(w, from).volume;
  for (int m = from + 1; m <= to; ++m) {
    s.hi = std::max(s.hi, Bar(w, m).volume);
    s.lo = std::min(s.lo, Bar(w, m).volume);
  }
  s.range = static_cast<int64_t>(s.hi) - s.lo;
  if (s.range == 0) s.range = 1;
  s.q = VolumeDivisor(s.lo);
  return s;
}

IndicatorValues VolumeSma(const BarWindow& w, int n) {
  IndicatorValues v = NoValues(w);
  if (!UsablePeriod(n) || w.visible == 0) return v;
  const int from = std::max(0, w.first - n + 1);
  const RunningSums volumes(from, w.first + w.visible - 1, [&](int m) { return int64_t{Bar(w, m).volume}; });
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n + 1 < 0) continue;
    v[i] = SaturateToValue(volumes.Sum(k, n) / n);
  }
  return v;
}

IndicatorValues Mfi(const BarWindow& w, int n) {
  IndicatorValues v = NoValues(w);
  if (!UsablePeriod(n)) return v;
  // Prices and volumes are scaled down by 100000 before they multiply, as the stored values are.
  auto tp = [&](int m) {
    const PriceBar& b = Bar(w, m);
    return (static_cast<double>(static_cast<int64_t>(b.high) + b.low + b.close) / 100000.0) / 3.0;
  };
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n - 1 < 0) continue;
    double positive = 0, negative = 0;
    for (int j = 0; j <= n; ++j) {  // n + 1 bars
      const int m = k - j;
      const double t = tp(m);
      const double flow = (Bar(w, m).volume / 100000.0) * t;
      if (t <= tp(m - 1)) {
        negative += flow;
      } else {
        positive += flow;
      }
    }
    if (negative == 0) {
      if (positive != 0) v[i] = 100;
      continue;
    }
    v[i] = TruncToValue(100 - 100 / (1 + positive / negative));
  }
  return v;
}

IndicatorValues Vr(const BarWindow& w, int64_t bars) {
  return RatioLine(w, bars,
                   [](const VolumeSums& s) { return TruncToValue((s.flat / 2 + s.up) / s.total * 100); });
}

IndicatorValues Wvr(const BarWindow& w, int n) {
  if (!UsablePeriod(n)) return NoValues(w);
  return RatioLine(w, int64_t{n} + 1, [](const VolumeSums& s) {
    return TruncToValue((s.up - s.down / 2) / s.total * 100 + 100);
  });
}

IndicatorValues Dvr(const BarWindow& w, int n) {
  if (!UsablePeriod(n)) return NoValues(w);
  return RatioLine(w, int64_t{n} + 1, [](const VolumeSums& s) {
    if (s.down == 0) return int32_t{100};  // up == total
    return TruncToValue((s.up / s.down) / (s.total / s.down) * 100);
  });
}

IndicatorValues Psy(const BarWindow& w, int n) {
  IndicatorValues v = NoValues(w);
  if (!UsablePeriod(n) || w.visible == 0) return v;
  const RunningSums rises(std::max(1, w.first - n + 1), w.first + w.visible - 1,
                          [&](int m) { return CloseChange(w, m) > 0 ? int64_t{1} : 0; });
  for (int i = 0; i < w.visible; ++i) {
    const int k = w.first + i;
    if (k - n < 0) continue;
    v[i] = TruncToValue(static_cast<double>(rises.Sum(k, n)) / n * 100);
  }
  return v;
}

}  // namespace sorano
