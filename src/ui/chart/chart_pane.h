#pragma once
// The price chart pane: the core painter draws into a QtCanvas back buffer of the client size, which
// the paint event copies to the screen. The pane scrolls the shared ChartWindow (scroll bar, keys,
// wheel), reports the bar under the mouse, draws the shared crosshair and rubber-bands trend lines
// over the saved picture; a drawn line is gone at the next repaint of the back buffer.
#include <QScrollBar>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "core/chart/chart_readout.h"
#include "core/chart/price_scale.h"
#include "ui/chart/chart_model.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {

class ChartPaneWidget : public QWidget {
  Q_OBJECT
 public:
  ChartPaneWidget(ChartModel model, Crosshair* crosshair, QWidget* parent = nullptr);

  // Lays the window out for the current client width (newest bars shown), then repaints.
  void Relayout();
  // Paints the back buffer again from the series and the settings; a drawn trend line is gone.
  void Render();
  // The last painted picture (what the clipboard command takes).
  const QImage& Picture() { return canvas_.image(); }
  void CopyToClipboard();
  // The client area the painter draws on (the pane less its scroll bar).
  QSize CanvasSize() const;
  const PriceScale& Scale() const { return scale_; }
  QScrollBar* ScrollBar() const { return scroll_; }

 Q_SIGNALS:
  // The visible window moved and this pane repainted: the technical pane follows.
  void WindowScrolled();
  // The nine read-out parts of the bar under the mouse.
  void Readout(const QStringList& parts);
  void ContextMenuRequested(const QPoint& globalPos);
  void CrosshairMoved();
  // A paint event drew the picture on the screen (the start waits for the first one).
  void Painted();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  void SyncScrollBar();
  void OnScrollAction(int action);
  void Scrolled(bool changed);
  PriceScale MouseScale();

  ChartModel model_;
  Crosshair* crosshair_;
  QScrollBar* scroll_;
  QtCanvas canvas_;
  PriceScale scale_;
  PriceSeries comparison_;  // the simple comparison line's brand, read at each paint that needs it
  bool drawing_ = false;    // a trend line is being rubber-banded
  QPoint anchor_;
  std::optional<TrendLineEnds> trend_;  // shown over the picture until the next Render
};

}  // namespace sorano
