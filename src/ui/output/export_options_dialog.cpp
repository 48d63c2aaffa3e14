#include "ui/output/export_options_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/output/time_series_export.h"

namespace sorano {

ExportOptionsDialog::ExportOptionsDialog(int32_t (&toData)[14], QWidget* parent)
    : QDialog(parent), toData_(toData) {
  setObjectName("exportOptionsDialog");
  setModal(true);
  setWindowTitle(QStringLiteral("条件指定"));
  const ExportOptions o = ExportOptionsFrom(toData_);
  auto* layout = new QVBoxLayout(this);

  range_ = new QCheckBox(QStringLiteral("期間を指定する"), this);
  range_->setChecked(o.rangeOn);
  layout->addWidget(range_);
  auto* row = new QHBoxLayout;
  const int32_t values[4] = {o.fromYear, o.fromMonth, o.toYear, o.toMonth};
  const QString after[4] = {QStringLiteral("年"), QStringLiteral("月 ～"), QStringLiteral("年"),
                            QStringLiteral("月まで")};
  for (size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i] = new QLineEdit(QString::fromStdString(ExportBoxText(values[i])), this);
    boxes_[i]->setObjectName(QStringLiteral("exportRangeBox%1").arg(i));
    boxes_[i]->setMaxLength(4);
    boxes_[i]->setFixedWidth(56);
    boxes_[i]->setEnabled(o.rangeOn);
    row->addWidget(boxes_[i]);
    row->addWidget(new QLabel(after[i], this));
  }
  layout->addLayout(row);
  connect(range_, &QCheckBox::toggled, this, [this](bool on) {
    for (QLineEdit* b : boxes_) b->setEnabled(on);
  });

  header_ = new QCheckBox(QStringLiteral("ヘッダーを出力する(&H)"), this);
  header_->setChecked(o.header);
  layout->addWidget(header_);
  auto* group = new QGroupBox(QStringLiteral("出力指定"), this);
  auto* grid = new QGridLayout(group);
  for (int c = 0; c < kExportColumnCount; ++c) {
    const std::string_view title = ExportTitle(static_cast<ExportColumn>(c));
    auto* box = new QCheckBox(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())), group);
    box->setChecked(o.columns[static_cast<size_t>(c)]);
    grid->addWidget(box, c / 4, c % 4);
    columns_[static_cast<size_t>(c)] = box;
  }
  layout->addWidget(group);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &ExportOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ExportOptionsDialog::reject);
  layout->addWidget(buttons);
}

void ExportOptionsDialog::accept() {
  const std::string texts[4] = {boxes_[0]->text().toStdString(), boxes_[1]->text().toStdString(),
                                boxes_[2]->text().toStdString(), boxes_[3]->text().toStdString()};
  ExportDialogInput in{range_->isChecked(), texts[0], texts[1], texts[2], texts[3], header_->isChecked(), {}};
  for (size_t c = 0; c < columns_.size(); ++c) in.columns[c] = columns_[c]->isChecked();
  const std::optional<ExportOptions> o = AcceptExportDialog(ExportOptionsFrom(toData_), in);
  if (!o) return;  // an invalid range keeps the dialog open
  StoreExportOptions(*o, toData_);
  QDialog::accept();
}

}  // namespace sorano
