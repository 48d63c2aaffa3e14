#pragma once
// The export options dialog "条件指定": the range of months (with its switch "期間を指定する"), the
// header switch and one switch per column in the group "出力指定", on the settings' check_to_data.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <array>
#include <cstdint>

#include "core/output/export_options.h"

namespace sorano {

class ExportOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  ExportOptionsDialog(int32_t (&toData)[14], QWidget* parent = nullptr);

  QCheckBox* rangeBox() const { return range_; }
  // The from-year, from-month, to-year and to-month boxes.
  QLineEdit* box(int i) const { return boxes_[static_cast<size_t>(i)]; }
  QCheckBox* headerBox() const { return header_; }
  QCheckBox* columnBox(ExportColumn c) const { return columns_[static_cast<size_t>(c)]; }

 public Q_SLOTS:
  // OK: stays open on an invalid range (AcceptExportDialog), otherwise stores the options and closes.
  void accept() override;

 private:
  int32_t (&toData_)[14];
  QCheckBox* range_ = nullptr;
  std::array<QLineEdit*, 4> boxes_{};
  QCheckBox* header_ = nullptr;
  std::array<QCheckBox*, kExportColumnCount> columns_{};
};

}  // namespace sorano
