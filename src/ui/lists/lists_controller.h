#pragma once
// The tree pane, the list pane and the floating memo window together: the ListsView through which core
// tells them what to show, and the wiring of their events to core (lists_area.h) and to the commands.
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

#include "core/app/shell.h"
#include "core/app/workspace.h"
#include "core/prompt/prompt.h"
#include "ui/lists/memo_window.h"

namespace sorano {

class ListPane;
class TreePane;

class ListsController : public QObject, public ListsView {
 public:
  struct Menus {
    QMenu* tree = nullptr;  // "ツリー側": its actions are offered as TreeMenuCommands says
    std::array<QMenu*, 4> list{};  // "銘柄メニュー", "メモメニュー", "口座メニュー", "履歴メニュー"
    std::function<QAction*(int)> action;  // the window's action of a command
  };

  // Opens the lists (OpenLists: folders, size classes, memo, remembered node) and builds both panes
  // as children of parent; the list stays empty until FillFirstList.
  ListsController(Workspace& ws, Shell& shell, Prompt& prompt, Menus menus, QWidget* parent);
  // Fills the list for the remembered node (core FillFirstList), once the first chart frame is shown.
  void FillFirstList();

  TreePane* tree() const { return tree_; }
  ListPane* list() const { return list_; }
  MemoWindow* memoWindow() const { return memoWindow_; }

  // Both panes take the list colours of the settings as they now stand (color_list00 behind the
  // rows and the tree, color_list02 for their text).
  void ShowColours();

  // ---- ListsView ----
  void ShowFolders() override;
  void ShowTreeNode() override;
  void ShowList(ListChange change) override;
  void ShowMemo() override;
  void ShowPage() override;
  std::vector<int> SelectedRows() const override;
  void EditFolderName(NodeId node) override;
  void ExpandNode(NodeId node) override;
  std::optional<std::string> AskCode() override;
  void EditMemo(MemoAction action) override;
  void OpenMemoWindow() override;
  bool StartProgram(const std::string& program, const std::string& argument) override;

 private:
  void Run(int id);
  void PopUp(QMenu* menu, const QPoint& global);

  Workspace& ws_;
  Shell& shell_;
  Prompt& prompt_;
  Menus menus_;
  TreePane* tree_ = nullptr;
  ListPane* list_ = nullptr;
  QPointer<MemoWindow> memoWindow_;
};

}  // namespace sorano
