#pragma once
// What the price chart pane computes for the mouse: the bar under the cursor, the status-bar read-out,
// the price at the cursor height and the ends of a drawn trend line.
#include <array>
#include <cstdint>
#include <string>

#include "core/chart/chart_window.h"
#include "core/chart/price_scale.h"
#include "core/chart/price_series.h"
#include "core/gfx/canvas.h"

namespace sorano {

// Series index of the bar under x: window position x / (body + unit) - 1, plus first. -1 when that is
// not a bar of the series or not inside the window.
int BarUnderPoint(const ChartWindow& w, int count, int x);

// Trading value in units of 10000 yen, v = trunc(volume / 10000.0 * close), as "%d億%d万円" when
// v >= 10000, otherwise "%d万円". 64-bit, so large values are not cut.
std::string TradingValueText(int32_t volume, int32_t close);

// Price at the cursor height: trunc((H - y) / (H / range) + bottom), in double. bottom when H is 0.
int32_t PriceAtHeight(const PriceScale& scale, int y);

// The nine status-bar parts (UTF-8): date "%4d/%2d/%2d", weekday name, "始:%d", "高:%d", "安:%d",
// "終:%d", "出:%d", the trading value and the price at height y.
std::array<std::string, 9> StatusReadout(const PriceBar& bar, const PriceScale& scale, int y);

// check_wline: 0 free, 1 left-right, 2 up-down, 3 fitted onto closes.
struct TrendLineEnds {
  Point from;
  Point to;
};
// A fitted end at x lies on the close of bar first + x / (body + unit) (clamped to the series), at
// (pitch * (x / pitch), y(close)).
Point FittedTrendPoint(const PriceSeries& series, const ChartWindow& w, const PriceScale& scale, int x);
TrendLineEnds TrendLine(int mode, Point anchor, Point cursor, const PriceSeries& series, const ChartWindow& w,
                        const PriceScale& scale);

}  // namespace sorano
