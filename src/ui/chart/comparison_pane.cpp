#include "ui/chart/comparison_pane.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <array>

#include "core/chart/comparison_painter.h"
#include "core/chart/price_series_load.h"

namespace sorano {

ComparisonPaneWidget::ComparisonPaneWidget(ChartModel model, QWidget* parent)
    : QWidget(parent), model_(model), scroll_(new QScrollBar(Qt::Horizontal, this)), canvas_(1, 1) {
  setObjectName("comparisonPane");
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  scroll_->setFocusPolicy(Qt::NoFocus);
  connect(scroll_, &QScrollBar::actionTriggered, this, [this](int action) {
    Scrolled(ScrollFromBar(*scroll_, action, *model_.window, model_.series->count()));
  });
}

ComparisonPaneWidget::~ComparisonPaneWidget() {
  delete codes_;
}

QSize ComparisonPaneWidget::CanvasSize() const {
  return QSize(width(), std::max(0, height() - scroll_->sizeHint().height()));
}

void ComparisonPaneWidget::Render() {
  const QSize size = CanvasSize();
  if (canvas_.Width() != std::max(1, size.width()) || canvas_.Height() != std::max(1, size.height()))
    canvas_.Resize(size.width(), size.height());
  const SettingsStore& store = *model_.settings;
  SetChartSize(*model_.window, store.check_chsize);
  std::array<const PriceSeries*, ComparisonSeriesSet::kSlots> others{};
  const ComparisonMode mode =
      store.check_bview == 2 ? ComparisonMode::kComparison : ComparisonMode::kPercentage;
  if (mode == ComparisonMode::kComparison && model_.comparisons != nullptr) {
    for (int i = 0; i < ComparisonSeriesSet::kSlots; ++i)
      others[static_cast<size_t>(i)] = model_.comparisons->Get(
          i, store.data_folder(), store.check_hikaku_code[i], store.check_ymd, store.check_adjustment);
  }
  scale_ = PaintComparisonChart(canvas_, ChartSettingsFrom(store, model_.Monochrome()), mode, *model_.series,
                                *model_.window, others);
  trend_.Reset();
  ShowWindowOnScrollBar(*scroll_, *model_.window, model_.series->count());
  update();
}

void ComparisonPaneWidget::ApplyCodeWindow(CodeWindowAction action) {
  if (action == CodeWindowAction::kClose && codes_ != nullptr) codes_->hide();
  if (action != CodeWindowAction::kOpen) return;
  if (codes_ == nullptr)
    codes_ = new ComparisonCodeDialog(
        model_.settings->check_hikaku_code, [this] { Render(); }, window());
  codes_->show();
  codes_->raise();
}

void ComparisonPaneWidget::Scrolled(bool changed) {
  if (changed) Render();
}

void ComparisonPaneWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, canvas_.image());
  trend_.Paint(p, static_cast<Color>(model_.settings->color_chart[8]));
}

void ComparisonPaneWidget::resizeEvent(QResizeEvent*) {
  const int h = scroll_->sizeHint().height();
  scroll_->setGeometry(0, std::max(0, height() - h), width(), std::min(h, height()));
  Render();
}

void ComparisonPaneWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    Q_EMIT ContextMenuRequested(e->globalPosition().toPoint());
    return;
  }
  if (e->button() != Qt::LeftButton || trend_.drawing()) return;
  setFocus();
  trend_.Press(e->position().toPoint());
  update();
}

void ComparisonPaneWidget::mouseMoveEvent(QMouseEvent* e) {
  if (trend_.Move(e->position().toPoint(), model_.settings->check_wline, *model_.series, *model_.window,
                  scale_))
    update();
}

void ComparisonPaneWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && trend_.Release(e->position().toPoint(), model_.settings->check_wline,
                                                      *model_.series, *model_.window, scale_))
    update();
}

void ComparisonPaneWidget::wheelEvent(QWheelEvent* e) {
  const int delta = e->angleDelta().y();
  if (delta != 0) Scrolled(ScrollByWheel(*model_.window, model_.series->count(), delta));
  e->accept();
}

void ComparisonPaneWidget::keyPressEvent(QKeyEvent* e) {
  const ChartKey key = ChartKeyOf(*e);
  if (key == ChartKey::Other) {
    QWidget::keyPressEvent(e);
    return;
  }
  Scrolled(ScrollByKey(*model_.window, model_.series->count(), key));
}

}  // namespace sorano
