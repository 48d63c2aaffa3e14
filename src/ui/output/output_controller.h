#pragma once
// The desktop side of the export and capture commands (OutputShell): the chart and technical panes'
// back buffers as pictures, the clipboard, printing through Qt Print Support, the save-file dialog and
// the export options dialog.
#include <QImage>
#include <QPrinter>
#include <QString>

#include "core/app/output_shell.h"
#include "core/app/workspace.h"

namespace sorano {

class ChartPaneWidget;
class TechnicalPaneWidget;

// Prints the picture on one page of printer under documentName: stretched from the top-left corner over
// the page's full width and height * k, k = page width / picture width but at least 1 (PrintPlacement).
// False when nothing could be printed (an empty picture, a printer that cannot be opened).
bool PrintImageOn(QPrinter& printer, const QImage& image, const QString& documentName);

class OutputController : public OutputShell {
 public:
  OutputController(Workspace& ws, QWidget* window, ChartPaneWidget* chart, TechnicalPaneWidget* technical);

  RgbImage PaneImage(Pane pane) override;
  void CopyImage(const RgbImage& image) override;
  PrintOutcome PrintImage(const RgbImage& image, std::string_view documentName) override;
  std::optional<std::string> AskSavePath(const SaveDialog& dialog, const std::string& proposedName) override;
  bool RunExportOptions() override;

 private:
  Workspace& ws_;
  QWidget* window_;
  ChartPaneWidget* chart_;
  TechnicalPaneWidget* technical_;
  QString folder_;  // where the last file was saved; the next save dialog starts there
};

}  // namespace sorano
