#include "ui/output/output_controller.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>

#include "core/output/print_layout.h"
#include "ui/chart/chart_pane.h"
#include "ui/output/export_options_dialog.h"
#include "ui/technical/technical_pane_widget.h"

namespace sorano {

namespace {

QString U(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

bool PrintImageOn(QPrinter& printer, const QImage& image, const QString& documentName) {
  printer.setDocName(documentName);
  QPainter p;
  if (image.isNull() || !p.begin(&printer)) return false;
  const std::optional<PrintRect> at = PrintPlacement(p.device()->width(), image.width(), image.height());
  if (at) p.drawImage(QRect(at->x, at->y, at->width, at->height), image);
  return p.end() && at.has_value();
}

OutputController::OutputController(Workspace& ws, QWidget* window, ChartPaneWidget* chart,
                                   TechnicalPaneWidget* technical)
    : ws_(ws), window_(window), chart_(chart), technical_(technical), folder_(QDir::homePath()) {}

RgbImage OutputController::PaneImage(Pane pane) {
  // A pane laid out at zero size is hidden: it shows nothing, so it has no picture to give.
  if (pane == Pane::kPriceChart && !chart_->isHidden() && !chart_->CanvasSize().isEmpty())
    return ToRgbImage(chart_->Picture());
  if (pane == Pane::kTechnical && !technical_->isHidden() && !technical_->size().isEmpty())
    return ToRgbImage(technical_->Picture());
  return {};
}

void OutputController::CopyImage(const RgbImage& image) {
  QApplication::clipboard()->setImage(ToQImage(image));
}

PrintOutcome OutputController::PrintImage(const RgbImage& image, std::string_view documentName) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, window_);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  if (dialog.exec() != QDialog::Accepted) return PrintOutcome::kCancelled;
  return PrintImageOn(printer, ToQImage(image), U(documentName)) ? PrintOutcome::kPrinted
                                                                 : PrintOutcome::kFailed;
}

std::optional<std::string> OutputController::AskSavePath(const SaveDialog& dialog,
                                                         const std::string& proposedName) {
  QStringList filters;
  for (const FileFilter& f : dialog.filters) filters << U(f.label);
  const QString path = QFileDialog::getSaveFileName(
      window_, U(dialog.title), QDir(folder_).filePath(QString::fromStdString(proposedName)),
      filters.join(QStringLiteral(";;")));
  if (path.isEmpty()) return std::nullopt;
  folder_ = QFileInfo(path).absolutePath();
  return QFile::encodeName(path).toStdString();
}

bool OutputController::RunExportOptions() {
  ExportOptionsDialog dialog(ws_.settings.check_to_data, window_);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace sorano
