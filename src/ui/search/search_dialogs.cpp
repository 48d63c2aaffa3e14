#include "ui/search/search_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace sorano {
namespace {

QString U(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(dialog);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

SearchDialog::SearchDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("searchDialog");
  setWindowTitle(QStringLiteral("コード・企業名から検索"));
  auto* layout = new QVBoxLayout(this);
  code_ = new QLineEdit(this);
  code_->setObjectName("searchCode");
  code_->setMaxLength(4);
  code_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), code_));
  name_ = new QLineEdit(this);
  name_->setObjectName("searchName");
  layout->addWidget(new QLabel(QStringLiteral("コードから検索いたします"), this));
  layout->addWidget(code_);
  layout->addWidget(new QLabel(QStringLiteral("企業名から検索いたします"), this));
  layout->addWidget(name_);
  layout->addWidget(OkCancel(this));
  setMinimumWidth(280);
}

SearchBoxes SearchDialog::boxes() const {
  return {code_->text().toStdString(), name_->text().toStdString()};
}

ScreeningDialog::ScreeningDialog(const ScreeningSelections& selections, QWidget* parent) : QDialog(parent) {
  setObjectName("screeningDialog");
  setWindowTitle(QStringLiteral("銘柄スクリーニング"));
  for (int i = 0; i < screening::kCount; ++i) {
    auto* box = new QComboBox(this);
    box->setObjectName(QStringLiteral("condition%1").arg(i));
    for (std::string_view entry : ScreeningEntries(i)) box->addItem(U(entry));
    box->setCurrentIndex(std::clamp(selections[static_cast<size_t>(i)], 0, box->count() - 1));
    boxes_[static_cast<size_t>(i)] = box;
  }

  // 資本関連: the three market boxes and the three sector boxes in a group each, then unit value and
  // capitalisation; 業績関連: the eight ratios in two columns.
  auto* capital = new QGroupBox(QStringLiteral("資本関連"), this);
  auto* capitalLayout = new QVBoxLayout(capital);
  for (int first : {screening::kMarket1, screening::kSector1}) {
    auto* group = new QGroupBox(U(ScreeningLabel(first)), capital);
    auto* row = new QHBoxLayout(group);
    for (int i = first; i < first + 3; ++i) row->addWidget(box(i));
    capitalLayout->addWidget(group);
  }
  auto* sizes = new QFormLayout;
  for (int i : {screening::kUnitValue, screening::kMarketCap}) sizes->addRow(U(ScreeningLabel(i)), box(i));
  capitalLayout->addLayout(sizes);

  auto* results = new QGroupBox(QStringLiteral("業績関連"), this);
  auto* columns = new QHBoxLayout(results);
  constexpr int kRatios = screening::kCount - screening::kFirstRatio;
  for (int half = 0; half < 2; ++half) {
    auto* column = new QFormLayout;
    for (int k = 0; k < kRatios / 2; ++k) {
      const int i = screening::kFirstRatio + half * (kRatios / 2) + k;
      column->addRow(U(ScreeningLabel(i)), box(i));
    }
    columns->addLayout(column);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("全銘柄から指定条件によって検索いたします。"), this));
  layout->addWidget(capital);
  layout->addWidget(results);
  layout->addWidget(OkCancel(this));
}

ScreeningSelections ScreeningDialog::selections() const {
  ScreeningSelections s{};
  for (size_t i = 0; i < s.size(); ++i) s[i] = boxes_[i]->currentIndex();
  return s;
}

}  // namespace sorano
