// The export area of the command set: the shown brand's time series, as loaded for the chart, into a
// text, CSV or HTML file the user names, or into a workbook opened with the desktop's spreadsheet.
#include <string>

#include "core/app/command_area.h"
#include "core/app/output_shell.h"
#include "core/fs/file_io.h"
#include "core/output/time_series_export.h"

namespace sorano {

namespace {

constexpr FileFilter kAllFiles = {"すべて(*.*)", "*.*"};

struct ExportCommand {
  int id;
  ExportFormat format;
  SaveDialog dialog;        // not asked for the spreadsheet
  std::string_view suffix;  // the proposed (or temporary) file name is the brand code and this
};

constexpr ExportCommand kExports[] = {
    {32939, ExportFormat::kText, {"テキストに保存する", {{{"テキスト(*.txt)", "*.txt"}, kAllFiles}}}, ".txt"},
    {32940, ExportFormat::kCsv, {"CSVに保存する", {{{"CSV(*.csv)", "*.csv"}, kAllFiles}}}, ".csv"},
    {32944, ExportFormat::kHtml, {"HTMLに保存する", {{{"html(*.html)", "*.html"}, kAllFiles}}}, ".html"},
    {32941, ExportFormat::kSpreadsheet, {}, ".xlsx"},
};

// The workbook goes to a fresh folder of its own as "<code>.xlsx" and is opened with the desktop's
// program for it; when none opens it, the user is told where it is.
void SendToSpreadsheet(const std::string& workbook, const std::string& name, Shell& shell, Prompt& prompt) {
  const std::optional<std::string> folder = MakeTempFolder("sorano-");
  const std::string path = folder ? *folder + "/" + name : name;
  if (!folder || !WriteFileAtomic(path, workbook)) {
    prompt.Message(std::string(kMsgCannotSave) + path, kCaptionError, PromptIcon::Error);
    return;
  }
  if (!shell.OpenFile(path))
    prompt.Message(std::string(kMsgSpreadsheetNotOpened) + path, kCaptionNotice, PromptIcon::Information);
}

}  // namespace

bool ExecuteExportCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  const ExportCommand* command = nullptr;
  for (const ExportCommand& e : kExports)
    if (e.id == id) command = &e;
  if (command == nullptr) return false;
  OutputShell& output = shell.output();
  if (!output.RunExportOptions()) return true;
  const ExportOptions options = ExportOptionsFrom(ws.settings.check_to_data);
  const std::string name = std::to_string(ws.code()) + std::string(command->suffix);

  if (command->format == ExportFormat::kSpreadsheet) {
    const std::optional<std::string> workbook = ExportFile(ws.series, options, command->format);
    if (workbook)
      SendToSpreadsheet(*workbook, name, shell, prompt);
    else
      prompt.Message(std::string(kMsgCannotSave) + name, kCaptionError, PromptIcon::Error);
    return true;
  }
  const std::optional<std::string> path = output.AskSavePath(command->dialog, name);
  if (!path) return true;
  // Built whole, then written atomically: a failed write leaves an existing file as it was.
  const std::optional<std::string> bytes = ExportFile(ws.series, options, command->format);
  if (!bytes || !WriteFileAtomic(*path, *bytes))
    prompt.Message(std::string(kMsgCannotSave) + *path, kCaptionError, PromptIcon::Error);
  return true;
}

}  // namespace sorano
