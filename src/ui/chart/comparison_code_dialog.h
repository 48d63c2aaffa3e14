#pragma once
// The modeless window "比較チャート": the three brand codes the comparison chart draws beside the shown
// brand (check_hikaku_code00-02). OK stores them, an empty box as 0 (no brand), and has the chart
// painted again; the window stays open until the chart area leaves the comparison chart.
#include <QDialog>
#include <QLineEdit>
#include <array>
#include <cstdint>
#include <functional>

namespace sorano {

class ComparisonCodeDialog : public QDialog {
  Q_OBJECT
 public:
  ComparisonCodeDialog(int32_t (&codes)[3], std::function<void()> stored, QWidget* parent = nullptr);

  QLineEdit* box(int i) const { return boxes_[static_cast<size_t>(i)]; }
  // Takes the boxes into the codes and calls `stored`.
  void Store();

 private:
  int32_t (&codes_)[3];
  std::function<void()> stored_;
  std::array<QLineEdit*, 3> boxes_{};
};

}  // namespace sorano
