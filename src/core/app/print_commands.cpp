// The capture area of the command set: the pictures the chart pane and the technical pane last drew,
// each alone or the chart over the technical pane, onto the clipboard, into a bitmap file or onto the
// printer.
#include <string>

#include "core/app/command_area.h"
#include "core/app/output_shell.h"
#include "core/fs/file_io.h"
#include "core/output/bmp_file.h"
#include "core/output/pane_pictures.h"

namespace sorano {

namespace {

enum class Target { kChart, kTechnical, kBoth };
enum class Action { kCopy, kSave, kPrint };

struct CaptureCommand {
  int id;
  Action action;
  Target target;
  std::string_view suffix;  // kSave: the proposed file name is the brand code and this
};

constexpr CaptureCommand kCaptures[] = {
    {32923, Action::kCopy, Target::kChart, ""},
    {32924, Action::kCopy, Target::kTechnical, ""},
    {32925, Action::kCopy, Target::kBoth, ""},
    {32926, Action::kPrint, Target::kChart, ""},
    {32927, Action::kPrint, Target::kTechnical, ""},
    {32929, Action::kPrint, Target::kBoth, ""},
    {32930, Action::kSave, Target::kChart, "_Chart.bmp"},
    {32931, Action::kSave, Target::kTechnical, "_Technical.bmp"},
    {32932, Action::kSave, Target::kBoth, ".bmp"},
};

constexpr SaveDialog kBitmapDialog = {"ビートマップを保存する",
                                      {{{"ビートマップ(*.bmp)", "*.bmp"}, {"すべて(*.*)", "*.*"}}}};
constexpr std::string_view kDocumentName = "Sorano プリント";

RgbImage Capture(OutputShell& output, Target target) {
  switch (target) {
    case Target::kChart:
      return output.PaneImage(Pane::kPriceChart);
    case Target::kTechnical:
      return output.PaneImage(Pane::kTechnical);
    case Target::kBoth:
      return StackImages(output.PaneImage(Pane::kPriceChart), output.PaneImage(Pane::kTechnical));
  }
  return {};
}

}  // namespace

bool ExecutePrintCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  const CaptureCommand* command = nullptr;
  for (const CaptureCommand& c : kCaptures)
    if (c.id == id) command = &c;
  if (command == nullptr) return false;
  OutputShell& output = shell.output();
  // A pane of zero size (another chart mode, a full-screen arrangement) has no picture to give.
  const RgbImage image = Capture(output, command->target);
  if (image.empty()) {
    prompt.Message(kMsgNoPicture, kCaptionNotice, PromptIcon::Information);
    return true;
  }
  switch (command->action) {
    case Action::kCopy:
      output.CopyImage(image);
      break;
    case Action::kPrint:
      if (output.PrintImage(image, kDocumentName) == PrintOutcome::kFailed)
        prompt.Message(kMsgCannotPrint, kCaptionError, PromptIcon::Error);
      break;
    case Action::kSave: {
      const std::optional<std::string> path =
          output.AskSavePath(kBitmapDialog, std::to_string(ws.code()) + std::string(command->suffix));
      if (!path) break;
      const std::string bytes = EncodeBmp(image);
      if (bytes.empty() || !WriteFileAtomic(*path, bytes))
        prompt.Message(std::string(kMsgCannotSave) + *path, kCaptionError, PromptIcon::Error);
      break;
    }
  }
  return true;
}

}  // namespace sorano
