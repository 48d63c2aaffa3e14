#include "ui/portfolio/portfolio_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace sorano {
namespace {

QString U(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The dialogs read at most 63 characters of a box.
constexpr int kBoxLength = 63;

template <typename Boxes>
bool Run(QWidget* owner, const Form<Boxes>& form, Boxes boxes, const AcceptBoxes<Boxes>& accept) {
  FormDialog dialog(form.title, owner);
  for (const FormLine<Boxes>& line : form.lines) {
    std::vector<std::string*> texts = {&(boxes.*line.box)};
    if (line.month) texts.push_back(&(boxes.*line.month));
    if (line.day) texts.push_back(&(boxes.*line.day));
    dialog.AddLine(line.label, texts, line.readOnly);
  }
  dialog.onAccept = [&] { return accept(boxes); };
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

FormDialog::FormDialog(std::string_view title, QWidget* parent) : QDialog(parent) {
  setObjectName("portfolioDialog");
  setWindowTitle(U(title));
  auto* layout = new QVBoxLayout(this);
  grid_ = new QGridLayout;
  layout->addLayout(grid_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &FormDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &FormDialog::reject);
  layout->addWidget(buttons);
}

void FormDialog::AddLine(std::string_view label, const std::vector<std::string*>& texts, bool readOnly) {
  static const QString kDateParts[] = {QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("日")};
  const int row = grid_->rowCount();
  grid_->addWidget(new QLabel(U(label), this), row, 0);
  auto* boxes = new QHBoxLayout;
  const bool date = texts.size() == 3;
  for (size_t i = 0; i < texts.size(); ++i) {
    auto* box = new QLineEdit(QString::fromStdString(*texts[i]), this);
    box->setObjectName(QStringLiteral("box%1").arg(boxes_.size()));
    box->setMaxLength(kBoxLength);
    box->setEnabled(!readOnly);
    box->setFixedWidth(date ? 56 : 120);
    boxes->addWidget(box);
    if (date) boxes->addWidget(new QLabel(kDateParts[i], this));
    boxes_.push_back(box);
    texts_.push_back(texts[i]);
  }
  boxes->addStretch();
  grid_->addLayout(boxes, row, 1);
}

void FormDialog::accept() {
  for (size_t i = 0; i < boxes_.size(); ++i) *texts_[i] = boxes_[i]->text().toStdString();
  if (!onAccept || onAccept()) QDialog::accept();
}

bool PortfolioDialogs::RunHoldingDialog(const Form<HoldingBoxes>& form, const HoldingBoxes& boxes,
                                        const AcceptBoxes<HoldingBoxes>& accept) {
  return Run(owner_, form, boxes, accept);
}

bool PortfolioDialogs::RunSellDialog(const SellBoxes& boxes, const AcceptBoxes<SellBoxes>& accept) {
  return Run(owner_, SellForm(), boxes, accept);
}

bool PortfolioDialogs::RunTradeDialog(const TradeBoxes& boxes, const AcceptBoxes<TradeBoxes>& accept) {
  return Run(owner_, TradeEditForm(), boxes, accept);
}

}  // namespace sorano
