// The list area of the command set and the list pane's events: filling the list for a tree node,
// selecting and sorting rows, the pages and their tabs, a folder's codes, the quote and chart updates
// of the selected brand, the link pages and the editor on the program's text files.
#include <algorithm>
#include <array>
#include <mutex>

#include "core/app/command_area.h"
#include "core/app/command_handler.h"
#include "core/app/commands.h"
#include "core/app/lists_area.h"
#include "core/lists/link_urls.h"
#include "core/portfolio/portfolio_files.h"
#include "core/text/fixed_field.h"
#include "core/text/numbers.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

constexpr std::array<int, 4> kPageCommands = {32947, 32948, 32949, 32950};
constexpr int kTabButtons = 32896;
constexpr int kQuoteUpdate = 32871;
constexpr int kListChartUpdate = 32979;
constexpr int kRemoveCodes = 32900;
constexpr int kAddCode = 32901;
constexpr int kDeleteHolding = 32991;
constexpr int kDeleteTrade = 33002;

ListTables TablesOf(const Workspace& ws) {
  return {ws.brands, ws.folders.table(), ws.portfolio.holdings(), ws.portfolio.trades(), ws.sizeClasses};
}

// The folder slot the list was filled from; -1 when the list shows anything else (a category, a
// search result), so that nothing is ever written to a folder that merely stays selected.
int32_t ListFolder(const Workspace& ws) {
  return ws.list.source().kind == SourceKind::kFolder ? ws.list.source().number : -1;
}

// The code of the first selected row, if any.
std::optional<int32_t> SelectedCode(const Workspace& ws, Shell& shell) {
  const std::vector<int> rows = shell.Lists().SelectedRows();
  if (rows.empty() || rows.front() < 0 || static_cast<size_t>(rows.front()) >= ws.list.rows().size())
    return std::nullopt;
  return ws.list.rows()[static_cast<size_t>(rows.front())].code;
}

// The selected row's brand becomes the shown one (it already is, unless the selection has just
// moved); false when no row is selected.
bool ShowSelectedBrand(Workspace& ws, Shell& shell, Prompt& prompt) {
  const std::optional<int32_t> code = SelectedCode(ws, shell);
  if (!code) return false;
  if (*code != ws.code()) ShowBrand(ws, shell, prompt, *code);
  return true;
}

// The account and the history are read from their files at every fill.
void FillRows(Workspace& ws, Prompt& prompt, ListSource source) {
  const DataFolder folder = ws.settings.data_folder();
  if (source.kind == SourceKind::kAccount) ws.portfolio.LoadHoldings(folder, prompt);
  if (source.kind == SourceKind::kHistory) ws.portfolio.LoadHistory(folder, prompt);
  ws.list.Fill(std::move(source), TablesOf(ws));
}

// A folder operation on the list's folder: the list shows the folder as it now is.
void AfterFolderChange(Workspace& ws, Shell& shell, Prompt& prompt, FolderResult result) {
  if (FolderChanged(ws, shell, prompt, result)) RefillList(ws, shell, prompt);
}

void AddCode(Workspace& ws, Shell& shell, Prompt& prompt) {
  const int32_t slot = ListFolder(ws);
  if (slot < 0) return;
  const std::optional<std::string> text = shell.Lists().AskCode();
  if (!text || text->empty()) return;
  // The dialog takes at most four characters, read as a leading integer.
  const int32_t code = LeadingInt(std::string_view(*text).substr(0, 4));
  AfterFolderChange(ws, shell, prompt, ws.folders.AddCode(ws.settings.data_folder(), prompt, slot, code));
}

void RemoveCodes(Workspace& ws, Shell& shell, Prompt& prompt) {
  const int32_t slot = ListFolder(ws);
  const std::vector<int> rows = shell.Lists().SelectedRows();
  if (slot < 0 || rows.empty()) return;
  // The rows are the folder's codes in their stored order (a sort writes its order back), so a row is
  // a position in the folder; should they differ, the list is only filled again.
  const std::span<const int32_t> stored = FolderCodes(ws.folders.table()[static_cast<size_t>(slot)]);
  const std::vector<int32_t> listed = ws.list.Codes();
  if (!std::equal(listed.begin(), listed.end(), stored.begin(), stored.end())) {
    RefillList(ws, shell, prompt);
    return;
  }
  AfterFolderChange(ws, shell, prompt, ws.folders.RemoveCodes(ws.settings.data_folder(), prompt, slot, rows));
}

void QuoteUpdate(Workspace& ws, Shell& shell, Prompt& prompt) {
  if (ws.busy()) {
    prompt.Message(kMsgOtherBrandBusy, kCaptionWarning, PromptIcon::Warning);
    return;
  }
  if (!ShowSelectedBrand(ws, shell, prompt)) return;
  // The fetch runs on the worker like every download; the list shows the new quote once it is done.
  shell.StartDownload(SingleBrandJob::kQuoteUpdate);
  RefillList(ws, shell, prompt);
}

void OpenLink(Workspace& ws, Shell& shell, int id) {
  // The selected row's brand; the shown brand when no row is selected (the toolbar's link buttons).
  const int32_t code = SelectedCode(ws, shell).value_or(ws.code());
  std::string name;
  {
    std::lock_guard lock(ws.brands.mutex());
    if (const BrandRecord* r = ws.brands.Find(code)) name = FieldText(r->name);
  }
  if (const std::optional<std::string> url = LinkUrl(id, code, name, ws.settings)) shell.OpenUrl(*url);
}

void OpenInEditor(Workspace& ws, Shell& shell, Prompt& prompt, const std::string& path) {
  const std::string program = SjisToUtf8(FieldText(ws.settings.check_editer));
  if (program.empty() || !shell.Lists().StartProgram(program, path))
    prompt.Message(kMsgEditorNotStarted, "エラー", PromptIcon::Error);
}

void ChoosePage(Workspace& ws, Shell& shell, Prompt& prompt, int32_t page) {
  SaveMemo(ws, prompt);  // a change of page
  ws.settings.check_tab_num = page;
  shell.Lists().ShowPage();
  RefillList(ws, shell, prompt);
}

template <size_t N>
int IndexOf(const std::array<int, N>& ids, int id) {
  const auto it = std::find(ids.begin(), ids.end(), id);
  return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
}

}  // namespace

bool ExecuteListCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  if (const int page = IndexOf(kPageCommands, id); page >= 0) {
    ChoosePage(ws, shell, prompt, page);
    return true;
  }
  if (IsLinkCommand(id)) {
    OpenLink(ws, shell, id);
    return true;
  }
  const DataFolder folder = ws.settings.data_folder();
  switch (id) {
    case kTabButtons:
      ws.settings.check_tab = ws.settings.check_tab > 0 ? 0 : 1;
      shell.Lists().ShowPage();
      return true;
    case kQuoteUpdate:
      QuoteUpdate(ws, shell, prompt);
      return true;
    case kListChartUpdate:
      if (ShowSelectedBrand(ws, shell, prompt)) RunChartDataCommand(ws, shell, prompt, cmd::kChartUpdate);
      return true;
    case kAddCode:
      AddCode(ws, shell, prompt);
      return true;
    case kRemoveCodes:
      RemoveCodes(ws, shell, prompt);
      return true;
    case 32951:  // エディタで銘柄編集
      OpenInEditor(ws, shell, prompt, folder.Path("data/mybrand.dat"));
      return true;
    case 33001:  // エディタで口座編集
      OpenInEditor(ws, shell, prompt, HoldingsPath(folder));
      return true;
    case 32995:  // エディタで履歴編集
      OpenInEditor(ws, shell, prompt, HistoryPath(folder));
      return true;
  }
  return false;
}

void MarkListCommand(const Workspace& ws, int id, MenuItemState& state) {
  if (const int page = IndexOf(kPageCommands, id); page >= 0) {
    state.checked = ws.settings.check_tab_num == page;
  } else if (id == kAddCode || id == kRemoveCodes) {
    state.enabled = state.enabled && ListFolder(ws) >= 0;
  }
}

void OpenLists(Workspace& ws, Prompt& prompt, const std::string& sizeClassPath) {
  ws.folders.Load(ws.settings.data_folder(), prompt);
  if (!sizeClassPath.empty()) LoadSizeClasses(sizeClassPath, ws.sizeClasses);
  ws.memo.Load(ws.settings.data_folder(), ws.code());
  const NodeId node = NodeOfKey(ws.settings.check_tree_hItem, ws.folders.table()).value_or(kDefaultNode);
  ws.treeNode = node;
  ws.settings.check_tree_hItem = NodeKey(node);
}

void FillFirstList(Workspace& ws, Shell& shell, Prompt& prompt) {
  if (ws.list.source().kind != SourceKind::kNone || !ws.treeNode) return;
  FillList(ws, shell, prompt, SourceOf(*ws.treeNode), ListChange::kNewRows);
}

void FillList(Workspace& ws, Shell& shell, Prompt& prompt, ListSource source, ListChange change) {
  FillRows(ws, prompt, std::move(source));
  shell.Lists().ShowList(change);
}

void RefillList(Workspace& ws, Shell& shell, Prompt& prompt) {
  FillList(ws, shell, prompt, ws.list.source(), ListChange::kSameSource);
}

bool FolderChanged(Workspace& ws, Shell& shell, Prompt& prompt, FolderResult result) {
  if (result == FolderResult::kReloaded) ShowReloadedFolders(ws, shell, prompt);
  return result == FolderResult::kDone;
}

void ShowReloadedFolders(Workspace& ws, Shell& shell, Prompt& prompt) {
  if (ws.treeNode && !NodeExists(*ws.treeNode, ws.folders.table())) {
    SelectTreeNode(ws, shell, prompt, NodeId{tree_root::kFavourites, -1});
  } else if (ListFolder(ws) >= 0) {
    RefillList(ws, shell, prompt);
  }
  shell.Lists().ShowFolders();
}

void SelectTreeNode(Workspace& ws, Shell& shell, Prompt& prompt, NodeId node) {
  SaveMemo(ws, prompt);
  ws.treeNode = node;
  ws.settings.check_tree_hItem = NodeKey(node);
  FillList(ws, shell, prompt, SourceOf(node), ListChange::kNewRows);
}

void ShowListSource(Workspace& ws, Shell& shell, Prompt& prompt, ListSource source) {
  SaveMemo(ws, prompt);
  ws.treeNode.reset();
  shell.Lists().ShowTreeNode();
  FillList(ws, shell, prompt, std::move(source), ListChange::kNewRows);
}

void SelectListRow(Workspace& ws, Shell& shell, Prompt& prompt, int row) {
  if (row < 0 || static_cast<size_t>(row) >= ws.list.rows().size()) return;
  ShowBrand(ws, shell, prompt, ws.list.rows()[static_cast<size_t>(row)].code);
}

ColumnSet ShownColumns(const Workspace& ws) {
  return ColumnSetOf(ws.list.source(), ws.settings.check_tab_num);
}

void SortList(Workspace& ws, Shell& shell, Prompt& prompt, int column) {
  if (!ws.list.Sort(ShownColumns(ws), column)) return;
  if (const int32_t slot = ListFolder(ws); slot >= 0) {
    const FolderResult r = ws.folders.Reorder(ws.settings.data_folder(), prompt, slot, ws.list.Codes());
    if (r == FolderResult::kReloaded) {
      ShowReloadedFolders(ws, shell, prompt);
      return;
    }
    // The order could not be stored: the list shows the folder as it is.
    if (r != FolderResult::kDone) {
      RefillList(ws, shell, prompt);
      return;
    }
  }
  shell.Lists().ShowList(ListChange::kSameSource);
}

void SetListColumnWidth(Workspace& ws, int column, int width) {
  const std::span<int32_t> widths = ColumnWidths(ws.settings, ShownColumns(ws));
  if (column >= 0 && static_cast<size_t>(column) < widths.size() && width >= 0)
    widths[static_cast<size_t>(column)] = width;
}

int ListMenu(const Workspace& ws, bool onMemoEditor) {
  if (onMemoEditor) return context_menu::kListMemo;
  switch (ws.list.source().kind) {
    case SourceKind::kAccount:
      return context_menu::kListAccount;
    case SourceKind::kHistory:
      return context_menu::kListHistory;
    default:
      return context_menu::kListBrands;
  }
}

int ListDeleteCommand(const Workspace& ws) {
  switch (ws.list.source().kind) {
    case SourceKind::kAccount:
      return kDeleteHolding;
    case SourceKind::kHistory:
      return kDeleteTrade;
    default:
      return kRemoveCodes;
  }
}

}  // namespace sorano
