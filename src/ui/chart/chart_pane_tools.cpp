#include "ui/chart/chart_pane_tools.h"

#include <QAbstractSlider>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

#include "ui/gfx/qt_canvas.h"

namespace sorano {

ChartKey ChartKeyOf(const QKeyEvent& e) {
  if ((e.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return ChartKey::Other;
  switch (e.key()) {
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

ScrollRequest ScrollRequestOf(int sliderAction) {
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollRequest::LineLeft;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollRequest::LineRight;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollRequest::PageLeft;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollRequest::PageRight;
    case QAbstractSlider::SliderMove:
      return ScrollRequest::Track;
    default:
      return ScrollRequest::Other;
  }
}

void ShowWindowOnScrollBar(QScrollBar& bar, const ChartWindow& w, int count) {
  const ScrollBarState sb = ScrollBarFor(w, count);
  QSignalBlocker block(&bar);
  // A Windows scroll bar with a page reaches max - page + 1; QScrollBar's maximum is that last position.
  bar.setRange(sb.min, std::max(sb.min, sb.max - std::max(sb.page, 1) + 1));
  bar.setPageStep(std::max(sb.page, 1));
  bar.setSingleStep(5);
  bar.setValue(sb.pos);
}

bool ScrollFromBar(QScrollBar& bar, int action, ChartWindow& w, int count) {
  const int delta = ScrollRequestDelta(w, ScrollRequestOf(action), bar.sliderPosition());
  const bool changed = ScrollBy(w, count, delta);
  bar.setSliderPosition(w.first);
  return changed;
}

void TrendLineTool::Press(QPoint at) {
  if (drawing_) return;
  anchor_ = at;
  drawing_ = true;
  line_.reset();
}

bool TrendLineTool::Move(QPoint at, int mode, const PriceSeries& series, const ChartWindow& w,
                         const PriceScale& scale) {
  if (!drawing_) return false;
  line_ = TrendLine(mode, {anchor_.x(), anchor_.y()}, {at.x(), at.y()}, series, w, scale);
  return true;
}

bool TrendLineTool::Release(QPoint at, int mode, const PriceSeries& series, const ChartWindow& w,
                            const PriceScale& scale) {
  if (!drawing_) return false;
  drawing_ = false;
  // Free and left-right lines end at the release point; up-down and fitted keep the last move's line.
  if (mode == 0 || mode == 1)
    line_ = TrendLine(mode, {anchor_.x(), anchor_.y()}, {at.x(), at.y()}, series, w, scale);
  return true;
}

void TrendLineTool::Reset() {
  drawing_ = false;
  line_.reset();
}

void TrendLineTool::Paint(QPainter& p, uint32_t color) const {
  if (!line_) return;
  QPen pen(ToQColor(color));
  pen.setWidth(1);
  p.setPen(pen);
  p.drawLine(line_->from.x, line_->from.y, line_->to.x, line_->to.y);
}

ScrolledChartPane::ScrolledChartPane(ChartModel model, QWidget* parent)
    : QWidget(parent), model_(model), scroll_(new QScrollBar(Qt::Horizontal, this)), canvas_(1, 1) {
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  scroll_->setFocusPolicy(Qt::NoFocus);
  connect(scroll_, &QScrollBar::actionTriggered, this, [this](int action) {
    Scrolled(ScrollFromBar(*scroll_, action, *model_.window, model_.series->count()));
  });
}

QSize ScrolledChartPane::CanvasSize() const {
  return QSize(width(), std::max(0, height() - scroll_->sizeHint().height()));
}

void ScrolledChartPane::FitCanvas() {
  const QSize size = CanvasSize();
  if (canvas_.Width() != std::max(1, size.width()) || canvas_.Height() != std::max(1, size.height()))
    canvas_.Resize(size.width(), size.height());
}

void ScrolledChartPane::ShowWindow() {
  ShowWindowOnScrollBar(*scroll_, *model_.window, model_.series->count());
}

void ScrolledChartPane::PlaceScrollBar() {
  const int h = scroll_->sizeHint().height();
  scroll_->setGeometry(0, std::max(0, height() - h), width(), std::min(h, height()));
}

void ScrolledChartPane::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    ContextMenuAt(e->globalPosition().toPoint());
    return;
  }
  if (e->button() != Qt::LeftButton || trend_.drawing()) return;
  setFocus();
  trend_.Press(e->position().toPoint());
  update();
}

void ScrolledChartPane::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && trend_.Release(e->position().toPoint(), model_.settings->check_wline,
                                                      *model_.series, *model_.window, scale_))
    update();
}

void ScrolledChartPane::wheelEvent(QWheelEvent* e) {
  const int delta = e->angleDelta().y();
  if (delta != 0) Scrolled(ScrollByWheel(*model_.window, model_.series->count(), delta));
  e->accept();
}

void ScrolledChartPane::keyPressEvent(QKeyEvent* e) {
  // Keys with Ctrl, Alt or Shift belong to the window's shortcuts (Ctrl+PgDown is the next brand).
  const ChartKey key = ChartKeyOf(*e);
  if (key == ChartKey::Other) {
    QWidget::keyPressEvent(e);
    return;
  }
  Scrolled(ScrollByKey(*model_.window, model_.series->count(), key));
}

}  // namespace sorano
