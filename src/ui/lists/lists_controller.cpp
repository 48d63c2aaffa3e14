#include "ui/lists/lists_controller.h"

#include <QInputDialog>
#include <QProcess>

#include "core/app/command_handler.h"
#include "core/app/commands.h"
#include "core/app/first_start.h"
#include "core/app/lists_area.h"
#include "ui/lists/list_pane.h"
#include "ui/lists/memo_window.h"
#include "ui/lists/pane_style.h"
#include "ui/lists/tree_pane.h"

namespace sorano {

ListsController::ListsController(Workspace& ws, Shell& shell, Prompt& prompt, Menus menus, QWidget* parent)
    : QObject(parent), ws_(ws), shell_(shell), prompt_(prompt), menus_(std::move(menus)) {
  OpenLists(ws_, prompt_, ShippedResourcePath(kSizeClassFile));

  tree_ = new TreePane(ws_, parent);
  tree_->onSelected = [this](NodeId node) { SelectTreeNode(ws_, shell_, prompt_, node); };
  tree_->onRenamed = [this](NodeId node, const QString& text) {
    RenameFolder(ws_, shell_, prompt_, node, text.toStdString());
  };
  tree_->onDeleteKey = [this] { Run(32895); };
  tree_->onMenu = [this](std::optional<NodeId> node, const QPoint& global) {
    auto* menu = new QMenu(tree_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int id : TreeMenuCommands(ws_, node)) {
      if (id == 0)
        menu->addSeparator();
      else if (QAction* a = menus_.action(id))
        menu->addAction(a);
    }
    PopUp(menu, global);
  };
  tree_->Build();

  list_ = new ListPane(ws_, parent);
  list_->onRowSelected = [this](int row) { SelectListRow(ws_, shell_, prompt_, row); };
  list_->onCommand = [this](int id) { Run(id); };
  list_->onSort = [this](int column) { SortList(ws_, shell_, prompt_, column); };
  list_->onMenu = [this](bool onMemo, const QPoint& global) {
    PopUp(menus_.list[static_cast<size_t>(ListMenu(ws_, onMemo))], global);
  };
  list_->ShowList(ListChange::kNewRows);
  ShowColours();
  list_->ShowMemo();
  list_->ShowPage();
}

void ListsController::FillFirstList() {
  sorano::FillFirstList(ws_, shell_, prompt_);
}

void ListsController::Run(int id) {
  ExecuteCommand(ws_, shell_, prompt_, id);
}

void ListsController::PopUp(QMenu* menu, const QPoint& global) {
  if (menu == nullptr) return;
  shell_.UpdateMenuMarks();
  menu->popup(global);
}

void ListsController::ShowColours() {
  ApplyListColours(tree_, ws_.settings);
  ApplyListColours(list_->table(), ws_.settings);
}

// ---- ListsView ----

void ListsController::ShowFolders() {
  // Also asked while the tree reports an edit of one of the items it would rebuild: after it.
  QMetaObject::invokeMethod(
      this, [this] { tree_->ShowFolders(); }, Qt::QueuedConnection);
}

void ListsController::ShowTreeNode() {
  tree_->ShowTreeNode();
}

void ListsController::ShowList(ListChange change) {
  list_->ShowList(change);
}

void ListsController::ShowMemo() {
  list_->ShowMemo();
}

void ListsController::ShowPage() {
  list_->ShowPage();
}

std::vector<int> ListsController::SelectedRows() const {
  return list_->SelectedRows();
}

void ListsController::EditFolderName(NodeId node) {
  // After a queued ShowFolders has made the node.
  QMetaObject::invokeMethod(
      this, [this, node] { tree_->EditFolder(node); }, Qt::QueuedConnection);
}

void ListsController::ExpandNode(NodeId node) {
  tree_->Expand(node);
}

std::optional<std::string> ListsController::AskCode() {
  QInputDialog dialog(list_->window());
  dialog.setWindowTitle(QStringLiteral("銘柄の追加"));
  dialog.setLabelText(QStringLiteral("コードを入力してください"));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QStringLiteral("キャンセル"));
  if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(4);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().left(4).toStdString();
}

void ListsController::EditMemo(MemoAction action) {
  QPlainTextEdit* memo = list_->memo();
  switch (action) {
    case MemoAction::kUndo:
      memo->undo();
      break;
    case MemoAction::kCut:
      memo->cut();
      break;
    case MemoAction::kCopy:
      memo->copy();
      break;
    case MemoAction::kPaste:
      memo->paste();
      break;
    case MemoAction::kSelectAll:
      memo->selectAll();
      break;
  }
}

void ListsController::OpenMemoWindow() {
  if (memoWindow_) {
    memoWindow_->raise();
    memoWindow_->activateWindow();
    return;
  }
  // The shown brand's memo as it stands, an edit of the memo tab included.
  MemoSession shown;
  if (ws_.memo.code() != ws_.code()) shown.Load(ws_.settings.data_folder(), ws_.code());
  const std::string& text = ws_.memo.code() == ws_.code() ? ws_.memo.text() : shown.text();
  memoWindow_ = new MemoWindow(ws_.settings, QString::fromStdString(text), list_->window());
  ws_.memoWindowOpen = true;
  connect(memoWindow_, &QObject::destroyed, this, [this] {
    ws_.memoWindowOpen = false;
    shell_.UpdateMenuMarks();
  });
  memoWindow_->show();
}

bool ListsController::StartProgram(const std::string& program, const std::string& argument) {
  return QProcess::startDetached(QString::fromStdString(program), {QString::fromLocal8Bit(argument.c_str())});
}

}  // namespace sorano
