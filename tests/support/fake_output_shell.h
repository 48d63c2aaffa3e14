#pragma once
// An OutputShell that hands out prepared pane pictures, records what reaches the clipboard, the
// printer and the dialogs, and answers the dialogs from its fields.
#include <optional>
#include <string>
#include <vector>

#include "core/app/output_shell.h"

namespace sorano::test {

class FakeOutputShell : public OutputShell {
 public:
  RgbImage chart, technical;            // the panes' pictures
  bool optionsAnswer = true;            // RunExportOptions
  std::optional<std::string> savePath;  // AskSavePath (nullopt: cancelled)
  PrintOutcome printOutcome = PrintOutcome::kPrinted;

  std::vector<std::string>
      calls;  // "Options", "Save <title> <first filter> <proposed name>", "Copy WxH", "Print WxH <name>"
  RgbImage copied, printed;

  RgbImage PaneImage(Pane pane) override { return pane == Pane::kPriceChart ? chart : technical; }
  void CopyImage(const RgbImage& image) override {
    calls.push_back("Copy " + Size(image));
    copied = image;
  }
  PrintOutcome PrintImage(const RgbImage& image, std::string_view documentName) override {
    calls.push_back("Print " + Size(image) + " " + std::string(documentName));
    printed = image;
    return printOutcome;
  }
  std::optional<std::string> AskSavePath(const SaveDialog& dialog, const std::string& proposedName) override {
    calls.push_back("Save " + std::string(dialog.title) + " " + std::string(dialog.filters[0].label) + " " +
                    std::string(dialog.filters[0].pattern) + " " + proposedName);
    return savePath;
  }
  bool RunExportOptions() override {
    calls.push_back("Options");
    return optionsAnswer;
  }

 private:
  static std::string Size(const RgbImage& i) {
    return std::to_string(i.width) + "x" + std::to_string(i.height);
  }
};

}  // namespace sorano::test
