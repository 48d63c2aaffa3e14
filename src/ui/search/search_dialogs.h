#pragma once
// "コード・企業名から検索" and "銘柄スクリーニング" (run by the search band for the search commands).
// The screening's boxes are laid out by walking core's table of conditions.
#include <QDialog>
#include <array>

#include "core/app/search_view.h"

class QComboBox;
class QLineEdit;

namespace sorano {

class SearchDialog : public QDialog {
 public:
  explicit SearchDialog(QWidget* parent = nullptr);
  QLineEdit* codeBox() const { return code_; }
  QLineEdit* nameBox() const { return name_; }
  SearchBoxes boxes() const;

 private:
  QLineEdit* code_ = nullptr;
  QLineEdit* name_ = nullptr;
};

class ScreeningDialog : public QDialog {
 public:
  ScreeningDialog(const ScreeningSelections& selections, QWidget* parent = nullptr);
  // The box of condition i (screening::kMarket1 ...).
  QComboBox* box(int condition) const { return boxes_.at(static_cast<size_t>(condition)); }
  ScreeningSelections selections() const;

 private:
  std::array<QComboBox*, screening::kCount> boxes_{};
};

}  // namespace sorano
