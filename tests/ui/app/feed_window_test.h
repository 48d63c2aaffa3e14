#pragma once
// The main window offscreen on a temporary data folder, every service host pointing at a sorano-feed
// running in the test process, showing brand 7203.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "feed_server.h"
#include "support/temp_dir.h"
#include "ui/app/main_window.h"

namespace sorano::test {

class FeedWindowTest : public ::testing::Test {
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
    SettingsStore& s = ws->settings;
    std::strncpy(s.runtime.data_path, dir.path().c_str(), sizeof s.runtime.data_path - 1);
    const std::string host = "127.0.0.1:" + std::to_string(feed_->port());
    for (char* field : {s.host_chart, s.host_quote, s.host_chart_image, s.host_maker, s.host_news,
                        s.host_board, s.host_profile, s.host_analysis, s.host_statements})
      std::strncpy(field, host.c_str(), sizeof s.host_chart - 1);
    s.check_code = 7203;
    s.check_DL_restart = 0;
    WriteBytes(dir / "data/mybrand.dat", "");  // no folders yet (a missing file would be reported)
    window = std::make_unique<MainWindow>(*ws, nullptr, "");
    window->resize(1000, 700);
    window->show();
    QApplication::processEvents();
  }

  TempDir dir;
  std::unique_ptr<feed::FeedServer> feed_;
  std::unique_ptr<Workspace> ws;
  std::unique_ptr<MainWindow> window;
};

}  // namespace sorano::test
