#pragma once
// The moving averages and bands drawn over the price chart. Each is computed for the visible window
// only, one int32 value per window position, in integer yen.
#include <array>
#include <cstdint>
#include <vector>

#include "core/chart/chart_window.h"
#include "core/chart/price_series.h"

namespace sorano {

enum class AverageKind { Sma, Ama, Wma, Tma, Ema, Lma, Epma, Swma };

// A line over the window: v[j] for window position j. Segments are drawn for j = start ... size - 1,
// from (pitch * j, y(v[j - 1])) to (pitch * (j + 1), y(v[j])); values before start - 1 are never
// computed. start >= size (or an empty v) means the line is not drawn.
struct OverlayLine {
  std::vector<int32_t> v;
  int start = 0;
  bool Drawn() const { return start >= 1 && start < static_cast<int>(v.size()); }
};

// The first drawn position for a look-back of `period` bars: period when period >= first, otherwise 1
// (enough bars before the window). A period of 0 or less is never drawn (returns visible).
int OverlayStart(int period, int first, int visible);

// One average of `period` bars (the TMA uses (period + 1) / 2 bars). Sums are 64-bit, so long periods
// of high-priced brands do not wrap. A WMA of period 1 (weight sum 0) is not drawn. The EMA recursion
// starts at the leftmost visible bar from the SMA there; when fewer than `period` bars precede it in
// the series, that seed is the mean of the bars that exist. The LMA, EPMA and SWMA weigh the `period`
// bars up to each position, those before the window included; only where the series starts do they
// weigh the fewer bars that exist.
OverlayLine ComputeAverage(AverageKind kind, const PriceSeries& series, const ChartWindow& w, int period);

// The seven lines of a band, in drawing order: centre + 3, + 2, + 1, centre, - 1, - 2, - 3.
using BandLines = std::array<OverlayLine, 7>;

// Envelope over `period` bars around the SMA (aroundWma false) or WMA: unit u = base / 100 (1 when 0),
// lines base +- u * e3, e2, e1.
BandLines ComputeEnvelope(const PriceSeries& series, const ChartWindow& w, int period, bool aroundWma,
                          std::array<int, 3> percents);

// Bollinger bands over `period` bars around the SMA or WMA, multipliers k1, k2, k3. Sums and squares
// are taken in double; a variance that is not positive gives sigma 0.
BandLines ComputeBollinger(const PriceSeries& series, const ChartWindow& w, int period, bool aroundWma,
                           std::array<int, 3> multipliers);

// The SWMA's angle constant: the program has always used this value, not pi (3.14159265358979).
inline constexpr double kSwmaPi = 3.14159265357989;

// 64-bit to int32, saturating.
int32_t Saturate32(int64_t v);
// double to int32 by truncation toward zero, saturating; NaN gives 0.
int32_t Trunc32(double v);

}  // namespace sorano
