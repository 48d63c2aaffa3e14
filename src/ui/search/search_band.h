#pragma once
// Band 2 of the bands: the code box (up to four digits: a brand is shown as soon as four are typed; it
// shows the code of every brand shown), the name box and "検索", which lists the brands whose name
// holds the name box's text. It is the search commands' SearchView: it runs their dialogs.
#include <QToolBar>

#include "core/app/search_view.h"
#include "core/app/shell.h"
#include "core/app/workspace.h"
#include "core/prompt/prompt.h"

class QLineEdit;
class QPushButton;

namespace sorano {

class SearchBand : public QToolBar, public SearchView {
 public:
  SearchBand(Workspace& ws, Shell& shell, Prompt& prompt, QWidget* parent);

  std::optional<SearchBoxes> RunSearchDialog() override;
  bool RunScreeningDialog(ScreeningSelections& selections) override;
  void ShowCode(std::string_view text) override;

  QLineEdit* codeBox() const { return codeBox_; }
  QLineEdit* nameBox() const { return nameBox_; }
  QPushButton* searchButton() const { return button_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CodeEdited(const QString& text);
  void SearchName();

  Workspace& ws_;
  Shell& shell_;
  Prompt& prompt_;
  QLineEdit* codeBox_ = nullptr;
  QLineEdit* nameBox_ = nullptr;
  QPushButton* button_ = nullptr;
};

}  // namespace sorano
