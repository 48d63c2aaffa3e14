#pragma once
// The time-series table of the chart area: the core painter draws the newest bars as text into a
// QtCanvas back buffer of the client size, which the paint event copies to the screen.
#include <QWidget>

#include "ui/chart/chart_model.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {

class TimeSeriesPaneWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TimeSeriesPaneWidget(ChartModel model, QWidget* parent = nullptr);

  // Paints the back buffer again from the series and the settings.
  void Render();
  const QImage& Picture() { return canvas_.image(); }

 Q_SIGNALS:
  // The right button: the chart area's menu "チャート側".
  void ContextMenuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 private:
  ChartModel model_;
  QtCanvas canvas_;
};

}  // namespace sorano
