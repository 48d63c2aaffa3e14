// The chart area's views in the main window (offscreen): the tabs show their panes and the chart
// side's menu, the comparison-code window, the panes' pictures for the capture commands, and printing
// onto a PDF page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabBar>
#include <cstring>
#include <memory>

#include "core/app/commands.h"
#include "core/store/chart_file.h"
#include "support/temp_dir.h"
#include "ui/app/main_window.h"
#include "ui/chart/chart_pane.h"
#include "ui/chart/comparison_pane.h"
#include "ui/chart/time_series_pane.h"
#include "ui/gfx/qt_canvas.h"
#include "ui/output/export_options_dialog.h"
#include "ui/output/output_controller.h"

namespace sorano {
namespace {

int CountColour(const QImage& image, QRgb c) {
  int n = 0;
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) n += (line[x] & 0xFFFFFF) == (c & 0xFFFFFF);
  }
  return n;
}

class ChartAreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strncpy(ws->settings.runtime.data_path, dir.path().c_str(),
                 sizeof ws->settings.runtime.data_path - 1);
    test::WriteBytes(dir / "data/mybrand.dat", "");  // no folders: nothing to report
    ws->settings.check_code = 7203;
    ws->settings.check_hikaku_code[0] = 0;
    ws->settings.check_hikaku_code[1] = 1020;
    ws->settings.check_hikaku_code[2] = 4444;  // no chart file: skipped
    WriteDays(7203, 1000, 0);
    WriteDays(1020, 3000, 8);
    ReloadSeries(*ws);
    window = std::make_unique<MainWindow>(*ws, nullptr, "");
    window->resize(1000, 720);
    window->show();
    QApplication::processEvents();
  }
  // 200 days from 2003-01-01, zigzagging up from a price level (phase shifts the zigzag).
  void WriteDays(int32_t code, int level, int phase) {
    std::vector<ChartRecord> days;
    for (int i = 0; i < 200; ++i) {
      const int p = level + ((i + phase) % 17) * level / 100;
      days.push_back({2003 + i / 240, 1 + (i / 20) % 12, 1 + i % 20, p, p + 5, p - 5, p});
    }
    ASSERT_EQ(WriteChart(ws->settings.data_folder(), days, code), 1);
    ASSERT_EQ(WriteVolumes(ws->settings.data_folder(), std::vector<VolumeRecord>(days.size()), code), 1);
  }
  QMenu* ChartMenu() const { return window->ContextMenu(context_menu::kChart); }
  void RightClick(QWidget* pane) {
    const QPoint p(40, 40);
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(p), QPointF(pane->mapToGlobal(p)), Qt::RightButton,
                  Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(pane, &e);
    QApplication::processEvents();
  }

  test::TempDir dir;
  std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
  std::unique_ptr<MainWindow> window;
};

TEST_F(ChartAreaTest, EveryTabShowsItsPaneWithTheChartSideMenu) {
  QTabBar* tabs = window->chartTabs();
  const struct {
    int tab;
    QWidget* pane;
  } views[] = {{1, window->comparisonPane()},
               {2, window->comparisonPane()},
               {3, window->timeSeriesPane()},
               {0, window->chartPane()}};
  for (const auto& v : views) {
    tabs->setCurrentIndex(v.tab);
    EXPECT_EQ(ws->settings.check_bview, v.tab);
    ASSERT_TRUE(v.pane->isVisible()) << v.tab;
    EXPECT_EQ(window->chartPane()->isVisible(), v.tab == 0);
    RightClick(v.pane);
    EXPECT_TRUE(ChartMenu()->isVisible()) << v.tab;
    // The way back: the menu's chart-mode items are enabled, the shown one checked.
    EXPECT_TRUE(window->Action(cmd::kStandardChart)->isEnabled());
    EXPECT_TRUE(window
                    ->Action(v.tab == 3   ? cmd::kTimeSeriesChart
                             : v.tab == 0 ? cmd::kStandardChart
                             : v.tab == 1 ? cmd::kPercentageChart
                                          : cmd::kComparisonChart)
                    ->isChecked());
    ChartMenu()->hide();
  }
}

TEST_F(ChartAreaTest, ComparisonCodesWindowOpensWithTheComparisonChart) {
  ComparisonPaneWidget* pane = window->comparisonPane();
  window->Action(cmd::kPercentageChart)->trigger();
  EXPECT_FALSE(pane->CodeWindowOpen());
  window->Action(cmd::kComparisonChart)->trigger();
  ASSERT_TRUE(pane->CodeWindowOpen());
  ComparisonCodeDialog* codes = pane->codeWindow();
  EXPECT_EQ(codes->box(0)->text(), QString());
  EXPECT_EQ(codes->box(1)->text(), QStringLiteral("1020"));
  // A new layout keeps the one window.
  window->resize(1010, 720);
  QApplication::processEvents();
  EXPECT_EQ(pane->codeWindow(), codes);

  // The comparison brand's line is drawn in the second pen; emptying its box removes it.
  const QRgb second = qRgb(0x80, 0xFF, 0x80);  // color_chart10
  EXPECT_GT(CountColour(pane->Picture(), second), 50);
  codes->box(1)->setText(QString());
  codes->Store();
  EXPECT_EQ(ws->settings.check_hikaku_code[1], 0);
  EXPECT_EQ(CountColour(pane->Picture(), second), 0);

  window->Action(cmd::kStandardChart)->trigger();
  EXPECT_FALSE(pane->CodeWindowOpen());
}

TEST_F(ChartAreaTest, TimeSeriesAndMonochromePictures) {
  window->Action(cmd::kTimeSeriesChart)->trigger();
  TimeSeriesPaneWidget* table = window->timeSeriesPane();
  EXPECT_GT(CountColour(table->Picture(), qRgb(0x00, 0x1E, 0x00)), 100);  // color_list02 text
  window->Action(cmd::kMonochromeOn)->trigger();
  EXPECT_EQ(CountColour(table->Picture(), qRgb(0x00, 0x1E, 0x00)), 0);
  EXPECT_GT(CountColour(table->Picture(), qRgb(0, 0, 0)), 100);
  window->Action(cmd::kMonochromeOff)->trigger();
}

TEST_F(ChartAreaTest, PanePicturesAreTheBackBuffersOfShownPanes) {
  OutputShell& out = window->output();
  const RgbImage chart = out.PaneImage(Pane::kPriceChart);
  const QImage picture = window->chartPane()->Picture();
  ASSERT_EQ(chart.width, picture.width());
  ASSERT_EQ(chart.height, picture.height());
  EXPECT_EQ(chart.height, window->chartPane()->CanvasSize().height());  // the scroll bar is not in it
  EXPECT_EQ(chart.At(5, 7) & 0xFFFFFF, picture.pixel(5, 7) & 0xFFFFFF);
  EXPECT_EQ(ToRgbImage(ToQImage(chart)).pixels, chart.pixels);
  // Another chart mode hides both panes: nothing to capture.
  window->Action(cmd::kTimeSeriesChart)->trigger();
  EXPECT_TRUE(out.PaneImage(Pane::kPriceChart).empty());
  EXPECT_TRUE(out.PaneImage(Pane::kTechnical).empty());
}

TEST(PrintTest, OnePdfPageOrNothing) {
  test::TempDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir / "wide.pdf"));
  QImage wide(20000, 300, QImage::Format_RGB32);  // wider than the page: printed at its own height
  wide.fill(Qt::black);
  ASSERT_TRUE(PrintImageOn(printer, wide, QStringLiteral("Sorano プリント")));
  EXPECT_EQ(printer.docName(), QStringLiteral("Sorano プリント"));
  const QByteArray pdf = QByteArray::fromStdString(test::ReadBytes(dir / "wide.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 1);

  QPrinter empty(QPrinter::HighResolution);
  empty.setOutputFormat(QPrinter::PdfFormat);
  empty.setOutputFileName(QString::fromStdString(dir / "empty.pdf"));
  EXPECT_FALSE(PrintImageOn(empty, QImage(), QStringLiteral("Sorano プリント")));
  EXPECT_EQ(test::ReadBytes(dir / "empty.pdf"), "");
}

TEST(ExportOptionsDialogTest, RangeBoxesFollowTheSwitchAndAnInvalidRangeKeepsItOpen) {
  int32_t toData[14] = {2003, 2, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 9};
  ExportOptionsDialog dialog(toData);
  EXPECT_EQ(dialog.box(0)->text(), QStringLiteral("2003"));
  EXPECT_EQ(dialog.box(2)->text(), QString());
  EXPECT_FALSE(dialog.box(0)->isEnabled());
  dialog.rangeBox()->setChecked(true);
  EXPECT_TRUE(dialog.box(3)->isEnabled());
  dialog.open();
  dialog.box(2)->setText(QStringLiteral("2002"));
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(toData[4], 0);
  dialog.box(2)->setText(QStringLiteral("2004"));
  dialog.box(3)->setText(QStringLiteral("0"));
  dialog.columnBox(ExportColumn::kVolume)->setChecked(false);
  dialog.accept();
  EXPECT_FALSE(dialog.isVisible());
  const int32_t want[14] = {2003, 2, 2004, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 9};
  EXPECT_TRUE(std::equal(std::begin(want), std::end(want), std::begin(toData)));
}

}  // namespace
}  // namespace sorano
