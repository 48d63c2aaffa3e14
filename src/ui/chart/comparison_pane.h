#pragma once
// The percentage chart (chart mode 1) and the comparison chart (mode 2) of the chart area: the core
// painter draws into a QtCanvas back buffer; the pane scrolls the shared ChartWindow (scroll bar,
// keys, wheel), rubber-bands trend lines over the picture, and opens and closes the comparison-code
// window as the layout says.
#include <QPointer>

#include "core/app/pane_layout.h"
#include "ui/chart/chart_pane_tools.h"
#include "ui/chart/comparison_code_dialog.h"

namespace sorano {

class ComparisonPaneWidget : public ScrolledChartPane {
  Q_OBJECT
 public:
  explicit ComparisonPaneWidget(ChartModel model, QWidget* parent = nullptr);
  ~ComparisonPaneWidget() override;

  // Paints the back buffer again in the mode of check_bview (the comparison chart for 2, the
  // percentage chart otherwise); a drawn trend line is gone.
  void Render();

  // The comparison-code window "比較チャート".
  void ApplyCodeWindow(CodeWindowAction action);
  bool CodeWindowOpen() const { return codes_ != nullptr && codes_->isVisible(); }
  ComparisonCodeDialog* codeWindow() const { return codes_; }

 Q_SIGNALS:
  void ContextMenuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void Scrolled(bool changed) override;
  void ContextMenuAt(const QPoint& globalPos) override { Q_EMIT ContextMenuRequested(globalPos); }

 private:
  QPointer<ComparisonCodeDialog> codes_;
};

}  // namespace sorano
