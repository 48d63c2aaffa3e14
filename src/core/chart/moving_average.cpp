#include "core/chart/moving_average.h"

#include <algorithm>
#include <cmath>

namespace sorano {

int32_t Saturate32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

int32_t Trunc32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

int OverlayStart(int period, int first, int visible) {
  if (period <= 0) return visible;
  return period >= first ? period : 1;
}

namespace {

int64_t Close(const PriceSeries& s, int t) {
  return s[t].close;
}

// Sum of closes t - n + 1 ... t.
int64_t SumCloses(const PriceSeries& s, int t, int n) {
  int64_t sum = 0;
  for (int k = 0; k < n; ++k) sum += Close(s, t - k);
  return sum;
}

// WMA: sum k * c(t - k) / sum k over k = 0 ... n - 1; bar t itself weighs 0.
int64_t WeightedSum(const PriceSeries& s, int t, int n) {
  int64_t sum = 0;
  for (int k = 1; k < n; ++k) sum += static_cast<int64_t>(k) * Close(s, t - k);
  return sum;
}

int64_t WeightTotal(int n) {
  return static_cast<int64_t>(n) * (n - 1) / 2;
}

OverlayLine Empty(const ChartWindow& w) {
  OverlayLine line;
  line.start = w.visible;
  return line;
}

}  // namespace

OverlayLine ComputeAverage(AverageKind kind, const PriceSeries& s, const ChartWindow& w, int period) {
  const int visible = std::min(w.visible, std::max(0, s.count() - w.first));
  if (visible <= 0 || w.first < 0 || period <= 0) return Empty(w);
  const int n = kind == AverageKind::Tma ? (period + 1) / 2 : period;
  if (kind == AverageKind::Wma && WeightTotal(n) == 0) return Empty(w);
  OverlayLine line;
  line.start = OverlayStart(n, w.first, visible);
  if (line.start >= visible) return Empty(w);
  line.v.assign(static_cast<size_t>(visible), 0);
  const double swmaStep = kSwmaPi / (static_cast<double>(n) + 1.0);

  if (kind == AverageKind::Ema) {
    // Seed: the SMA at the leftmost visible bar, over the bars that exist.
    const int seedBars = std::min(n, w.first + 1);
    int64_t v = SumCloses(s, w.first, seedBars) / seedBars;
    line.v[0] = Saturate32(v);
    for (int j = 1; j < visible; ++j) {
      v = v + (2 * (Close(s, w.first + j) - v)) / (static_cast<int64_t>(n) + 1);
      line.v[static_cast<size_t>(j)] = Saturate32(v);
    }
    return line;
  }

  for (int j = line.start - 1; j < visible; ++j) {
    const int t = w.first + j;
    int64_t value = 0;
    switch (kind) {
      case AverageKind::Sma:
      case AverageKind::Tma:
        value = SumCloses(s, t, n) / n;
        break;
      case AverageKind::Ama: {
        int64_t sum = 0;
        for (int k = 0; k < n; ++k) sum += (static_cast<int64_t>(s[t - k].high) + s[t - k].low) / 2;
        value = sum / n;
        break;
      }
      case AverageKind::Wma:
        value = WeightedSum(s, t, n) / WeightTotal(n);
        break;
      case AverageKind::Lma: {
        // The bars before the window count as well; only at the start of the series are there fewer.
        const int m = std::min(t + 1, n);
        double sum = 0;
        for (int k = 0; k < m; ++k) sum += static_cast<double>(m - k) * static_cast<double>(Close(s, t - k));
        value = Trunc32(sum / (static_cast<double>(m) * (m + 1) / 2.0));
        break;
      }
      case AverageKind::Epma: {
        const int m = std::min(t + 1, n);
        double sum = 0;
        for (int i = 1; i <= m; ++i)
          sum += static_cast<double>(3 * static_cast<int64_t>(i) - m - 1) *
                 static_cast<double>(Close(s, t - i + 1));
        value = Trunc32((2.0 / (static_cast<double>(m) * (m + 1))) * sum);
        break;
      }
      case AverageKind::Swma: {
        const int m = std::min(t + 1, n);
        double sum = 0, weights = 0;
        for (int k = 0; k < m; ++k)
          sum += std::sin((m - k) * swmaStep) * static_cast<double>(Close(s, t - k));
        for (int i = 1; i <= m; ++i) weights += std::sin(i * swmaStep);
        value = weights == 0.0 ? 0 : Trunc32(sum / weights);
        break;
      }
      case AverageKind::Ema:
        break;
    }
    line.v[static_cast<size_t>(j)] = Saturate32(value);
  }
  return line;
}

namespace {

BandLines EmptyBands(const ChartWindow& w) {
  BandLines b;
  for (OverlayLine& l : b) l = Empty(w);
  return b;
}

// Seven lines centre + m3 ... centre - m3 from a centre and a per-position distance unit.
BandLines Spread(const std::vector<int32_t>& centre, const std::vector<int64_t>& unit, int start,
                 std::array<int, 3> mult) {
  BandLines b;
  const int64_t f[7] = {mult[2], mult[1], mult[0], 0, -mult[0], -mult[1], -mult[2]};
  for (int i = 0; i < 7; ++i) {
    b[static_cast<size_t>(i)].start = start;
    b[static_cast<size_t>(i)].v.assign(centre.size(), 0);
    for (size_t j = static_cast<size_t>(start - 1); j < centre.size(); ++j)
      b[static_cast<size_t>(i)].v[j] = Saturate32(centre[j] + f[i] * unit[j]);
  }
  return b;
}

}  // namespace

BandLines ComputeEnvelope(const PriceSeries& s, const ChartWindow& w, int period, bool aroundWma,
                          std::array<int, 3> percents) {
  const OverlayLine base = ComputeAverage(aroundWma ? AverageKind::Wma : AverageKind::Sma, s, w, period);
  if (!base.Drawn()) return EmptyBands(w);
  std::vector<int64_t> unit(base.v.size(), 0);
  for (size_t j = static_cast<size_t>(base.start - 1); j < base.v.size(); ++j) {
    unit[j] = base.v[j] / 100;
    if (unit[j] == 0) unit[j] = 1;
  }
  return Spread(base.v, unit, base.start, percents);
}

BandLines ComputeBollinger(const PriceSeries& s, const ChartWindow& w, int period, bool aroundWma,
                           std::array<int, 3> multipliers) {
  const int visible = std::min(w.visible, std::max(0, s.count() - w.first));
  if (visible <= 0 || w.first < 0 || period <= 0) return EmptyBands(w);
  const int64_t weightTotal = WeightTotal(period);
  if (aroundWma && weightTotal == 0) return EmptyBands(w);
  const int start = OverlayStart(period, w.first, visible);
  if (start >= visible) return EmptyBands(w);
  std::vector<int32_t> centre(static_cast<size_t>(visible), 0);
  std::vector<int64_t> sigma(static_cast<size_t>(visible), 0);
  for (int j = start - 1; j < visible; ++j) {
    const int t = w.first + j;
    double sum = 0, weighted = 0, squares = 0;
    for (int k = 0; k < period; ++k) {
      const double c = static_cast<double>(s[t - k].close);
      sum += c;
      weighted += k * c;
      squares += c * c;
    }
    double mean = 0;
    if (aroundWma) {
      centre[static_cast<size_t>(j)] = Saturate32(static_cast<int64_t>(weighted) / weightTotal);
      mean = weighted / static_cast<double>(weightTotal);
    } else {
      centre[static_cast<size_t>(j)] = Saturate32(static_cast<int64_t>(sum) / period);
      mean = sum / period;
    }
    const double variance = squares / period - mean * mean;
    sigma[static_cast<size_t>(j)] = variance > 0 ? Trunc32(std::sqrt(variance)) : 0;
  }
  return Spread(centre, sigma, start, multipliers);
}

}  // namespace sorano
