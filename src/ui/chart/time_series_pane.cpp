#include "ui/chart/time_series_pane.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/chart/time_series_painter.h"

namespace sorano {

TimeSeriesPaneWidget::TimeSeriesPaneWidget(ChartModel model, QWidget* parent)
    : QWidget(parent), model_(model), canvas_(1, 1) {
  setObjectName("timeSeriesPane");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TimeSeriesPaneWidget::Render() {
  if (canvas_.Width() != std::max(1, width()) || canvas_.Height() != std::max(1, height()))
    canvas_.Resize(width(), height());
  PaintTimeSeriesTable(canvas_, TimeSeriesStyleFrom(*model_.settings, model_.Monochrome()), *model_.series);
  update();
}

void TimeSeriesPaneWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, canvas_.image());
}

void TimeSeriesPaneWidget::resizeEvent(QResizeEvent*) {
  Render();
}

void TimeSeriesPaneWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) Q_EMIT ContextMenuRequested(e->globalPosition().toPoint());
}

}  // namespace sorano
