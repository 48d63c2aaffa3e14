#pragma once
// What the main window does with a command: ExecuteCommand carries it out on the workspace through
// the Shell and the Prompt; MenuState says how its menu item looks. Both run on the UI thread.
#include <string>
#include <string_view>

#include "core/app/shell.h"
#include "core/app/workspace.h"
#include "core/prompt/prompt.h"

namespace sorano {

struct MenuItemState {
  bool checked = false;
  bool enabled = false;
};

// The check mark and enabled state of a command's menu item, from the settings and the workspace
// flags. Disabled: commands whose work is still to come, and the data commands while busy.
MenuItemState MenuState(const Workspace& ws, int id);

// Toolbar buttons differ from menu items in the two radio groups (periods, line modes): the button of
// the current choice is disabled and the others enabled. Other buttons follow MenuState.
bool ToolbarButtonEnabled(const Workspace& ws, int id);

// Carries out command id. A command whose work is still to come, or an unknown one, does nothing and
// returns false; otherwise returns true after the work and the menu-mark update
// (shell.UpdateMenuMarks()). The data commands check the busy flag themselves: while a download or
// the version check runs they show "ほかの銘柄がダウンロード中です。" (caption "警告") and start nothing.
// 10007 (the system-menu item) works as 32919.
bool ExecuteCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);

// The main window's caption for the shown brand: "%d %s" code and name, " (market name)" when the
// market is not 0, then " - " and the title text. Just the title text for a code outside the table.
std::string BrandCaption(const Workspace& ws);

// What names the shown brand on the window: the caption (BrandCaption) and the search band's code box
// (CodeBoxText). At start, after every change of brand and after the settings reset.
void ShowBrandTitle(const Workspace& ws, Shell& shell);

// The shown brand changes to code (list selection, code box, next/previous brand): check_code, the
// memo tab (a pending edit is first saved to its own brand), the caption, the series and the visible
// charts.
void ShowBrand(Workspace& ws, Shell& shell, Prompt& prompt, int32_t code);

// The code box of the search band after its text changed: when it holds exactly 4 digits, their
// decimal value becomes the shown brand (ShowBrand; a code without files shows the panes' no-data
// texts). True when the brand was switched.
bool CodeBoxChanged(Workspace& ws, Shell& shell, Prompt& prompt, std::string_view text);

// The code box's text for a brand: its code in four digits ("0050"); empty for a code outside 0..9999,
// which the box cannot hold.
std::string CodeBoxText(int32_t code);

// Refreshing the visible charts after a setting that affects drawing: chart mode 0 the price chart and
// technical panes, 1 and 2 the comparison pane, 3 the time-series pane.
void RefreshVisibleCharts(const Workspace& ws, Shell& shell);

// Messages of the command set (UTF-8).
inline constexpr std::string_view kMsgChartNotInitialised =
    "チャートデータが初期化されていません。\r\n初期化致しますか？";

}  // namespace sorano
