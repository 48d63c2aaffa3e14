#include "ui/chart/comparison_pane.h"

#include <QMouseEvent>
#include <QPainter>
#include <array>

#include "core/chart/comparison_painter.h"
#include "core/chart/price_series_load.h"

namespace sorano {

ComparisonPaneWidget::ComparisonPaneWidget(ChartModel model, QWidget* parent)
    : ScrolledChartPane(model, parent) {
  setObjectName("comparisonPane");
}

ComparisonPaneWidget::~ComparisonPaneWidget() {
  delete codes_;
}

void ComparisonPaneWidget::Render() {
  FitCanvas();
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
  ShowWindow();
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
  PlaceScrollBar();
  Render();
}

void ComparisonPaneWidget::mouseMoveEvent(QMouseEvent* e) {
  if (trend_.Move(e->position().toPoint(), model_.settings->check_wline, *model_.series, *model_.window,
                  scale_))
    update();
}

}  // namespace sorano
