// The tree area of the command set: expand, and the folder commands of the tree's context menu. The
// node they act on is the selected one (a right click selects the node under the cursor), known by
// its place, never by its text.
#include "core/app/command_area.h"
#include "core/app/commands.h"
#include "core/app/lists_area.h"
#include "core/net/download_job.h"

namespace sorano {
namespace {

constexpr NodeId kFavouritesRoot{tree_root::kFavourites, -1};

bool FolderOrFavourites(const std::optional<NodeId>& node) {
  return node && (node->IsFolder() || *node == kFavouritesRoot);
}

void NewFolder(Workspace& ws, Shell& shell, Prompt& prompt) {
  // A new folder is made from お気に入り or from one of its folders (the node's parent).
  if (!FolderOrFavourites(ws.treeNode)) return;
  int32_t slot = -1;
  if (!FolderChanged(ws, shell, prompt, ws.folders.Create(ws.settings.data_folder(), prompt, &slot))) return;
  const NodeId node{tree_root::kFavourites, slot};
  SelectTreeNode(ws, shell, prompt, node);
  shell.Lists().ShowFolders();
  shell.Lists().EditFolderName(node);
}

void DeleteFolder(Workspace& ws, Shell& shell, Prompt& prompt) {
  if (!ws.treeNode) {
    prompt.Message(kMsgNoItemSelected, kCaptionWarning, PromptIcon::Warning);
    return;
  }
  if (!ws.treeNode->IsFolder()) return;
  if (!FolderChanged(ws, shell, prompt,
                     ws.folders.Remove(ws.settings.data_folder(), prompt, ws.treeNode->child)))
    return;
  SelectTreeNode(ws, shell, prompt, kFavouritesRoot);
  shell.Lists().ShowFolders();
}

}  // namespace

bool ExecuteTreeCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  switch (id) {
    case 32965:  // 展開
      if (ws.treeNode) shell.Lists().ExpandNode(*ws.treeNode);
      return true;
    case 32893:  // フォルダの新規作成
      NewFolder(ws, shell, prompt);
      return true;
    case 32894:  // フォルダ名の変更: the name is edited in place, RenameFolder takes it
      if (!ws.treeNode)
        prompt.Message(kMsgNoItemSelected, kCaptionWarning, PromptIcon::Warning);
      else if (CanRenameNode(ws, *ws.treeNode))
        shell.Lists().EditFolderName(*ws.treeNode);
      return true;
    case 32895:  // フォルダの削除
      DeleteFolder(ws, shell, prompt);
      return true;
  }
  return false;
}

void MarkTreeCommand(const Workspace& ws, int id, MenuItemState& state) {
  switch (id) {
    case 32893:
      state.enabled = FolderOrFavourites(ws.treeNode);
      break;
    case 32894:
    case 32895:
      // Without a selected node the command says so; on a node that is no folder it has nothing to do.
      state.enabled = !ws.treeNode || ws.treeNode->IsFolder();
      break;
  }
}

bool CanRenameNode(const Workspace& ws, NodeId node) {
  return node.IsFolder() && NodeExists(node, ws.folders.table());
}

bool RenameFolder(Workspace& ws, Shell& shell, Prompt& prompt, NodeId node, std::string_view utf8) {
  if (!CanRenameNode(ws, node)) return false;
  const FolderResult r = ws.folders.Rename(ws.settings.data_folder(), prompt, node.child, utf8);
  // The stored name, or the old one when it was refused.
  if (r != FolderResult::kReloaded) shell.Lists().ShowFolders();
  return FolderChanged(ws, shell, prompt, r);
}

std::vector<int> TreeMenuCommands(const Workspace& ws, const std::optional<NodeId>& under) {
  // Only the arrangement item that changes the arrangement is offered.
  const int arrangement = ws.settings.check_tree_view == 1 ? cmd::kTreeViewUp : cmd::kTreeViewDown;
  if (!under) return {arrangement};
  if (FolderOrFavourites(under)) return {32965, 0, 32893, 32894, 32895, 0, arrangement};
  return {32965, 0, arrangement};
}

}  // namespace sorano
