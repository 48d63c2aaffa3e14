#include "ui/chart/chart_pane.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "core/chart/chart_painter.h"
#include "core/chart/price_series_load.h"
#include "core/store/brand_record.h"

namespace sorano {

namespace {

ChartKey ToChartKey(int key) {
  switch (key) {
    case Qt::Key_Left:
      return ChartKey::Left;
    case Qt::Key_Right:
      return ChartKey::Right;
    case Qt::Key_Up:
      return ChartKey::Up;
    case Qt::Key_Down:
      return ChartKey::Down;
    case Qt::Key_PageUp:
      return ChartKey::PageUp;
    case Qt::Key_PageDown:
      return ChartKey::PageDown;
    case Qt::Key_Home:
      return ChartKey::Home;
    case Qt::Key_End:
      return ChartKey::End;
    default:
      return ChartKey::Other;
  }
}

QColor PenColor(Color c) {
  return ToQColor(c);
}

}  // namespace

ChartPaneWidget::ChartPaneWidget(ChartModel model, Crosshair* crosshair, QWidget* parent)
    : QWidget(parent),
      model_(model),
      crosshair_(crosshair),
      scroll_(new QScrollBar(Qt::Horizontal, this)),
      canvas_(1, 1) {
  setObjectName("chartPane");
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  scroll_->setFocusPolicy(Qt::NoFocus);
  connect(scroll_, &QScrollBar::actionTriggered, this, &ChartPaneWidget::OnScrollAction);
}

QSize ChartPaneWidget::CanvasSize() const {
  return QSize(width(), std::max(0, height() - scroll_->sizeHint().height()));
}

void ChartPaneWidget::Relayout() {
  LayoutChartWindow(*model_.window, model_.settings->check_chsize, CanvasSize().width(),
                    model_.series->count());
  Render();
}

void ChartPaneWidget::Render() {
  const QSize size = CanvasSize();
  if (canvas_.Width() != std::max(1, size.width()) || canvas_.Height() != std::max(1, size.height())) {
    canvas_.Resize(size.width(), size.height());
  }
  const SettingsStore& store = *model_.settings;
  ChartSettings s = ChartSettingsFrom(store, model_.Monochrome());
  ChartExtras extras;
  extras.code = store.check_code;
  if (store.check_hikakuline > 0) {
    LoadPriceSeries(comparison_, store.data_folder(), store.check_hikakulinecode, store.check_ymd,
                    store.check_adjustment);
    extras.comparison = &comparison_;
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
  trend_.reset();
  drawing_ = false;
  if (crosshair_ != nullptr) crosshair_->pos = QPoint(-1, -1);
  SyncScrollBar();
  update();
}

void ChartPaneWidget::CopyToClipboard() {
  QApplication::clipboard()->setImage(canvas_.image());
}

void ChartPaneWidget::SyncScrollBar() {
  const ScrollBarState sb = ScrollBarFor(*model_.window, model_.series->count());
  QSignalBlocker block(scroll_);
  // A Windows scroll bar with a page reaches max - page + 1; QScrollBar's maximum is that last position.
  scroll_->setRange(sb.min, std::max(sb.min, sb.max - std::max(sb.page, 1) + 1));
  scroll_->setPageStep(std::max(sb.page, 1));
  scroll_->setSingleStep(5);
  scroll_->setValue(sb.pos);
}

void ChartPaneWidget::OnScrollAction(int action) {
  ScrollRequest request = ScrollRequest::Other;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      request = ScrollRequest::LineLeft;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      request = ScrollRequest::LineRight;
      break;
    case QAbstractSlider::SliderPageStepSub:
      request = ScrollRequest::PageLeft;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      request = ScrollRequest::PageRight;
      break;
    case QAbstractSlider::SliderMove:
      request = ScrollRequest::Track;
      break;
    default:
      break;
  }
  const int delta = ScrollRequestDelta(*model_.window, request, scroll_->sliderPosition());
  const bool changed = ScrollBy(*model_.window, model_.series->count(), delta);
  // The slider shows where the window is, not where Qt's own step would have put it.
  scroll_->setSliderPosition(model_.window->first);
  Scrolled(changed);
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
  if (trend_) {
    QPen pen(PenColor(static_cast<Color>(model_.settings->color_chart[8])));
    pen.setWidth(1);
    p.setPen(pen);
    p.drawLine(trend_->from.x, trend_->from.y, trend_->to.x, trend_->to.y);
  }
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
  const int h = scroll_->sizeHint().height();
  scroll_->setGeometry(0, std::max(0, height() - h), width(), std::min(h, height()));
  Relayout();
  Q_EMIT WindowScrolled();  // the technical pane follows the new window
}

void ChartPaneWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    Q_EMIT ContextMenuRequested(e->globalPosition().toPoint());
    return;
  }
  if (e->button() != Qt::LeftButton || drawing_) return;
  setFocus();
  anchor_ = e->position().toPoint();
  drawing_ = true;
  trend_.reset();
  update();
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
  if (drawing_) {
    trend_ = TrendLine(store.check_wline, {anchor_.x(), anchor_.y()}, {pt.x(), pt.y()}, series,
                       *model_.window, scale_);
    update();
  } else if (store.check_cross > 0 && crosshair_ != nullptr && crosshair_->frame != nullptr) {
    const QPoint framePos = mapTo(crosshair_->frame, pt);
    if (framePos != crosshair_->pos) {
      crosshair_->pos = framePos;
      Q_EMIT CrosshairMoved();
    }
  }
}

void ChartPaneWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && drawing_) {
    drawing_ = false;
    const int mode = model_.settings->check_wline;
    // Free and left-right lines end at the release point; up-down and fitted keep the last move's line.
    if (mode == 0 || mode == 1) {
      const QPoint pt = e->position().toPoint();
      trend_ = TrendLine(mode, {anchor_.x(), anchor_.y()}, {pt.x(), pt.y()}, *model_.series, *model_.window,
                         scale_);
    }
    update();
  }
}

void ChartPaneWidget::wheelEvent(QWheelEvent* e) {
  const int delta = e->angleDelta().y();
  if (delta != 0) Scrolled(ScrollByWheel(*model_.window, model_.series->count(), delta));
  e->accept();
}

void ChartPaneWidget::keyPressEvent(QKeyEvent* e) {
  // Keys with Ctrl, Alt or Shift belong to the window's shortcuts (Ctrl+PgDown is the next brand).
  const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  const ChartKey key = plain ? ToChartKey(e->key()) : ChartKey::Other;
  if (key == ChartKey::Other) {
    QWidget::keyPressEvent(e);
    return;
  }
  Scrolled(ScrollByKey(*model_.window, model_.series->count(), key));
}

}  // namespace sorano
