#pragma once
// The list pane: the brand list (a QTableView over ListTableModel, fixed row height, no widgets per
// row), the memo editor of the memo page, and the four page tabs along the bottom. It shows what the
// Workspace holds and reports the user's actions through its callbacks.
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <set>
#include <vector>

#include "core/app/lists_view.h"
#include "core/app/workspace.h"
#include "ui/lists/list_table_model.h"

namespace sorano {

class ListPane : public QWidget {
 public:
  ListPane(Workspace& ws, QWidget* parent);

  void ShowList(ListChange change);
  void ShowMemo();
  void ShowPage();
  std::vector<int> SelectedRows() const;

  QTableView* table() const { return table_; }
  QPlainTextEdit* memo() const { return memo_; }
  QTabBar* tabs() const { return tabs_; }
  ListTableModel* model() const { return model_; }

  // The current row changed (reported once the event queue is empty, so that a held arrow key loads
  // one brand, not one per step).
  std::function<void(int row)> onRowSelected;
  // A command of the pane: a double click (32871), the Delete key, a tab.
  std::function<void(int id)> onCommand;
  std::function<void(int column)> onSort;
  // Right click on the list (onMemo false) or the memo editor.
  std::function<void(bool onMemo, const QPoint& global)> onMenu;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void LayOut();
  void ApplyColumnWidths();
  void MemoTextChanged();
  void RememberSelection();

  Workspace& ws_;
  QTableView* table_ = nullptr;
  ListTableModel* model_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QTimer selectTimer_;
  bool quiet_ = false;  // the pane itself changes the selection, widths or memo text
  QString memoShown_;   // the memo text as last accepted
  std::set<int32_t> selectedCodes_;
  int32_t currentCode_ = -1;
};

}  // namespace sorano
