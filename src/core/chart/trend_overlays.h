#pragma once
// The trend overlays of the price chart: Ichimoku, parabolic, zigzag, peak and trough prices, volume by
// price, split-date marks, base lines and the simple comparison line. Computed over the visible window
// at every paint.
#include <array>
#include <cstdint>
#include <vector>

#include "core/chart/chart_window.h"
#include "core/chart/price_series.h"

namespace sorano {

// A value that needs a bar outside the series: not drawn.
inline constexpr int32_t kNoValue = INT32_MIN;

// For every u = from ... to (at index u - from): trunc((highest high + lowest low) / 2) over bars
// u - n + 1 ... u, the highest searched from 0 and the lowest from 1000000000; kNoValue when a bar is
// outside the series or n <= 0. O(to - from + n) for the whole range.
std::vector<int32_t> MidPrices(const PriceSeries& s, int n, int from, int to);

struct IchimokuLines {
  // Indexed by window position j, 0 ... visible + B - 1 (B positions ahead of the last bar).
  std::vector<int32_t> base, conv, spanA, spanB;
  // lag[i] = close of bar first + i + L: the close drawn L positions to its left.
  std::vector<int32_t> lag;
  // First drawn position of each line (a start >= the line's end is not drawn).
  int cloudStart = 0, spanBStart = 0, spanAStart = 0, lagStart = 0, convStart = 0, baseStart = 0;
  int ahead = 0;  // visible + B: the end (exclusive) of the spans and the cloud
};

// B base-line period, C conversion period, S second-span period, L lagging shift; all must be >= 1,
// otherwise every line is empty.
IchimokuLines ComputeIchimoku(const PriceSeries& s, const ChartWindow& w, int B, int C, int S, int L);

// SAR at every window position (fixed factors: start 2 %, step 4 %, maximum 20 %).
std::vector<int32_t> ComputeParabolic(const PriceSeries& s, const ChartWindow& w);

struct TurnPoint {
  int j = 0;  // window position
  int32_t price = 0;
  bool peak = false;  // a peak (high) or a trough (low)
};

// Zigzag vertices in drawing order, the last one the low of the last visible bar (when any vertex
// was found). z is the reversal fraction (0.08 = 8 %).
std::vector<TurnPoint> ComputeZigzag(const PriceSeries& s, const ChartWindow& w, double z);

// Every peak and trough by the zigzag's two tests (each one, whether or not the zigzag draws it).
std::vector<TurnPoint> ComputePeaksAndTroughs(const PriceSeries& s, const ChartWindow& w, double z);

// Volume by price: twenty band totals over the visible bars by close, band 0 the lowest prices. Every
// bar adds its whole volume (a negative one counts as 0), summed in 64 bits.
std::array<int64_t, 20> ComputeVolumeByPrice(const PriceSeries& s, const ChartWindow& w, int32_t bottom,
                                             int32_t range);

// Bar length for a band: proportional to its total, the largest total at half the client width; 0
// for every band when no bar has volume.
int VolumeBarLength(const std::array<int64_t, 20>& totals, int band, int clientWidth);

// The index codes (1010, 1020, 1030) have no volume-by-price profile.
bool IsIndexCode(int code);

// Window positions p (0 ... visible - 2; 0 only when first > 0) where the split factor, floored to two
// decimals, differs from the bar before.
std::vector<int> ComputeSplitMarks(const PriceSeries& s, const ChartWindow& w);

// The brand figures behind the base lines (from its BrandRecord).
struct BaseLineInputs {
  double bps = 0;          // book value per share, yen
  double equityRatio = 0;  // percent
  double sharesIssued = 0;
};

struct BaseLineValues {
  int32_t bookValue = 0;
  int32_t assetValue = 0;  // drawn only when > 0
};
// bookValue = trunc(bps); assetValue = trunc(shares * bps / (equityRatio / 100) / shares). A missing
// equity ratio or share count gives assetValue 0.
BaseLineValues ComputeBaseLines(const BaseLineInputs& in);

// The comparison series scaled onto the main series: the bars whose dates lie in the dates of the
// window, each close multiplied by main close(first) / first collected close.
struct ComparisonLine {
  std::vector<int32_t> closes;
  std::vector<int32_t> dates;  // year * 10000 + month * 100 + day
};
ComparisonLine ComputeComparison(const PriceSeries& main, const ChartWindow& w, const PriceSeries& other);

int32_t DateKey(const PriceBar& b);

}  // namespace sorano
