#include "core/app/command_handler.h"

#include <cstdio>
#include <mutex>

#include "core/app/command_area.h"
#include "core/app/commands.h"
#include "core/app/lists_area.h"
#include "core/app/search_view.h"
#include "core/net/net_config.h"
#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/numbers.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

// Every area of the program that carries commands out. A command is enabled when the area its
// CommandInfo names is listed here (and it is not a data command while busy).
constexpr CommandArea kAreas[] = {
    {Work::kWindow, ExecuteWindowCommand, MarkWindowCommand},
    {Work::kTree, ExecuteTreeCommand, MarkTreeCommand},
    {Work::kList, ExecuteListCommand, MarkListCommand},
    {Work::kMemo, ExecuteMemoCommand, MarkMemoCommand},
    {Work::kSearch, ExecuteSearchCommand, nullptr},
    {Work::kPortfolio, ExecutePortfolioCommand, MarkPortfolioCommand},
    {Work::kSettingsDialog, ExecuteSettingsCommand, nullptr},
    {Work::kAbout, ExecuteAboutCommand, nullptr},
    {Work::kIntraday, ExecuteIntradayCommand, MarkIntradayCommand},
    {Work::kHelpFiles, ExecuteHelpCommand, nullptr},
    {Work::kExport, ExecuteExportCommand, nullptr},
    {Work::kPrint, ExecutePrintCommand, nullptr},
};

const CommandArea* FindArea(Work work) {
  for (const CommandArea& a : kAreas)
    if (a.work == work) return &a;
  return nullptr;
}

}  // namespace

MenuItemState MenuState(const Workspace& ws, int id) {
  if (id == cmd::kSysMenuMenuBar) id = cmd::kMenuBarShown;
  const CommandInfo* info = FindCommand(id);
  if (!info) return {};
  const CommandArea* area = FindArea(info->work);
  if (!area) return {};
  MenuItemState state;
  state.enabled = !(info->dataCommand && ws.busy());
  if (area->mark) area->mark(ws, id, state);
  return state;
}

bool ToolbarButtonEnabled(const Workspace& ws, int id) {
  if (id >= cmd::kDaily && id <= cmd::kMonthly) return ws.settings.check_ymd != id - cmd::kDaily;
  if (const int mode = LineModeIndex(id); mode >= 0) return ws.settings.check_wline != mode;
  return MenuState(ws, id).enabled;
}

bool ExecuteCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  if (id == cmd::kSysMenuMenuBar) id = cmd::kMenuBarShown;
  // Not MenuState's enabled: a data command that arrives while busy (from a menu shown before the job
  // started) is answered with the busy warning rather than ignored.
  const CommandInfo* info = FindCommand(id);
  if (!info) return false;
  const CommandArea* area = FindArea(info->work);
  if (!area || !area->execute(ws, shell, prompt, id)) return false;
  shell.UpdateMenuMarks();
  return true;
}

std::string BrandCaption(const Workspace& ws) {
  const int32_t code = ws.settings.check_code;
  std::string name;
  int32_t market = 0;
  {
    std::lock_guard lock(ws.brands.mutex());
    const BrandRecord* r = ws.brands.Find(code);
    if (!r) return kTitleText;
    name = SjisToUtf8(FieldText(r->name));
    market = r->market;
  }
  std::string caption = std::to_string(code) + " " + name;
  if (market != 0) caption += " (" + std::string(MarketName(market)) + ")";
  return caption + " - " + kTitleText;
}

void ShowBrandTitle(const Workspace& ws, Shell& shell) {
  shell.SetCaption(BrandCaption(ws));
  shell.Search().ShowCode(CodeBoxText(ws.code()));
}

void ShowBrand(Workspace& ws, Shell& shell, Prompt& prompt, int32_t code) {
  ws.settings.check_code = code;
  FollowBrandWithMemo(ws, shell, prompt);
  ShowBrandTitle(ws, shell);
  ReloadSeries(ws);
  RefreshVisibleCharts(ws, shell);
}

bool CodeBoxChanged(Workspace& ws, Shell& shell, Prompt& prompt, std::string_view text) {
  if (text.size() != 4 || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  ShowBrand(ws, shell, prompt, LeadingInt(text));
  return true;
}

std::string CodeBoxText(int32_t code) {
  if (code < 0 || code > 9999) return {};
  char text[8];
  std::snprintf(text, sizeof text, "%04d", static_cast<int>(code));
  return text;
}

void RefreshVisibleCharts(const Workspace& ws, Shell& shell) {
  switch (ws.settings.check_bview) {
    case 1:
    case 2:
      shell.Refresh(Pane::kComparison);
      break;
    case 3:
      shell.Refresh(Pane::kTimeSeries);
      break;
    case 4:  // the chart area is empty
      break;
    default:  // 0, and a stored value no mode has (the layout shows the standard chart for it)
      shell.Refresh(Pane::kPriceChart);
      shell.Refresh(Pane::kTechnical);
      break;
  }
}

}  // namespace sorano
