#pragma once
// The technical pane's paint: background, the date grid, the division into sub-panes, the shared
// reference lines and every switched-on indicator in a fixed order, drawn onto a Canvas bar for bar
// under the price chart (same first, visible, unit and pitch as the ChartWindow).
#include <array>

#include "core/chart/chart_window.h"
#include "core/chart/price_series.h"
#include "core/gfx/canvas.h"
#include "core/technical/technical_settings.h"

namespace sorano {

// Pen and brush slots 00-25 (slot n takes color_tec n), the grid pen and the text colours. In
// monochrome mode every slot is a black solid pen with a black brush, the grid pen black dotted, the
// background white and every text black.
struct TechnicalPalette {
  std::array<Pen, 26> slot;
  std::array<Brush, 26> slotBrush;
  std::array<Color, 26> label;  // the colour a label written "in color_tec n" gets
  Pen grid;
  Color background = 0;
  Color text = 0;        // before any label: color_chart02
  Color afterLabel = 0;  // restored after every label: color_chart07
};
TechnicalPalette MakeTechnicalPalette(const TechnicalSettings& s);

// The pane font: "MS UI Gothic", trunc(check_font_size / 1.3) pixels high.
Font TechnicalFont(const TechnicalSettings& s);

// The number of switched-on indicators that take a sub-pane: the deviation rates, DPO, volume graph,
// margin balance, Aroon, MFI, RSI, DMI, Williams %R, stochastic, momentum, ROC, RCI, MACD, VR, WVR,
// DVR and PSY (the volume moving average lives inside the volume graph and does not count).
int CountTechnicalIndicators(const TechnicalSettings& s);

// Paints the whole pane onto canvas (its Width and Height are the client size). The window is the
// one the price chart fitted for this paint; first and visible are clamped into the series here.
void PaintTechnicalPane(Canvas& canvas, const TechnicalSettings& s, const PriceSeries& series,
                        const ChartWindow& window);

}  // namespace sorano
