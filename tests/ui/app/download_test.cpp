// The window's download commands against sorano-feed in this process: the modal progress dialog shows
// while the job runs, closes by itself when the chart has been read again, and its cancel ends the job
// and frees the data commands; a job that cannot store its data says so.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "core/app/command_handler.h"
#include "core/app/commands.h"
#include "feed_window_test.h"
#include "support/file_size_limit.h"
#include "ui/net/download_dialogs.h"

namespace sorano {
namespace {

class WindowDownloadTest : public test::FeedWindowTest {
 protected:
  std::string ChartFile() const { return dir.path() + "data/chdata_d/7203.dat"; }
};

TEST_F(WindowDownloadTest, InitialisingShowsTheProgressDialogUntilTheChartIsRead) {
  ASSERT_EQ(ws->series.count(), -1);
  QString caption;
  bool greyedWhileRunning = false;
  QTimer::singleShot(50, [&] {
    if (auto* d = qobject_cast<ProgressDialog*>(QApplication::activeModalWidget()))
      caption = d->windowTitle();
    greyedWhileRunning = !window->Action(cmd::kChartUpdate)->isEnabled();
  });
  window->Action(cmd::kChartInitialise)->trigger();  // returns when the dialog has closed
  EXPECT_EQ(caption, QStringLiteral("7203 - ダウンロード中"));
  EXPECT_TRUE(greyedWhileRunning);
  EXPECT_FALSE(ws->busy());
  EXPECT_TRUE(window->Action(cmd::kChartUpdate)->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(ChartFile()));
  EXPECT_GT(ws->series.count(), 100);  // read again and shown
  EXPECT_EQ(ws->window.first + ws->window.visible, ws->series.count());
}

TEST_F(WindowDownloadTest, CancelEndsTheJobAndFreesTheDataCommands) {
  feed::FeedFaults slow;
  slow.latencyMs = 400;
  feed_->SetFaults(slow);
  bool clicked = false;
  QTimer::singleShot(600, [&] {
    auto* d = qobject_cast<ProgressDialog*>(QApplication::activeModalWidget());
    if (d == nullptr) return;
    if (auto* cancel = d->findChild<QPushButton*>("cancelButton")) {
      cancel->click();
      clicked = true;
    }
  });
  window->Action(cmd::kChartInitialise)->trigger();
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(ws->busy());
  QApplication::processEvents();  // the job's own end arrives after the dialog has gone
  EXPECT_TRUE(window->Action(cmd::kChartUpdate)->isEnabled());
  EXPECT_TRUE(window->Action(cmd::kAllBrandsDownload)->isEnabled());
  // Whatever the job left is whole: both files or neither, in whole records.
  const std::string volumes = dir.path() + "data/chdata_da/7203.dat";
  if (std::filesystem::exists(ChartFile())) {
    EXPECT_EQ(std::filesystem::file_size(ChartFile()) % 28, 0u);
    EXPECT_EQ(std::filesystem::file_size(ChartFile()) / 28, std::filesystem::file_size(volumes) / 24);
  }
}

TEST_F(WindowDownloadTest, AFullDiskIsToldOnceTheDialogHasClosedAndWritesNoChart) {
  QString shown;
  std::function<void()> answer = [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->done(QMessageBox::Ok);
      return;
    }
    QTimer::singleShot(20, answer);  // the progress dialog is still up
  };
  QTimer::singleShot(20, answer);
  {
    test::ScopedFileSizeLimit full(1024);  // a year of days is 7 KB
    window->Action(cmd::kChartInitialise)->trigger();
  }
  EXPECT_EQ(shown, QString::fromUtf8(kMsgNotStored.data(), static_cast<qsizetype>(kMsgNotStored.size())));
  EXPECT_FALSE(std::filesystem::exists(ChartFile()));
  EXPECT_FALSE(ws->busy());
}

}  // namespace
}  // namespace sorano
