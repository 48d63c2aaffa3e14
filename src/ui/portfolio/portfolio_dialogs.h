#pragma once
// The dialogs of the account and the history ("口座買付", "口座編集", "口座売付", "履歴編集"), each a
// FormDialog laid out by walking its core Form, and the PortfolioView that runs them. OK hands the
// boxes to core, which says whether the dialog closes.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/app/portfolio_view.h"

class QGridLayout;
class QLineEdit;

namespace sorano {

class FormDialog : public QDialog {
 public:
  FormDialog(std::string_view title, QWidget* parent);

  // A line of boxes under a label; each box edits one of texts (three: a date, with 年 月 日).
  void AddLine(std::string_view label, const std::vector<std::string*>& texts, bool readOnly);
  // Called on OK after the boxes were copied into their texts: true closes the dialog.
  std::function<bool()> onAccept;

  // The boxes in line order.
  const std::vector<QLineEdit*>& boxes() const { return boxes_; }
  void accept() override;

 private:
  std::vector<QLineEdit*> boxes_;
  std::vector<std::string*> texts_;
  QGridLayout* grid_ = nullptr;
};

class PortfolioDialogs : public PortfolioView {
 public:
  explicit PortfolioDialogs(QWidget* owner) : owner_(owner) {}
  bool RunHoldingDialog(const Form<HoldingBoxes>& form, const HoldingBoxes& boxes,
                        const AcceptBoxes<HoldingBoxes>& accept) override;
  bool RunSellDialog(const SellBoxes& boxes, const AcceptBoxes<SellBoxes>& accept) override;
  bool RunTradeDialog(const TradeBoxes& boxes, const AcceptBoxes<TradeBoxes>& accept) override;

 private:
  QWidget* owner_;
};

}  // namespace sorano
