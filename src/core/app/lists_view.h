#pragma once
// What the tree, list and memo commands need from their panes beyond the Shell: the brand tree, the
// list pane with its tabs and memo editor, and the floating memo window. The desktop layer's lists
// controller (ui/lists) implements it; tests record the calls. Core keeps the state (Workspace::treeNode,
// list, memo); the panes show it and report the user's actions through lists_area.h.
#include <optional>
#include <string>
#include <vector>

#include "core/lists/brand_tree.h"

namespace sorano {

enum class MemoAction { kUndo, kCut, kCopy, kPaste, kSelectAll };

// How the list's rows changed for ShowList.
enum class ListChange {
  kNewRows,     // another source: nothing stays selected
  kSameSource,  // the same source filled again or sorted: rows of the selected codes stay selected
};

class ListsView {
 public:
  virtual ~ListsView() = default;

  // The folders changed: show the folder nodes under お気に入り again and select Workspace::treeNode.
  virtual void ShowFolders() = 0;
  // Workspace::treeNode changed outside the tree: the tree highlights it, or no node when it is none.
  virtual void ShowTreeNode() = 0;
  // The list's rows, column set or order changed.
  virtual void ShowList(ListChange change) = 0;
  // The memo session holds a newly loaded memo: the editor shows it (this is not an edit).
  virtual void ShowMemo() = 0;
  // check_tab or check_tab_num changed: tabs shown or hidden, the list or the memo editor.
  virtual void ShowPage() = 0;
  // The list's selected rows, in row order.
  virtual std::vector<int> SelectedRows() const = 0;

  // Start editing a folder node's name in place (the tree reports the end through RenameFolder).
  virtual void EditFolderName(NodeId node) = 0;
  virtual void ExpandNode(NodeId node) = 0;
  // The dialog "銘柄の追加" ("コードを入力してください", at most four characters): the text entered, or
  // nothing when cancelled.
  virtual std::optional<std::string> AskCode() = 0;
  // An editing command on the memo editor.
  virtual void EditMemo(MemoAction action) = 0;
  // Opens the floating memo window on the shown brand's memo, or brings the open one to the front.
  virtual void OpenMemoWindow() = 0;
  // Starts program with exactly one argument, without a shell. False when it cannot be started.
  virtual bool StartProgram(const std::string& program, const std::string& argument) = 0;
};

}  // namespace sorano
