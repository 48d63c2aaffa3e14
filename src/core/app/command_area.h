#pragma once
// The areas of the command set. Each area of the program (the window and charts, the tree, the lists,
// the portfolio, ...) carries out the commands whose CommandInfo names its Work value, in a file of its
// own (window_commands.cpp, ...); command_handler.cpp lists the areas in one table and routes every
// command and every menu mark through it. A command whose area is not listed is shown greyed.
#include "core/app/command_handler.h"
#include "core/app/commands.h"

namespace sorano {

struct CommandArea {
  Work work;
  // Carries out an enabled command of the area; false when the area does not know the identifier.
  bool (*execute)(Workspace& ws, Shell& shell, Prompt& prompt, int id);
  // Sets the check mark of one of the area's items and may clear its enabled state; may be null.
  void (*mark)(const Workspace& ws, int id, MenuItemState& state);
};

// The window area (window_commands.cpp).
bool ExecuteWindowCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
void MarkWindowCommand(const Workspace& ws, int id, MenuItemState& state);
// The settings sheet (settings_commands.cpp).
bool ExecuteSettingsCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
// The About box (about_commands.cpp).
bool ExecuteAboutCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
// The intraday chart window (intraday_commands.cpp).
bool ExecuteIntradayCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
void MarkIntradayCommand(const Workspace& ws, int id, MenuItemState& state);
// The manual and the ReadMe shipped with the program (help_commands.cpp).
bool ExecuteHelpCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
// The index of a line-mode command (free, horizontal, vertical, snap) or -1.
int LineModeIndex(int id);
// The four chart-data commands on the shown brand (32855, 32867, 32856, 32970): the busy refusal,
// the initialisation question, the period dialog, then the job.
void RunChartDataCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);

// The tree area (tree_commands.cpp): folders, expand.
bool ExecuteTreeCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
void MarkTreeCommand(const Workspace& ws, int id, MenuItemState& state);
// The list area (list_commands.cpp): the list's pages and tabs, folder codes, quote and chart updates
// of the selected brand, the link pages and the editor.
bool ExecuteListCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
void MarkListCommand(const Workspace& ws, int id, MenuItemState& state);
// The search area (search_commands.cpp): the code and name search dialog and the screening.
bool ExecuteSearchCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
// The portfolio area (portfolio_commands.cpp): the account's and the history's dialogs and deletes.
bool ExecutePortfolioCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
void MarkPortfolioCommand(const Workspace& ws, int id, MenuItemState& state);
// The memo area (memo_commands.cpp): the memo editor's commands and the floating memo window.
bool ExecuteMemoCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
void MarkMemoCommand(const Workspace& ws, int id, MenuItemState& state);

// The time-series export (export_commands.cpp) and the capture of the pane pictures
// (print_commands.cpp).
bool ExecuteExportCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);
bool ExecutePrintCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id);

}  // namespace sorano
