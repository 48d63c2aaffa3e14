// The About area: "バージョン情報...(&A)".
#include "core/app/about_box.h"
#include "core/app/command_area.h"

namespace sorano {

bool ExecuteAboutCommand(Workspace& ws, Shell& shell, Prompt&, int id) {
  if (id != cmd::kAbout) return false;
  shell.aboutBox().ShowAboutBox(MakeAboutContent(ws.settings));
  return true;
}

}  // namespace sorano
