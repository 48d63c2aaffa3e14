#pragma once
// The percentage chart (chart mode 1) and the comparison chart (mode 2) of the chart area: the core
// painter draws into a QtCanvas back buffer; the pane scrolls the shared ChartWindow (scroll bar,
// keys, wheel), rubber-bands trend lines over the picture, and opens and closes the comparison-code
// window as the layout says.
#include <QPointer>
#include <QScrollBar>
#include <QWidget>

#include "core/app/pane_layout.h"
#include "ui/chart/chart_model.h"
#include "ui/chart/chart_pane_tools.h"
#include "ui/chart/comparison_code_dialog.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {

class ComparisonPaneWidget : public QWidget {
  Q_OBJECT
 public:
  explicit ComparisonPaneWidget(ChartModel model, QWidget* parent = nullptr);
  ~ComparisonPaneWidget() override;

  // Paints the back buffer again in the mode of check_bview (the comparison chart for 2, the
  // percentage chart otherwise); a drawn trend line is gone.
  void Render();
  const QImage& Picture() { return canvas_.image(); }
  QSize CanvasSize() const;
  QScrollBar* ScrollBar() const { return scroll_; }

  // The comparison-code window "比較チャート".
  void ApplyCodeWindow(CodeWindowAction action);
  bool CodeWindowOpen() const { return codes_ != nullptr && codes_->isVisible(); }
  ComparisonCodeDialog* codeWindow() const { return codes_; }

 Q_SIGNALS:
  void ContextMenuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  void Scrolled(bool changed);

  ChartModel model_;
  QScrollBar* scroll_;
  QtCanvas canvas_;
  PriceScale scale_;
  TrendLineTool trend_;
  QPointer<ComparisonCodeDialog> codes_;
};

}  // namespace sorano
