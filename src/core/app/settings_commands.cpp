// The settings area: "環境設定...(&S) " runs the sheet and, on OK, writes it into the store.
#include "core/app/command_area.h"
#include "core/app/settings_sheet_view.h"

namespace sorano {

bool ExecuteSettingsCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  if (id != cmd::kSettingsDialog) return false;
  SettingsSheet sheet(ws.settings);
  if (!shell.settingsSheet().RunSettingsSheet(sheet)) return true;  // Cancel: the store is untouched
  sheet.Apply(ws.settings);
  // The panes take the new colours and switches at this repaint; fonts and the data folder wait for
  // the next start, as the message says. It is shown at every OK, changed or not.
  RefreshVisibleCharts(ws, shell);
  shell.Repaint(Pane::kTree);
  shell.Repaint(Pane::kList);
  prompt.Message(kMsgRestart, kCaptionSettings, PromptIcon::Information);
  return true;
}

}  // namespace sorano
