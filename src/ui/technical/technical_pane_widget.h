#pragma once
// The technical pane below the price chart: the core painter draws the switched-on indicators into a
// QtCanvas back buffer, bar for bar under the price chart (the same ChartWindow). The back buffer is
// painted at the pane's next paint event after Render, so the requests of one turn of the event loop
// (a resize, the price chart's new window, a command) give one paint, and a hidden pane none.
#include <QStringList>
#include <QWidget>

#include "ui/chart/chart_model.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {

class TechnicalPaneWidget : public QWidget {
  Q_OBJECT
 public:
  TechnicalPaneWidget(ChartModel model, Crosshair* crosshair, QWidget* parent = nullptr);

  // The back buffer is to be painted again, with the window the price chart fitted at its last paint.
  void Render();
  // The picture as it stands after every Render so far (what the capture commands take).
  const QImage& Picture();

 Q_SIGNALS:
  void Readout(const QStringList& parts);
  void ContextMenuRequested(const QPoint& globalPos);
  void CrosshairMoved();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;

 private:
  ChartModel model_;
  Crosshair* crosshair_;
  void Paint();

  QtCanvas canvas_;
  bool stale_ = true;  // a Render is waiting for the next paint
};

}  // namespace sorano
