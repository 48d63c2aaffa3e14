#pragma once
// The brand tree pane: a QTreeView over the nodes core builds (BuildTree). Each item carries its
// node's place; only folder names can be edited in place. The pane reports selections, renames, the
// Delete key and context-menu requests through its callbacks and changes nothing itself.
#include <QHash>
#include <QIcon>
#include <QStandardItemModel>
#include <QTreeView>
#include <functional>
#include <optional>

#include "core/app/workspace.h"

namespace sorano {

class TreePane : public QTreeView {
 public:
  TreePane(Workspace& ws, QWidget* parent);

  // The whole tree from the workspace, with Workspace::treeNode selected.
  void Build();
  // The folder nodes again (names, adds, removals), then Workspace::treeNode selected.
  void ShowFolders();
  // Workspace::treeNode selected, or no node selected when it is none; not reported.
  void ShowTreeNode();
  void EditFolder(NodeId node);
  void Expand(NodeId node);
  QModelIndex IndexOf(NodeId node) const;
  std::optional<NodeId> NodeOf(const QModelIndex& index) const;

  std::function<void(NodeId)> onSelected;
  std::function<void(NodeId, const QString&)> onRenamed;
  std::function<void()> onDeleteKey;
  // Right click: the node under the cursor (already selected), or none over empty space.
  std::function<void(std::optional<NodeId>, const QPoint& global)> onMenu;

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  QStandardItem* MakeItem(const TreeNode& node);
  void SelectNode(NodeId node);

  Workspace& ws_;
  QStandardItemModel model_;
  QHash<int, QIcon> icons_;  // by TreeNode::image
  bool building_ = false;
};

}  // namespace sorano
