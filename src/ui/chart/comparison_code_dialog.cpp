#include "ui/chart/comparison_code_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/text/numbers.h"

namespace sorano {

ComparisonCodeDialog::ComparisonCodeDialog(int32_t (&codes)[3], std::function<void()> stored, QWidget* parent)
    : QDialog(parent, Qt::Tool), codes_(codes), stored_(std::move(stored)) {
  setObjectName("comparisonCodeDialog");
  setWindowTitle(QStringLiteral("比較チャート"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("比較したいコードを入力してください。"), this));
  auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this);
  for (size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i] = new QLineEdit(codes_[i] != 0 ? QString::number(codes_[i]) : QString(), this);
    boxes_[i]->setObjectName(QStringLiteral("comparisonCode%1").arg(i));
    boxes_[i]->setValidator(validator);
    boxes_[i]->setMaxLength(4);
    layout->addWidget(boxes_[i]);
  }
  layout->addWidget(new QLabel(QStringLiteral("消したい場合には、空白にしてください。"), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &ComparisonCodeDialog::Store);
  layout->addWidget(buttons);
}

void ComparisonCodeDialog::Store() {
  for (size_t i = 0; i < boxes_.size(); ++i) codes_[i] = LeadingInt(boxes_[i]->text().toStdString());
  if (stored_) stored_();
}

}  // namespace sorano
