#pragma once
// What the price chart pane and the comparison pane do alike: scrolling the shared ChartWindow with
// the scroll bar and the keys, and rubber-banding a trend line over the picture until the next paint.
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>
#include <optional>

#include "core/chart/chart_readout.h"
#include "core/chart/chart_window.h"
#include "core/chart/price_scale.h"
#include "core/chart/price_series.h"
#include "ui/chart/chart_model.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {

// A plain key (no Ctrl, Alt or Shift: those belong to the window's shortcuts) as the chart reads it.
ChartKey ChartKeyOf(const QKeyEvent& e);

// A QScrollBar action (QAbstractSlider::SliderAction) as a scroll request.
ScrollRequest ScrollRequestOf(int sliderAction);

// Shows the window's place: range 0 ... count - 1, page visible, position first.
void ShowWindowOnScrollBar(QScrollBar& bar, const ChartWindow& w, int count);

// Applies a scroll-bar action to the window; true when first moved. The bar's slider is put where the
// window is, not where Qt's own step would have put it.
bool ScrollFromBar(QScrollBar& bar, int action, ChartWindow& w, int count);

// A trend line in the four modes of check_wline: anchored at the press, following the mouse, ending at
// the release (free and left-right) or where the last move put it (up-down and fitted).
class TrendLineTool {
 public:
  void Press(QPoint at);
  // True when a line is being drawn (the pane repaints).
  bool Move(QPoint at, int mode, const PriceSeries& series, const ChartWindow& w, const PriceScale& scale);
  bool Release(QPoint at, int mode, const PriceSeries& series, const ChartWindow& w, const PriceScale& scale);
  // A new picture: the line is gone.
  void Reset();
  bool drawing() const { return drawing_; }
  // Draws the line, if any, in colour color (0x00BBGGRR), 1 pixel wide.
  void Paint(QPainter& p, uint32_t color) const;

 private:
  bool drawing_ = false;
  QPoint anchor_;
  std::optional<TrendLineEnds> line_;
};

// A pane of the chart area that draws the shared ChartWindow into a back buffer above a horizontal
// scroll bar: it scrolls by the bar, the wheel and the keys, rubber-bands a trend line with the left
// button and asks for its menu with the right one. A pane paints in Render and says in Scrolled what
// a moved window repaints.
class ScrolledChartPane : public QWidget {
 public:
  ScrolledChartPane(ChartModel model, QWidget* parent);

  // The last painted picture (what the capture commands take).
  const QImage& Picture() { return canvas_.image(); }
  // The client area the painter draws on (the pane less its scroll bar).
  QSize CanvasSize() const;
  const PriceScale& Scale() const { return scale_; }
  QScrollBar* ScrollBar() const { return scroll_; }

 protected:
  // The window moved (changed) or a scroll request left it where it was.
  virtual void Scrolled(bool changed) = 0;
  virtual void ContextMenuAt(const QPoint& globalPos) = 0;

  // Before a paint: the back buffer at the canvas size. After it: the scroll bar shows the window.
  void FitCanvas();
  void ShowWindow();
  // In a resize: the scroll bar along the bottom edge.
  void PlaceScrollBar();

  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

  ChartModel model_;
  QScrollBar* scroll_;
  QtCanvas canvas_;
  PriceScale scale_;     // of the last paint
  TrendLineTool trend_;  // shown over the picture until the next paint
};

}  // namespace sorano
