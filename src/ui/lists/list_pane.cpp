#include "ui/lists/list_pane.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

#include "core/app/commands.h"
#include "core/app/lists_area.h"
#include "core/memo/memo_session.h"
#include "ui/lists/list_icons.h"
#include "ui/lists/pane_style.h"

namespace sorano {
namespace {

constexpr const char* kTabTexts[] = {"株価情報", "資本情報", "業績情報", "選択銘柄メモ"};
constexpr int kFirstPageCommand = 32947;
constexpr int kQuoteUpdate = 32871;
constexpr int32_t kMemoPage = 3;

}  // namespace

ListPane::ListPane(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
  setObjectName("listPane");
  const QFont font = PaneFont(ws_.settings, 1.0);

  table_ = new QTableView(this);
  table_->setObjectName("brandList");
  model_ = new ListTableModel(ws_, this);
  table_->setModel(model_);
  table_->setFont(font);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setShowGrid(false);
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideRight);
  table_->verticalHeader()->hide();
  // One fixed height for every row: the view never measures rows.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(std::max(QFontMetrics(font).height() + 2, 18));
  table_->horizontalHeader()->setSectionsClickable(true);
  table_->horizontalHeader()->setHighlightSections(false);
  table_->horizontalHeader()->setFont(font);
  table_->setIconSize(QSize(16, 16));
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  table_->installEventFilter(this);
  connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (onSort) onSort(column);
  });
  connect(table_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (!quiet_) SetListColumnWidth(ws_, column, width);
  });
  connect(table_, &QTableView::doubleClicked, this, [this] {
    if (onCommand) onCommand(kQuoteUpdate);
  });
  connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    if (onMenu) onMenu(false, table_->viewport()->mapToGlobal(p));
  });
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!quiet_) RememberSelection();
  });
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
    if (!quiet_) selectTimer_.start();
  });
  selectTimer_.setSingleShot(true);
  selectTimer_.setInterval(0);
  connect(&selectTimer_, &QTimer::timeout, this, [this] {
    const int row = table_->currentIndex().row();
    if (row >= 0 && onRowSelected) onRowSelected(row);
  });

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("memoEditor");
  memo_->setFont(font);
  memo_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  memo_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(memo_, &QPlainTextEdit::textChanged, this, &ListPane::MemoTextChanged);
  connect(memo_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    if (onMenu) onMenu(true, memo_->mapToGlobal(p));
  });

  tabs_ = new QTabBar(this);
  tabs_->setObjectName("listTabs");
  tabs_->setShape(QTabBar::RoundedSouth);
  tabs_->setExpanding(false);
  tabs_->setDrawBase(false);
  tabs_->setIconSize(QSize(16, 16));
  tabs_->setFont(PaneFont(ws_.settings, 1.5));
  for (int i = 0; i < 4; ++i) tabs_->addTab(QIcon(ListTabImage(i)), QString::fromUtf8(kTabTexts[i]));
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (!quiet_ && index >= 0 && onCommand) onCommand(kFirstPageCommand + index);
  });
}

void ListPane::ShowList(ListChange change) {
  quiet_ = true;
  // The same rows filled again (a quote downloaded, a folder changed, a sort) stay where the user
  // scrolled them; other rows start at the top.
  const int scrolled = change == ListChange::kSameSource ? table_->verticalScrollBar()->value() : 0;
  model_->Reset();
  ApplyColumnWidths();
  if (change == ListChange::kNewRows) {
    selectedCodes_.clear();
    currentCode_ = -1;
  } else {
    // The rows of the codes that were selected stay selected; the current one stays current.
    QItemSelection selection;
    const auto rows = ws_.list.rows();
    QModelIndex current;
    for (size_t i = 0; i < rows.size(); ++i) {
      if (!selectedCodes_.count(rows[i].code)) continue;
      const QModelIndex index = model_->index(static_cast<int>(i), 0);
      selection.select(index, index);
      if (!current.isValid() && rows[i].code == currentCode_) current = index;
    }
    if (current.isValid()) table_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    table_->selectionModel()->select(selection,
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  table_->verticalScrollBar()->setValue(scrolled);
  if (table_->currentIndex().isValid()) table_->scrollTo(table_->currentIndex());
  quiet_ = false;
}

void ListPane::RememberSelection() {
  selectedCodes_.clear();
  const auto rows = ws_.list.rows();
  for (int row : SelectedRows()) selectedCodes_.insert(rows[static_cast<size_t>(row)].code);
  const int current = table_->currentIndex().row();
  currentCode_ = current >= 0 && static_cast<size_t>(current) < rows.size()
                     ? rows[static_cast<size_t>(current)].code
                     : -1;
}

void ListPane::ApplyColumnWidths() {
  const std::span<int32_t> widths = ColumnWidths(ws_.settings, model_->columns());
  for (int i = 0; i < model_->columnCount(); ++i)
    table_->horizontalHeader()->resizeSection(i, std::clamp(widths[static_cast<size_t>(i)], 0, 2000));
}

std::vector<int> ListPane::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  const int count = static_cast<int>(ws_.list.rows().size());
  rows.erase(std::remove_if(rows.begin(), rows.end(), [count](int r) { return r >= count; }), rows.end());
  return rows;
}

void ListPane::ShowMemo() {
  quiet_ = true;
  memoShown_ = QString::fromStdString(ws_.memo.text());
  memo_->setPlainText(memoShown_);
  quiet_ = false;
}

void ListPane::MemoTextChanged() {
  if (quiet_) return;
  QString text = memo_->toPlainText();
  // The inserted part: what lies between the common start and the common end of old and new text,
  // never splitting a surrogate pair.
  const QString& old = memoShown_;
  qsizetype head = 0;
  while (head < old.size() && head < text.size() && old[head] == text[head]) ++head;
  if (head > 0 && text[head - 1].isHighSurrogate()) --head;
  qsizetype tail = 0;
  while (tail < old.size() - head && tail < text.size() - head &&
         old[old.size() - 1 - tail] == text[text.size() - 1 - tail])
    ++tail;
  if (tail > 0 && text[text.size() - tail].isLowSurrogate()) --tail;
  const QString inserted = text.mid(head, text.size() - head - tail);
  if (!inserted.isEmpty()) {
    const QString rest = text.left(head) + text.right(tail);
    const QString kept = QString::fromStdString(FitMemoInsertion(rest.toStdString(), inserted.toStdString()));
    if (kept != inserted) {
      // Characters Shift_JIS cannot hold show as '?', and nothing goes past the memo's capacity.
      quiet_ = true;
      QTextCursor cursor(memo_->document());
      cursor.setPosition(static_cast<int>(head));
      cursor.setPosition(static_cast<int>(head + inserted.size()), QTextCursor::KeepAnchor);
      cursor.insertText(kept);
      memo_->setTextCursor(cursor);
      quiet_ = false;
      text = memo_->toPlainText();
    }
  }
  memoShown_ = text;
  ws_.memo.Edit(text.toStdString());
}

void ListPane::ShowPage() {
  quiet_ = true;
  tabs_->setCurrentIndex(std::clamp(ws_.settings.check_tab_num, 0, 3));
  quiet_ = false;
  LayOut();
}

void ListPane::LayOut() {
  const bool tabsShown = ws_.settings.check_tab == 1;
  const int t = tabsShown ? tabs_->sizeHint().height() : 0;
  tabs_->setVisible(tabsShown);
  tabs_->setGeometry(0, height() - t, width(), t);
  const bool memoPage = ws_.settings.check_tab_num == kMemoPage;
  QWidget* shown = memoPage ? static_cast<QWidget*>(memo_) : table_;
  QWidget* hidden = memoPage ? static_cast<QWidget*>(table_) : memo_;
  shown->setGeometry(0, 0, width(), std::max(0, height() - t));
  shown->setVisible(true);
  hidden->setGeometry(0, 0, 0, 0);
  hidden->setVisible(false);
}

void ListPane::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  LayOut();
}

bool ListPane::eventFilter(QObject* watched, QEvent* e) {
  if (watched == table_ && e->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
    if (onCommand) onCommand(ListDeleteCommand(ws_));
    return true;
  }
  return QWidget::eventFilter(watched, e);
}

}  // namespace sorano
