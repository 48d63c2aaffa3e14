// The memo area of the command set (the memo editor's commands, the floating memo window) and the
// memo tab's rule: an edit is saved to the brand it belongs to before the brand, the page or the tree
// node changes and at exit, and a failed write keeps it in the editor.
#include "core/app/command_area.h"
#include "core/app/lists_area.h"

namespace sorano {
namespace {

struct MemoCommand {
  int id;
  MemoAction action;
};
constexpr MemoCommand kEditorCommands[] = {
    {33000, MemoAction::kUndo},  {32997, MemoAction::kCut},       {32996, MemoAction::kCopy},
    {32998, MemoAction::kPaste}, {32999, MemoAction::kSelectAll},
};
constexpr int kMemoWindow = 33022;

}  // namespace

bool ExecuteMemoCommand(Workspace&, Shell& shell, Prompt&, int id) {
  for (const MemoCommand& c : kEditorCommands) {
    if (c.id != id) continue;
    shell.Lists().EditMemo(c.action);
    return true;
  }
  if (id == kMemoWindow) {
    shell.Lists().OpenMemoWindow();
    return true;
  }
  return false;
}

void MarkMemoCommand(const Workspace& ws, int id, MenuItemState& state) {
  if (id == kMemoWindow) state.checked = ws.memoWindowOpen;
}

bool SaveMemo(Workspace& ws, Prompt& prompt) {
  if (ws.memo.Save(ws.settings.data_folder())) return true;
  prompt.Message(kMsgMemoNotSaved, "エラー", PromptIcon::Error);
  return false;
}

void FollowBrandWithMemo(Workspace& ws, Shell& shell, Prompt& prompt) {
  if (ws.memo.code() == ws.code() || !SaveMemo(ws, prompt)) return;
  ws.memo.Load(ws.settings.data_folder(), ws.code());
  shell.Lists().ShowMemo();
}

bool ReadyToExit(Workspace& ws, Prompt& prompt) {
  if (ws.memo.Save(ws.settings.data_folder())) return true;
  return prompt.Ask(kMsgExitWithoutMemo, "警告", PromptButtons::YesNo, PromptIcon::Warning,
                    PromptAnswer::No) == PromptAnswer::Yes;
}

}  // namespace sorano
