#pragma once
// The time-series table of the chart area: the loaded bars of the shown brand as plain text, newest
// first, one line per bar, with the day's prices, the change from the bar before, the volume and the
// traded value. Only the lines that fit are drawn, so a paint costs the same for any series length.
//
// Layout: W and H are the width and height of the digit "1" in the table font ("MS UI Gothic",
// trunc(check_font_size / 1.2) pixels); columns are multiples of W, line n lies at y = n * H (line 0
// the header). A number right-aligned to column e starts at e - (its length in characters).
#include <cstdint>

#include "core/chart/price_series.h"
#include "core/gfx/canvas.h"

namespace sorano {

struct SettingsStore;

struct TimeSeriesStyle {
  int32_t check_font_size = 18;
  Color background = 0xFFFFFF;  // color_list00
  Color text = 0x001E00;        // color_list02
  bool monochrome = false;      // black text on white
};
TimeSeriesStyle TimeSeriesStyleFrom(const SettingsStore& settings, bool monochrome);

// Paints the whole pane (the canvas is the client area). A series without a file shows the two-line
// notice; otherwise the header and, on lines 1 ... client height / H, the bars from count - 1 down to
// index 1 (the oldest bar drawn is the oldest one that has a bar before it).
void PaintTimeSeriesTable(Canvas& canvas, const TimeSeriesStyle& style, const PriceSeries& series);

}  // namespace sorano
