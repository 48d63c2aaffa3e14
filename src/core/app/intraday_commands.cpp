// The intraday area: "日中足...(&L)" opens the one intraday chart window or brings it forward; its
// item is checked while the window is open.
#include "core/app/command_area.h"
#include "core/app/intraday_view.h"

namespace sorano {

bool ExecuteIntradayCommand(Workspace&, Shell& shell, Prompt&, int id) {
  if (id != cmd::kIntraday) return false;
  shell.intraday().OpenIntradayWindow();
  return true;
}

void MarkIntradayCommand(const Workspace& ws, int id, MenuItemState& state) {
  if (id == cmd::kIntraday) state.checked = ws.intradayWindowOpen;
}

}  // namespace sorano
