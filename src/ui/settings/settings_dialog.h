#pragma once
// The settings sheet "環境設定": a tab per page, laid out by walking core's tables of fields, check
// boxes and colour families; every edit goes into the SettingsSheet, which the command applies on OK.
#include <QDialog>
#include <QPushButton>
#include <vector>

#include "core/app/settings_sheet_view.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace sorano {

// A button painted entirely with its colour.
class ColourButton : public QPushButton {
  Q_OBJECT
 public:
  explicit ColourButton(QWidget* parent = nullptr);
  void SetColour(int32_t colour);
  int32_t colour() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int32_t colour_ = 0;
};

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  SettingsDialog(SettingsSheet& sheet, QWidget* parent = nullptr);

  QTabWidget* tabs() const { return tabs_; }
  // Field i of SheetFields(), box i of SheetCheckBoxes(), button of element e of colour family f.
  QLineEdit* field(size_t i) const { return fields_.at(i); }
  QCheckBox* box(size_t i) const { return boxes_.at(i); }
  ColourButton* colourButton(size_t family, size_t element) const { return colours_.at(family).at(element); }
  QPushButton* okButton() const { return ok_; }

  // OK: a field whose text cannot be stored is shown with its message and the sheet stays open.
  void accept() override;

 private:
  QWidget* BuildPage(int page);
  void ChooseColour(size_t family, size_t element);
  void ChooseFont();
  void ShowFont();
  void Browse(size_t field);

  SettingsSheet& sheet_;
  QTabWidget* tabs_ = nullptr;
  QPushButton* ok_ = nullptr;
  QLabel* font_ = nullptr;
  std::vector<QLineEdit*> fields_;
  std::vector<QCheckBox*> boxes_;
  std::vector<std::vector<ColourButton*>> colours_;
};

// The view the settings command runs the sheet through.
class SettingsSheetRunner : public SettingsSheetView {
 public:
  explicit SettingsSheetRunner(QWidget* owner) : owner_(owner) {}
  bool RunSettingsSheet(SettingsSheet& sheet) override;

 private:
  QWidget* owner_;
};

}  // namespace sorano
