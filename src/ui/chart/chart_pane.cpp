#include "ui/chart/chart_pane.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/chart/chart_painter.h"
#include "core/chart/price_series_load.h"
#include "core/store/brand_record.h"

namespace sorano {

ChartPaneWidget::ChartPaneWidget(ChartModel model, Crosshair* crosshair, QWidget* parent)
    : ScrolledChartPane(model, parent), crosshair_(crosshair) {
  setObjectName("chartPane");
}

void ChartPaneWidget::Relayout() {
  LayoutChartWindow(*model_.window, model_.settings->check_chsize, CanvasSize().width(),
                    model_.series->count());
  Render();
}

void ChartPaneWidget::Render() {
  FitCanvas();
  const SettingsStore& store = *model_.settings;
  ChartSettings s = ChartSettingsFrom(store, model_.Monochrome());
  ChartExtras extras;
  extras.code = store.check_code;
  if (store.check_hikakuline > 0 && model_.comparisons != nullptr) {
    extras.comparison =
        model_.comparisons->Get(ComparisonSeriesSet::kLineSlot, store.data_folder(),
                                store.check_hikakulinecode, store.check_ymd, store.check_adjustment);
  }
  BaseLineInputs brand;
  if (model_.brands != nullptr) {
    if (const BrandRecord* r = model_.brands->Find(store.check_code)) {
      std::lock_guard lock(model_.brands->mutex());
      brand = BaseLineInputsFrom(*r);
    }
  }
  extras.brand = &brand;
  scale_ = PaintPriceChart(canvas_, s, *model_.series, *model_.window, extras);
  trend_.Reset();
  if (crosshair_ != nullptr) crosshair_->pos = QPoint(-1, -1);
  ShowWindow();
  update();
}

void ChartPaneWidget::Scrolled(bool changed) {
  if (!changed) return;
  Render();
  Q_EMIT WindowScrolled();
}

void ChartPaneWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, canvas_.image());
  const QSize size = CanvasSize();
  trend_.Paint(p, static_cast<Color>(model_.settings->color_chart[8]));
  if (crosshair_ != nullptr && crosshair_->Shown() && crosshair_->frame != nullptr) {
    const QPoint local = mapFrom(crosshair_->frame, crosshair_->pos);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(QColor(0x80, 0x80, 0x80));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawLine(local.x(), 0, local.x(), size.height() - 1);
    if (local.y() >= 0 && local.y() < size.height()) p.drawLine(0, local.y(), size.width() - 1, local.y());
  }
  Q_EMIT Painted();
}

void ChartPaneWidget::resizeEvent(QResizeEvent*) {
  PlaceScrollBar();
  Relayout();
  Q_EMIT WindowScrolled();  // the technical pane follows the new window
}

void ChartPaneWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  const SettingsStore& store = *model_.settings;
  const PriceSeries& series = *model_.series;
  if (store.check_status > 0 && series.count() > 0) {
    const int index = BarUnderPoint(*model_.window, series.count(), pt.x());
    if (index >= 0) {
      QStringList parts;
      for (const std::string& s : StatusReadout(series[index], scale_, pt.y()))
        parts << QString::fromStdString(s);
      Q_EMIT Readout(parts);
    }
  }
  if (trend_.Move(pt, store.check_wline, series, *model_.window, scale_)) {
    update();
  } else if (store.check_cross > 0 && crosshair_ != nullptr && crosshair_->frame != nullptr) {
    const QPoint framePos = mapTo(crosshair_->frame, pt);
    if (framePos != crosshair_->pos) {
      crosshair_->pos = framePos;
      Q_EMIT CrosshairMoved();
    }
  }
}

}  // namespace sorano
