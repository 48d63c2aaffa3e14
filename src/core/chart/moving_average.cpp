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

  // Each position updates running sums over its look-back instead of summing it again: S the closes
  // (AMA: the mid prices) of the look-back, W (WMA) sum k * c(t - k) for k = 1 ... n - 1, L (LMA,
  // EPMA) sum (m - k) * c(t - k) for k = 0 ... m - 1. All in 64 bits, so the sums are exact and equal
  // to adding the look-back up at every position.
  const int j0 = line.start - 1;
  const int t0 = w.first + j0;
  auto mid = [&](int t) { return (static_cast<int64_t>(s[t].high) + s[t].low) / 2; };
  switch (kind) {
    case AverageKind::Sma:
    case AverageKind::Tma:
    case AverageKind::Ama: {
      const bool ama = kind == AverageKind::Ama;
      auto price = [&](int t) { return ama ? mid(t) : Close(s, t); };
      int64_t sum = 0;
      for (int k = 0; k < n; ++k) sum += price(t0 - k);
      for (int j = j0; j < visible; ++j) {
        const int t = w.first + j;
        if (j > j0) sum += price(t) - price(t - n);
        line.v[static_cast<size_t>(j)] = Saturate32(sum / n);
      }
      break;
    }
    case AverageKind::Wma: {
      // S here holds the n - 1 closes t - n + 2 ... t, the next position's weights over the old ones.
      int64_t weighted = WeightedSum(s, t0, n), sum = SumCloses(s, t0, n - 1);
      for (int j = j0; j < visible; ++j) {
        const int t = w.first + j;
        if (j > j0) {
          weighted += sum - static_cast<int64_t>(n - 1) * Close(s, t - n);
          sum += Close(s, t) - Close(s, t - n + 1);
        }
        line.v[static_cast<size_t>(j)] = Saturate32(weighted / WeightTotal(n));
      }
      break;
    }
    case AverageKind::Lma:
    case AverageKind::Epma: {
      // The look-back of m = min(t + 1, n) bars: fewer than n only where the series starts.
      int m = std::min(t0 + 1, n);
      int64_t sum = SumCloses(s, t0, m), linear = 0;
      for (int k = 0; k < m; ++k) linear += static_cast<int64_t>(m - k) * Close(s, t0 - k);
      for (int j = j0; j < visible; ++j) {
        const int t = w.first + j;
        if (j > j0 && m < n) {
          ++m;
          linear += static_cast<int64_t>(m) * Close(s, t);
          sum += Close(s, t);
        } else if (j > j0) {
          linear += static_cast<int64_t>(m) * Close(s, t) - sum;
          sum += Close(s, t) - Close(s, t - m);
        }
        const double md = m;
        // EPMA's sum of (3i - m - 1) * c(t - i + 1) over i = 1 ... m is (2m + 2) S - 3 L.
        const int32_t value =
            kind == AverageKind::Lma
                ? Trunc32(static_cast<double>(linear) / (md * (md + 1) / 2.0))
                : Trunc32((2.0 / (md * (md + 1))) *
                          static_cast<double>((2 * static_cast<int64_t>(m) + 2) * sum - 3 * linear));
        line.v[static_cast<size_t>(j)] = value;
      }
      break;
    }
    case AverageKind::Swma: {
      // Weights sin(i * step) for i = 1 ... m, the newest bar weighing sin(m * step): one table of
      // sines for the whole window, the sums taken in the same order as ever.
      // weights[m] is the sum of sines 1 ... m, added in that order.
      const size_t size = static_cast<size_t>(std::min(n, w.first + visible)) + 1;
      std::vector<double> sines(size, 0.0), weights(size, 0.0);
      for (size_t i = 1; i < size; ++i) {
        sines[i] = std::sin(static_cast<double>(i) * swmaStep);
        weights[i] = weights[i - 1] + sines[i];
      }
      for (int j = j0; j < visible; ++j) {
        const int t = w.first + j;
        const int m = std::min(t + 1, n);
        double sum = 0;
        for (int k = 0; k < m; ++k)
          sum += sines[static_cast<size_t>(m - k)] * static_cast<double>(Close(s, t - k));
        const double total = weights[static_cast<size_t>(m)];
        line.v[static_cast<size_t>(j)] = total == 0.0 ? 0 : Trunc32(sum / total);
      }
      break;
    }
    case AverageKind::Ema:
      break;
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
