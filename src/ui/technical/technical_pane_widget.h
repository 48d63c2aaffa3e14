#pragma once
// The technical pane below the price chart: the core painter draws the switched-on indicators into a
// QtCanvas back buffer, bar for bar under the price chart (the same ChartWindow).
#include <QStringList>
#include <QWidget>

#include "ui/chart/chart_model.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {

class TechnicalPaneWidget : public QWidget {
  Q_OBJECT
 public:
  TechnicalPaneWidget(ChartModel model, Crosshair* crosshair, QWidget* parent = nullptr);

  // Paints the back buffer again with the window the price chart fitted at its last paint.
  void Render();
  // The last painted picture (what the capture commands take).
  const QImage& Picture() { return canvas_.image(); }

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
  QtCanvas canvas_;
};

}  // namespace sorano
