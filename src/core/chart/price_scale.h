#pragma once
// The price chart's vertical mapping, recomputed at every paint and mouse move.
#include <cstdint>
#include <vector>

#include "core/chart/chart_window.h"
#include "core/chart/price_series.h"

namespace sorano {

struct PriceScale {
  int32_t top = 0;         // highest high over the scale range
  int32_t bottom = 0;      // lowest low over the scale range
  int32_t range = 1;       // top - bottom, 1 when that is 0 or less
  int32_t paneHeight = 0;  // H = client height - 2 * text height

  // y(v) = H - ((v - bottom) * H) / range, truncating; y = 0 is the top of the client area. Computed in
  // 64 bits (the 32-bit product overflows for prices above about a million yen on a tall pane) and
  // limited to +-16 million so that far-off values stay drawable coordinates.
  int Y(int64_t v) const;
};

// The scale range is the window plus up to half a window of bars to its left (s = first - visible / 2
// when first >= visible, else first), clipped to the series. The running lowest starts at 1000000000
// and the highest at 0. An empty window gives top 0, bottom 0, range 1.
PriceScale ComputePriceScale(const PriceSeries& series, const ChartWindow& w, int paneHeight);

}  // namespace sorano

namespace sorano {

// Step of the price labels: 5 yen up to a top of 1000, then 10, 100, ... up to 1000000 above 100000000.
int GridUnit(int32_t top);

struct GridLabel {
  int32_t price = 0;
  int y = 0;
};
// The labelled grid prices: u = GridUnit(top), r = bottom mod u, k = range / u, step m = k / 10 + 1,
// prices bottom - r + m * u * i for i = 1 ... k / m at y = H - ((m * u * i - r) * H) / range.
std::vector<GridLabel> GridLabels(const PriceScale& scale);

}  // namespace sorano
