#pragma once
// What the export and capture commands need from the desktop beyond the Shell: the panes' pictures,
// the clipboard, the printer, the save-file dialog and the export options dialog. The desktop's output
// controller implements it; tests record the calls.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/shell.h"
#include "core/gfx/rgb_image.h"

namespace sorano {

struct FileFilter {
  std::string_view label;    // "テキスト(*.txt)"
  std::string_view pattern;  // "*.txt"
};

struct SaveDialog {
  std::string_view title;
  std::array<FileFilter, 2> filters;
};

enum class PrintOutcome { kPrinted, kCancelled, kFailed };

class OutputShell {
 public:
  virtual ~OutputShell() = default;

  // The last picture of a pane's back buffer (kPriceChart or kTechnical), as its painter drew it;
  // empty while the pane is not shown.
  virtual RgbImage PaneImage(Pane pane) = 0;
  // Puts the picture on the clipboard as an image.
  virtual void CopyImage(const RgbImage& image) = 0;
  // The print dialog (no print-to-file box); on OK one page under documentName with the picture at the
  // top-left corner as PrintPlacement says.
  virtual PrintOutcome PrintImage(const RgbImage& image, std::string_view documentName) = 0;
  // The save-file dialog, with the proposed file name; the chosen path, or nullopt when cancelled.
  virtual std::optional<std::string> AskSavePath(const SaveDialog& dialog,
                                                 const std::string& proposedName) = 0;
  // The export options dialog "条件指定" on the settings' check_to_data: true when it was closed with
  // OK, the options then stored.
  virtual bool RunExportOptions() = 0;
};

// Messages of the output commands (UTF-8).
inline constexpr std::string_view kMsgNoPicture =
    "取り込む画面が表示されていません。\r\n標準チャートを表示してからもう一度お試しください。";
inline constexpr std::string_view kMsgCannotSave = "ファイルを保存できませんでした。\r\n";  // + the path
inline constexpr std::string_view kMsgCannotPrint = "印刷できませんでした。";
inline constexpr std::string_view kMsgSpreadsheetNotOpened =
    "表計算ソフトを起動できませんでした。\r\nファイルは次の場所に保存してあります。\r\n";  // + the path

}  // namespace sorano
