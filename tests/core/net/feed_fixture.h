#pragma once
// The net tests talk to a real sorano-feed over loopback sockets; the server runs in the test process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/net/http_client.h"
#include "feed_server.h"
#include "support/temp_dir.h"

namespace sorano::test {

// A feed serving the CSV files of its own temporary folder (write them with WriteCsv before the first
// request for that code), with "today" fixed so pages do not depend on the clock.
class FeedTest : public ::testing::Test {
 protected:
  // Without its own proxy the client follows the environment's proxy variables; the feed on loopback
  // must be reached directly whatever the machine running the tests has set.
  FeedTest() {
    for (const char* name :
         {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
      ::unsetenv(name);
  }
  // synthetic: the feed's generated histories instead of the CSV folder.
  void StartFeed(feed::FeedOptions options = {}, bool synthetic = false) {
    if (options.csvFolder.empty() && !synthetic) options.csvFolder = csv_.path();
    if (options.today == 0) options.today = 20040105;
    feed_ = std::make_unique<feed::FeedServer>(std::move(options));
    port_ = feed_->Start(0);
    ASSERT_GT(port_, 0);
  }
  void WriteCsv(int code, const std::string& text) {
    WriteBytes(csv_ / (std::to_string(code) + ".csv"), text);
  }
  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(const std::string& pathAndQuery) const { return "http://" + Host() + pathAndQuery; }

  // A GET with the program's defaults; returns HttpFetch's result and leaves the body in *body.
  int Get(const std::string& url, std::string* body, int receiveTimeout = 3000) {
    HttpRequest r;
    r.body = body;
    r.agent = "Sorano2.04";
    r.url = url;
    r.receiveTimeout = receiveTimeout;
    return HttpFetch(r);
  }

  TempDir csv_;
  std::unique_ptr<feed::FeedServer> feed_;
  int port_ = -1;
};

}  // namespace sorano::test
