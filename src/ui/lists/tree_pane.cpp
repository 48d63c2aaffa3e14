#include "ui/lists/tree_pane.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>

#include "ui/lists/list_icons.h"
#include "ui/lists/pane_style.h"

namespace sorano {
namespace {

constexpr int kNodeRole = Qt::UserRole + 1;

}  // namespace

TreePane::TreePane(Workspace& ws, QWidget* parent) : QTreeView(parent), ws_(ws) {
  setObjectName("treePane");
  setModel(&model_);
  setHeaderHidden(true);
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  setFont(PaneFont(ws_.settings, 1.0));
  connect(&model_, &QStandardItemModel::itemChanged, this, [this](QStandardItem* item) {
    if (building_) return;
    const std::optional<NodeId> node = NodeOf(item->index());
    if (node && node->IsFolder() && onRenamed) onRenamed(*node, item->text());
  });
}

QStandardItem* TreePane::MakeItem(const TreeNode& node) {
  auto* item = new QStandardItem(QString::fromStdString(node.text));
  // Every node of a kind has the same pair of images: each is drawn once for the pane.
  auto icon = icons_.find(node.image);
  if (icon == icons_.end()) {
    icon = icons_.insert(node.image, QIcon());
    icon->addPixmap(TreeImage(node.image), QIcon::Normal, QIcon::Off);
    icon->addPixmap(TreeImage(node.image + 1), QIcon::Selected, QIcon::Off);
  }
  item->setIcon(*icon);
  item->setData(NodeKey(node.id), kNodeRole);
  item->setEditable(node.id.IsFolder());
  return item;
}

void TreePane::Build() {
  building_ = true;
  model_.clear();
  for (const TreeNode& root : BuildTree(ws_.folders.table())) {
    QStandardItem* item = MakeItem(root);
    for (const TreeNode& child : root.children) item->appendRow(MakeItem(child));
    model_.appendRow(item);
  }
  // The user's own folders are in sight from the start.
  expand(model_.index(tree_root::kFavourites, 0));
  building_ = false;
  ShowTreeNode();
}

void TreePane::ShowFolders() {
  building_ = true;
  QStandardItem* favourites = model_.item(tree_root::kFavourites);
  const bool wasExpanded = isExpanded(favourites->index());
  favourites->removeRows(0, favourites->rowCount());
  for (const TreeNode& folder : FolderNodes(ws_.folders.table())) favourites->appendRow(MakeItem(folder));
  setExpanded(favourites->index(), wasExpanded || (ws_.treeNode && ws_.treeNode->IsFolder()));
  building_ = false;
  ShowTreeNode();
}

QModelIndex TreePane::IndexOf(NodeId node) const {
  const QModelIndex root = model_.index(node.root, 0);
  if (node.IsRoot() || !root.isValid()) return root;
  for (int row = 0; row < model_.rowCount(root); ++row) {
    const QModelIndex child = model_.index(row, 0, root);
    if (child.data(kNodeRole).toInt() == NodeKey(node)) return child;
  }
  return {};
}

std::optional<NodeId> TreePane::NodeOf(const QModelIndex& index) const {
  if (!index.isValid()) return std::nullopt;
  return NodeOfKey(index.data(kNodeRole).toInt(), ws_.folders.table());
}

void TreePane::ShowTreeNode() {
  if (ws_.treeNode) {
    SelectNode(*ws_.treeNode);
    return;
  }
  building_ = true;
  selectionModel()->clear();
  building_ = false;
}

void TreePane::SelectNode(NodeId node) {
  const QModelIndex index = IndexOf(node);
  if (!index.isValid()) return;
  building_ = true;
  setCurrentIndex(index);
  scrollTo(index);
  building_ = false;
}

void TreePane::EditFolder(NodeId node) {
  const QModelIndex index = IndexOf(node);
  if (!index.isValid()) return;
  scrollTo(index);
  edit(index);
}

void TreePane::Expand(NodeId node) {
  const QModelIndex index = IndexOf(node);
  if (index.isValid()) expand(index);
}

void TreePane::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  if (building_) return;
  if (const std::optional<NodeId> node = NodeOf(current); node && onSelected) onSelected(*node);
}

void TreePane::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
    if (onDeleteKey) onDeleteKey();
    return;
  }
  QTreeView::keyPressEvent(e);
}

void TreePane::contextMenuEvent(QContextMenuEvent* e) {
  const QModelIndex index = indexAt(e->pos());
  std::optional<NodeId> node = NodeOf(index);
  // The node under the cursor becomes the selected one first, as a click would make it.
  if (node && currentIndex() != index) setCurrentIndex(index);
  if (onMenu) onMenu(node, e->globalPos());
}

}  // namespace sorano
