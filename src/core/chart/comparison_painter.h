#pragma once
// The chart area's percentage chart (mode 1) and comparison chart (mode 2): the shown brand's closes
// as a line against a percentage scale, alone or with up to three other brands scaled to the same
// starting price. The pane shares the ChartWindow of the price chart (first, bar geometry).
//
// Scale: P = client height - 2 * H (H the height of "1"; two lines below for the dates), the price
// range of the price chart's scale range (the window and up to half a window to its left) widened by
// the comparison lines, y(v) = P - (v - min) * P / range in 64 bits. Percentages are of B, the close of
// the first visible bar: the top label trunc(max / B * 100) and the bottom one trunc(min / B * 100),
// "%d%%" labels with grid lines from 100 upwards below the top, "%d" labels from 100 downwards above
// the bottom, each at y(B + trunc(B * (k - 100) / 100)), in steps of 10 or of the smallest multiple of
// 10 that keeps one label per text line. B <= 0 draws no percentages. The labels start at the same x,
// the room of the widest of them ("000" at least) before the right edge.
#include <span>

#include "core/chart/chart_settings.h"
#include "core/chart/chart_window.h"
#include "core/chart/price_scale.h"
#include "core/chart/price_series.h"
#include "core/gfx/canvas.h"

namespace sorano {

enum class ComparisonMode { kPercentage = 1, kComparison = 2 };

// Paints the pane (the canvas is its client area) and returns the scale it drew with (the trend line's
// close-snapping mode maps closes with it). Fits w to the pane first: visible from the client width
// less the labels' room (and the Ichimoku room when Ichimoku is shown), at most the bar count; first
// clamped so the window ends at the newest bar.
//
// others: the series of check_hikaku_code00-02 in order; a null pointer or a series without a file is
// skipped. Mode 2 draws each comparison brand's closes inside the window's dates, scaled by the main
// close of bar first over the first of them, and each point at the window position of the same date
// (a day the main brand did not trade is left out, a day only the main brand traded repeats the last
// value); a first close of 0 draws no line. The main line, the labels and the grid follow only when at
// least one comparison series exists; without one only the date axis is drawn.
PriceScale PaintComparisonChart(Canvas& canvas, const ChartSettings& s, ComparisonMode mode,
                                const PriceSeries& main, ChartWindow& w,
                                std::span<const PriceSeries* const> others);

}  // namespace sorano
