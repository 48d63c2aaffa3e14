// The export and capture commands on a Workspace with a recording Shell, OutputShell and Prompt.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <memory>

#include "core/app/command_handler.h"
#include "core/app/output_shell.h"
#include "core/fs/file_io.h"
#include "core/output/bmp_file.h"
#include "core/output/pane_pictures.h"
#include "core/output/time_series_export.h"
#include "support/fake_prompt.h"
#include "support/fake_shell.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using Calls = std::vector<std::string>;

class OutputCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws->settings.check_code = 7203;
    std::vector<PriceBar> bars;
    for (int d = 1; d <= 5; ++d) bars.push_back({2003, 9, d, 100, 120, 90, 100 + d, 1000 * d, 1.0});
    ws->series.Assign(bars);
    shell.out.chart = Picture(4, 3, 0x00102030);
    shell.out.technical = Picture(4, 2, 0x00405060);
  }
  static RgbImage Picture(int w, int h, uint32_t pixel) {
    RgbImage i(w, h);
    i.pixels.assign(i.pixels.size(), pixel);
    return i;
  }
  bool Run(int id) { return ExecuteCommand(*ws, shell, prompt, id); }
  ExportOptions Options() const { return ExportOptionsFrom(ws->settings.check_to_data); }

  test::TempDir dir;
  std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
  test::FakeShell shell;
  test::FakePrompt prompt;
};

TEST_F(OutputCommandTest, ExportsWriteTheFileTheUserNames) {
  struct Case {
    int id;
    ExportFormat format;
    std::string dialog;
  };
  for (const Case& c :
       {Case{32939, ExportFormat::kText, "Save テキストに保存する テキスト(*.txt) *.txt 7203.txt"},
        Case{32940, ExportFormat::kCsv, "Save CSVに保存する CSV(*.csv) *.csv 7203.csv"},
        Case{32944, ExportFormat::kHtml, "Save HTMLに保存する html(*.html) *.html 7203.html"}}) {
    shell.out.calls.clear();
    shell.out.savePath = dir / std::to_string(c.id);
    test::WriteBytes(*shell.out.savePath, "an older file of the same name");
    ASSERT_TRUE(Run(c.id));
    EXPECT_EQ(shell.out.calls, (Calls{"Options", c.dialog}));
    EXPECT_EQ(test::ReadBytes(*shell.out.savePath), *ExportFile(ws->series, Options(), c.format)) << c.id;
  }
  EXPECT_TRUE(prompt.calls.empty());

  // Cancelling the options or the save dialog writes nothing.
  shell.out.calls.clear();
  shell.out.savePath = dir / "cancelled.csv";
  shell.out.optionsAnswer = false;
  Run(32940);
  shell.out.optionsAnswer = true;
  shell.out.savePath.reset();
  Run(32940);
  EXPECT_EQ(shell.out.calls, (Calls{"Options", "Options", "Save CSVに保存する CSV(*.csv) *.csv 7203.csv"}));
  EXPECT_EQ(test::ReadBytes(dir / "cancelled.csv"), "");
}

TEST_F(OutputCommandTest, FailedWriteKeepsTheOldFileAndSaysSo) {
  const std::string path = dir / "7203.txt";
  test::WriteBytes(path, "old");
  shell.out.savePath = path;
  // A file-size limit makes the write fail as a full disk would (even for root).
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit tiny = old;
  tiny.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &tiny);
  Run(32939);
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(test::ReadBytes(path), "old");
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, std::string(kMsgCannotSave) + path);
  EXPECT_EQ(prompt.calls[0].caption, "エラー");
}

TEST_F(OutputCommandTest, SpreadsheetOpensAFreshWorkbookOrSaysWhereItIs) {
  ASSERT_TRUE(Run(32941));
  ASSERT_EQ(shell.Work().size(), 1u);
  const std::string path = shell.Work()[0].substr(std::string("OpenFile ").size());
  EXPECT_TRUE(path.ends_with("/7203.xlsx"));
  EXPECT_EQ(test::ReadBytes(path).substr(0, 2), "PK");
  EXPECT_EQ(shell.out.calls, (Calls{"Options"}));  // no save dialog
  EXPECT_TRUE(prompt.calls.empty());

  shell.openFileAnswer = false;
  Run(32941);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_TRUE(prompt.calls[0].text.starts_with(kMsgSpreadsheetNotOpened));
  const std::string second = prompt.calls[0].text.substr(kMsgSpreadsheetNotOpened.size());
  EXPECT_NE(second, path);
  EXPECT_EQ(test::ReadBytes(second).substr(0, 2), "PK");
  for (const std::string& p : {path, second}) RemoveFolder(p.substr(0, p.rfind('/')));
}

TEST_F(OutputCommandTest, CapturesTakeThePanePicturesAndStackBoth) {
  const std::string bmpPath = dir / "picture.bmp";
  shell.out.savePath = bmpPath;
  struct Case {
    int id;
    std::string call;
  };
  for (const Case& c :
       {Case{32923, "Copy 4x3"}, Case{32924, "Copy 4x2"}, Case{32925, "Copy 4x5"},
        Case{32926, "Print 4x3 Sorano プリント"}, Case{32927, "Print 4x2 Sorano プリント"},
        Case{32929, "Print 4x5 Sorano プリント"},
        Case{32930, "Save ビートマップを保存する ビートマップ(*.bmp) *.bmp 7203_Chart.bmp"},
        Case{32931, "Save ビートマップを保存する ビートマップ(*.bmp) *.bmp 7203_Technical.bmp"},
        Case{32932, "Save ビートマップを保存する ビートマップ(*.bmp) *.bmp 7203.bmp"}}) {
    shell.out.calls.clear();
    ASSERT_TRUE(Run(c.id)) << c.id;
    EXPECT_EQ(shell.out.calls, (Calls{c.call})) << c.id;
  }
  EXPECT_EQ(shell.out.copied.At(0, 4), 0x00405060u);  // the technical pane below the chart
  EXPECT_EQ(test::ReadBytes(bmpPath), EncodeBmp(StackImages(shell.out.chart, shell.out.technical)));
  EXPECT_TRUE(prompt.calls.empty());
}

TEST_F(OutputCommandTest, NothingToCaptureOrAFailedPrintIsSaid) {
  shell.out.chart = RgbImage{};  // the chart pane is not shown
  shell.out.savePath = dir / "none.bmp";
  for (int id : {32923, 32925, 32926, 32929, 32930, 32932}) Run(id);
  EXPECT_TRUE(shell.out.calls.empty());
  EXPECT_EQ(test::ReadBytes(dir / "none.bmp"), "");
  ASSERT_EQ(prompt.calls.size(), 6u);
  EXPECT_EQ(prompt.calls[0].text, kMsgNoPicture);

  prompt.calls.clear();
  shell.out.printOutcome = PrintOutcome::kCancelled;
  Run(32927);
  EXPECT_TRUE(prompt.calls.empty());
  shell.out.printOutcome = PrintOutcome::kFailed;
  Run(32927);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, kMsgCannotPrint);
}

}  // namespace
}  // namespace sorano
