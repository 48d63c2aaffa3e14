#pragma once
// The price chart pane's paint: background, scale and grid, date labels, legend, the chart type or
// types, and every overlay, drawn onto a Canvas in a fixed order.
#include <array>
#include <string>

#include "core/chart/chart_settings.h"
#include "core/chart/chart_window.h"
#include "core/chart/price_scale.h"
#include "core/chart/price_series.h"
#include "core/chart/trend_overlays.h"
#include "core/gfx/canvas.h"

namespace sorano {

// Pens and brushes of the pane, from the colour tables; in monochrome mode every pen is black, the
// background and text background white and the text black.
struct ChartPalette {
  Pen grid, line, harami, tsutsumi, rising, falling, baseLow, baseMid, trend;
  Brush background, risingBody, fallingBody;
  Color text = 0, textBackground = 0;
  std::array<Pen, 3> average;  // short, middle, long
  Pen envelopeCentre;
  std::array<Pen, 3> envelope;  // lines 1, 2, 3
  Pen bollingerCentre;
  std::array<Pen, 3> bollinger;
  Pen ichimokuBase, ichimokuConv, ichimokuLag, ichimokuSpanA, ichimokuSpanB, ichimokuCloud;
  Pen parabolic, zigzag, volumeByPrice;
};
ChartPalette MakeChartPalette(const ChartSettings& s);

// What a paint draws from besides the main series.
struct ChartExtras {
  int code = 0;                             // the brand shown (index codes get no volume by price)
  const PriceSeries* comparison = nullptr;  // the check_hikakulinecode series, read for this paint
  const BaseLineInputs* brand = nullptr;    // figures of the brand shown, for the base lines
};

// The pane font: "MS UI Gothic", trunc(check_font_size / 1.3) pixels high.
Font ChartFont(const ChartSettings& s);

// The notice of a chart pane whose brand has no price file: two lines at y = 0 and y = 3 * lineHeight.
void DrawNoChartDataNotice(Canvas& canvas, int lineHeight);

// The date labels along the bottom of a chart pane, row by row. A label is written only when it starts
// one blank after the previous label of its row ends: the week rule also fires at a month's first day,
// often one bar after a Monday ("3101"), and narrow bars put week starts closer than a label is wide.
class DateLabelRows {
 public:
  explicit DateLabelRows(Canvas& canvas);
  // Writes text at (x, y) as a label of row 0 ... 3, unless it would run into the row's last label.
  void Label(int row, int x, int y, const std::string& text);

 private:
  Canvas& c_;
  int blank_;
  std::array<int, 4> end_;
};

// Paints the whole pane onto canvas (its Width and Height are the client size). The bar geometry
// (unit, gap, body, pitch) is the one of the last LayoutChartWindow; the paint fits visible and first
// to the pane (again when its price labels need more room than the last paint's: no bar is drawn
// under them), stores labelWidth for the next fit and returns the scale it drew with (the mouse
// read-out recomputes the same scale with ComputePriceScale and H = client height - 2 * text height).
PriceScale PaintPriceChart(Canvas& canvas, const ChartSettings& s, const PriceSeries& series, ChartWindow& w,
                           const ChartExtras& extras = {});

// Everything one paint step needs.
struct ChartPaintContext {
  Canvas& canvas;
  const ChartSettings& s;
  const PriceSeries& series;
  const ChartWindow& w;
  const PriceScale& scale;
  const ChartPalette& pal;
  int width = 0;   // client width
  int height = 0;  // client height
  int textHeight = 0;
  int visible = 0;  // window positions that hold bars

  const PriceBar& Bar(int j) const { return series[w.first + j]; }
  int X(int j) const { return w.X(j); }
  int Y(int64_t v) const { return scale.Y(v); }
};

// Chart type 0 ... 12 (13 and anything else draw nothing).
void DrawChartType(const ChartPaintContext& ctx, int type);
// The single type of check_soku, or every type of check_sokup in the multiple mode's order.
void DrawChartTypes(const ChartPaintContext& ctx);

// The multiple mode's order of the types.
inline constexpr std::array<int, 13> kMultipleTypeOrder = {10, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12};

}  // namespace sorano
