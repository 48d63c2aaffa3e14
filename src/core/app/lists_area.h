#pragma once
// What the tree, list and memo panes report to core, and what they ask of it. Each function changes
// the Workspace and tells the panes through shell.Lists() what to show again; messages go through the
// Prompt. The commands of these areas are carried out in tree_commands.cpp, list_commands.cpp and
// memo_commands.cpp (command_area.h).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/shell.h"
#include "core/app/workspace.h"
#include "core/prompt/prompt.h"

namespace sorano {

// Messages (UTF-8).
inline constexpr std::string_view kMsgNoItemSelected = "項目が選択されていません";
inline constexpr std::string_view kMsgMemoNotSaved =
    "メモを保存できませんでした。\r\n入力した内容は画面に残っています。";
inline constexpr std::string_view kMsgExitWithoutMemo =
    "メモを保存できませんでした。\r\n保存しないで終了しますか？";
inline constexpr std::string_view kMsgEditorNotStarted =
    "エディタを起動できませんでした。\r\n環境設定のエディタの設定を確認してください。";
// The file of the exchange's size classes, shipped beside default.dat.
inline constexpr std::string_view kSizeClassFile = "size_class.dat";

// The panes are made: the folders and the size classes are read, the memo of check_code is loaded,
// and the node remembered in check_tree_hItem (コード別 > すべて when it names none) becomes the
// selected node. The list stays empty until FillFirstList.
void OpenLists(Workspace& ws, Prompt& prompt, const std::string& sizeClassPath);
// The list is filled for the selected node and shown, unless it shows rows of a source already (the
// user chose one first). The desktop calls it once the first chart frame is on the screen: a list of
// some thousand brands is not what a user waits for at start.
void FillFirstList(Workspace& ws, Shell& shell, Prompt& prompt);

// The user selected a node of the tree: a pending memo edit is saved, check_tree_hItem remembers the
// node, and the list is filled with its rows.
void SelectTreeNode(Workspace& ws, Shell& shell, Prompt& prompt, NodeId node);
// The list shows the rows of another source (a search result): no node stands for them, so the tree
// highlights none (Workspace::treeNode is cleared) and a click on any node, also the one selected
// before, fills the list with it again. check_tree_hItem keeps the node last selected.
void ShowListSource(Workspace& ws, Shell& shell, Prompt& prompt, ListSource source);

// Fills the list from source (the account and history files are read first) and shows it.
void FillList(Workspace& ws, Shell& shell, Prompt& prompt, ListSource source, ListChange change);
// What a folder operation's result means for the panes: true when the change was made; when the file
// had changed on disk and was read again instead, the panes show it (ShowReloadedFolders).
bool FolderChanged(Workspace& ws, Shell& shell, Prompt& prompt, FolderResult result);
// Fills the list again from the source it shows, its selection kept: after a folder operation, and
// when the brand table changed (a download of every brand's quote, the initial data).
void RefillList(Workspace& ws, Shell& shell, Prompt& prompt);
// The folder file was read again: the tree shows the folders, a selected folder that is gone gives way
// to お気に入り, and a folder's list is filled again.
void ShowReloadedFolders(Workspace& ws, Shell& shell, Prompt& prompt);

// A row of the list became the current one: its brand is shown (ShowBrand).
void SelectListRow(Workspace& ws, Shell& shell, Prompt& prompt, int row);
// A click on a column header: the rows are sorted; a folder's list writes its new order back to the
// folder it was filled from.
void SortList(Workspace& ws, Shell& shell, Prompt& prompt, int column);
// A column of the shown set was resized: its list_*_size element follows.
void SetListColumnWidth(Workspace& ws, int column, int width);
// The column set the list shows now.
ColumnSet ShownColumns(const Workspace& ws);

// Only a folder's name can be edited in place.
bool CanRenameNode(const Workspace& ws, NodeId node);
// An in-place edit of a folder's name ended with utf8. True when the folder took the name; the tree
// then shows the folders again (with the name as stored).
bool RenameFolder(Workspace& ws, Shell& shell, Prompt& prompt, NodeId node, std::string_view utf8);

// The items of the tree's context menu (0 = separator) over a node, or over empty space (nullopt).
std::vector<int> TreeMenuCommands(const Workspace& ws, const std::optional<NodeId>& under);
// Which submenu of "リストビュー側" the list pane opens (context_menu::kListBrands ... kListHistory).
int ListMenu(const Workspace& ws, bool onMemoEditor);
// The command of the Delete key in the list: 32900, or on the account and history lists 32991 and
// 33002.
int ListDeleteCommand(const Workspace& ws);

// Saves a pending memo edit to its own brand. On failure "メモを保存できませんでした。…" is shown, the edit
// stays in the editor and false is returned.
bool SaveMemo(Workspace& ws, Prompt& prompt);
// The brand shown changed to check_code: a pending edit is saved to its own brand, then the memo of
// check_code is loaded. When the save fails the memo stays with its brand.
void FollowBrandWithMemo(Workspace& ws, Shell& shell, Prompt& prompt);
// At exit: true when the memo is saved, or when the user chose to end without it.
bool ReadyToExit(Workspace& ws, Prompt& prompt);

}  // namespace sorano
