#include "ui/technical/technical_pane_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/technical/technical_pane.h"
#include "core/technical/technical_readout.h"
#include "core/technical/technical_settings.h"

namespace sorano {

TechnicalPaneWidget::TechnicalPaneWidget(ChartModel model, Crosshair* crosshair, QWidget* parent)
    : QWidget(parent), model_(model), crosshair_(crosshair), canvas_(1, 1) {
  setObjectName("technicalPane");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TechnicalPaneWidget::Render() {
  stale_ = true;
  if (crosshair_ != nullptr) crosshair_->pos = QPoint(-1, -1);
  update();
}

void TechnicalPaneWidget::Paint() {
  stale_ = false;
  if (canvas_.Width() != std::max(1, width()) || canvas_.Height() != std::max(1, height())) {
    canvas_.Resize(width(), height());
  }
  TechnicalSettings s = TechnicalSettingsFrom(*model_.settings);
  s.monochrome = model_.Monochrome();
  PaintTechnicalPane(canvas_, s, *model_.series, *model_.window);
}

const QImage& TechnicalPaneWidget::Picture() {
  if (stale_) Paint();
  return canvas_.image();
}

void TechnicalPaneWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Picture());
  if (crosshair_ != nullptr && crosshair_->Shown() && crosshair_->frame != nullptr) {
    const QPoint local = mapFrom(crosshair_->frame, crosshair_->pos);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(QColor(0x80, 0x80, 0x80));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawLine(local.x(), 0, local.x(), height() - 1);
  }
}

void TechnicalPaneWidget::resizeEvent(QResizeEvent*) {
  Render();
}

void TechnicalPaneWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) Q_EMIT ContextMenuRequested(e->globalPosition().toPoint());
}

void TechnicalPaneWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  if (model_.series->count() <= 0) return;
  if (model_.settings->check_status > 0) {
    if (auto parts = TechnicalReadout(*model_.series, *model_.window, pt.x())) {
      QStringList list;
      for (const std::string& s : *parts) list << QString::fromStdString(s);
      Q_EMIT Readout(list);
    }
  }
  if (model_.settings->check_cross > 0 && crosshair_ != nullptr && crosshair_->frame != nullptr) {
    const QPoint framePos = mapTo(crosshair_->frame, pt);
    if (framePos.x() != crosshair_->pos.x()) {
      crosshair_->pos = framePos;
      Q_EMIT CrosshairMoved();
    }
  }
}

}  // namespace sorano
