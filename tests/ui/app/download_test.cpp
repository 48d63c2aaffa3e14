// The window's download commands against sorano-feed in this process: the modal progress dialog shows
// while the job runs, closes by itself when the chart has been read again, and its cancel ends the job
// and frees the data commands; a job that cannot store its data says so.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/app/command_handler.h"
#include "core/app/commands.h"
#include "feed_server.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"
#include "ui/app/main_window.h"
#include "ui/net/download_dialogs.h"

namespace sorano {
namespace {

class WindowDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The feed on loopback is reached directly whatever proxy the machine has set.
    for (const char* name :
         {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
      ::unsetenv(name);
    feed::FeedOptions options;
    options.brandsFile = std::string(SORANO_SOURCE_DIR) + "/resources/default.dat";
    feed_ = std::make_unique<feed::FeedServer>(options);
    ASSERT_GT(feed_->Start(0), 0);
    ws = std::make_unique<Workspace>();
    std::strncpy(ws->settings.check_path, dir.path().c_str(), sizeof ws->settings.check_path - 1);
    const std::string host = "127.0.0.1:" + std::to_string(feed_->port());
    std::strncpy(ws->settings.host_chart, host.c_str(), sizeof ws->settings.host_chart - 1);
    std::strncpy(ws->settings.host_quote, host.c_str(), sizeof ws->settings.host_quote - 1);
    ws->settings.check_code = 7203;
    ws->settings.check_DL_restart = 0;
    window = std::make_unique<MainWindow>(*ws, nullptr, "");
    window->resize(1000, 700);
    window->show();
    QApplication::processEvents();
  }

  std::string ChartFile() const { return dir.path() + "data/chdata_d/7203.dat"; }

  test::TempDir dir;
  std::unique_ptr<feed::FeedServer> feed_;
  std::unique_ptr<Workspace> ws;
  std::unique_ptr<MainWindow> window;
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
