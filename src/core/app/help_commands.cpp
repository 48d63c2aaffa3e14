// The help area: the manual (F1) opens in the desktop's web browser, the ReadMe with the desktop's
// program for text files. Both ship with the program and are found where its other shipped files are.
#include <string>
#include <string_view>

#include "core/app/command_area.h"
#include "core/app/first_start.h"

namespace sorano {
namespace {

void OpenShipped(Shell& shell, Prompt& prompt, std::string_view name) {
  const std::string path = ShippedResourcePath(name);
  if (path.empty() || !shell.OpenFile(path))
    prompt.Message("「" + std::string(name) + "」を開けませんでした。", "エラー", PromptIcon::Error);
}

}  // namespace

bool ExecuteHelpCommand(Workspace&, Shell& shell, Prompt& prompt, int id) {
  switch (id) {
    case cmd::kHelp:
      OpenShipped(shell, prompt, kHelpIndex);
      return true;
    case cmd::kReadMe:
      OpenShipped(shell, prompt, kReadMe);
      return true;
  }
  return false;
}

}  // namespace sorano
