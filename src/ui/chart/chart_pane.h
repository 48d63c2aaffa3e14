#pragma once
// The price chart pane: the core painter draws into a QtCanvas back buffer of the client size, which
// the paint event copies to the screen. The pane scrolls the shared ChartWindow (scroll bar, keys,
// wheel), reports the bar under the mouse, draws the shared crosshair and rubber-bands trend lines
// over the saved picture; a drawn line is gone at the next repaint of the back buffer.
#include <QStringList>

#include "core/chart/chart_readout.h"
#include "ui/chart/chart_pane_tools.h"

namespace sorano {

class ChartPaneWidget : public ScrolledChartPane {
  Q_OBJECT
 public:
  ChartPaneWidget(ChartModel model, Crosshair* crosshair, QWidget* parent = nullptr);

  // Lays the window out for the current client width (newest bars shown), then repaints.
  void Relayout();
  // Paints the back buffer again from the series and the settings; a drawn trend line is gone.
  void Render();

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
  void mouseMoveEvent(QMouseEvent*) override;
  void Scrolled(bool changed) override;
  void ContextMenuAt(const QPoint& globalPos) override { Q_EMIT ContextMenuRequested(globalPos); }

 private:
  Crosshair* crosshair_;
};

}  // namespace sorano
