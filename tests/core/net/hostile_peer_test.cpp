// Services outside the program's control that misbehave on purpose: a page that never ends, a server
// that trickles, a Content-Length that lies, redirects elsewhere. Each fetch ends within a stated time
// in "ERROR" or a bounded body, and a chart download from such a peer leaves the stored files as they
// were.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/net/chart_history.h"
#include "core/net/euc.h"
#include "core/net/net_config.h"
#include "core/store/chart_file.h"
#include "core/text/sjis.h"
#include "feed_fixture.h"

namespace sorano {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool Send(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Sleeps for ms unless the peer is being stopped; false when it is.
bool Pause(const std::stop_token& stop, int ms) {
  for (const auto end = Clock::now() + milliseconds(ms); Clock::now() < end;) {
    if (stop.stop_requested()) return false;
    std::this_thread::sleep_for(milliseconds(5));
  }
  return !stop.stop_requested();
}

// A server on 127.0.0.1 that reads each request's head and then runs its script on the connection.
class HostilePeer {
 public:
  using Script = std::function<void(int fd, const std::stop_token& stop)>;
  explicit HostilePeer(Script script) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), len) != 0 || ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
      return;
    port_ = ntohs(a.sin_port);
    thread_ = std::jthread([this](std::stop_token stop) { Serve(stop); });
  }
  ~HostilePeer() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
  }
  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  int requests() const { return requests_; }

 private:
  void Serve(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
      pollfd p{listener_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      std::string head;
      char buf[1024];
      while (head.find("\r\n\r\n") == std::string::npos) {
        pollfd c{fd, POLLIN, 0};
        if (::poll(&c, 1, 2000) <= 0) break;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        head.append(buf, static_cast<size_t>(n));
      }
      ++requests_;
      script_(fd, stop);
      ::close(fd);
    }
  }

  Script script_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<int> requests_{0};
  std::jthread thread_;
};

// Sends a head and a body, then keeps the connection open (without sending) until the peer stops.
HostilePeer::Script Answer(std::string head, std::string body = "", bool hold = false) {
  return [head, body, hold](int fd, const std::stop_token& stop) {
    if (Send(fd, head + "\r\n") && Send(fd, body) && hold) Pause(stop, 20000);
  };
}

class HostilePeerTest : public test::FeedTest {
 protected:
  // HttpFetch of path on the peer; the body, and the time taken in *took.
  static std::string Fetch(const HostilePeer& peer, const std::string& path, int receiveTimeout,
                           milliseconds* took) {
    std::string body;
    HttpRequest r;
    r.body = &body;
    r.url = "http://" + peer.Host() + path;
    r.receiveTimeout = receiveTimeout;
    r.connectRetries = 0;
    const auto start = Clock::now();
    EXPECT_EQ(HttpFetch(r), 1);
    *took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    return body;
  }

  test::TempDir data_;
  DataFolder folder_{data_.path()};
};

// Each case: the fault, how long a fetch from it may take at most, and its receive time-out. About 10 s
// in all, most of it the two trickling peers.
TEST_F(HostilePeerTest, EveryFaultEndsInErrorWithinItsTimeAndChangesNoFile) {
  const std::string ok = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n";
  const struct {
    const char* fault;
    HostilePeer::Script script;
    int receiveTimeout;  // ms
    int within;          // ms the fetch may take at most
  } faults[] = {
      {"a page that never ends (the 4 MiB limit)",
       [&ok](int fd, const std::stop_token& stop) {
         const std::string block(64 * 1024, 'x');
         if (!Send(fd, ok + "\r\n")) return;
         while (!stop.stop_requested() && Send(fd, block)) {
         }
       },
       3000, 2500},
      {"one byte a second (the receive time-out)",
       [&ok](int fd, const std::stop_token& stop) {
         if (!Send(fd, ok + "Content-Length: 100000\r\n\r\n")) return;
         while (Pause(stop, 1000) && Send(fd, "x")) {
         }
       },
       1000, 2500},
      {"a Content-Length longer than the body",
       Answer(ok + "Content-Length: 5000\r\n", std::string(100, 'x')), 3000, 1000},
      {"a Content-Length beyond the limit, refused before reading",
       Answer(ok + "Content-Length: 99999999999\r\n", std::string(100, 'x'), true), 3000, 1000},
      {"a Content-Length that is no number", Answer(ok + "Content-Length: -5\r\n", "abc", true), 3000, 1000},
      {"no status line", Answer("<html>", "", true), 1000, 2500},
      {"a redirect to another scheme", Answer("HTTP/1.0 302 Found\r\nLocation: ftp://127.0.0.1/t\r\n"), 3000,
       1000},
      {"a redirect to a file", Answer("HTTP/1.0 302 Found\r\nLocation: file:///etc/passwd\r\n"), 3000, 1000},
  };
  const std::vector<ChartRecord> stored = {{2003, 12, 4, 1, 1, 1, 1}, {2003, 12, 5, 2, 2, 2, 2}};
  ASSERT_EQ(WriteChartFiles(folder_, stored, std::vector<VolumeRecord>(2), 7203), 1);
  const std::string prices = test::ReadBytes(PriceFilePath(folder_, 7203));
  const std::string volumes = test::ReadBytes(VolumeFilePath(folder_, 7203));
  for (const auto& f : faults) {
    HostilePeer peer(f.script);
    milliseconds took{};
    EXPECT_EQ(Fetch(peer, "/t", f.receiveTimeout, &took), "ERROR") << f.fault;
    EXPECT_LT(took.count(), f.within) << f.fault;

    NetConfig config;
    config.chartHost = peer.Host();
    config.receiveTimeout = f.receiveTimeout;
    config.connectRetries = 0;
    std::vector<ChartRecord> records(kMaxChartRecords);
    std::vector<VolumeRecord> vols(kMaxChartRecords);
    EXPECT_NE(DownloadChartHistory(config, folder_, records, vols, 7203, 1, {2003, 1, 1, 2003, 12, 31}, 0, 0),
              "OK")
        << f.fault;
    EXPECT_EQ(test::ReadBytes(PriceFilePath(folder_, 7203)), prices) << f.fault;
    EXPECT_EQ(test::ReadBytes(VolumeFilePath(folder_, 7203)), volumes) << f.fault;
  }
}

// A chain of "next" pages that never ends (the same 28 days on every page) stops at the 12000th row,
// in 429 pages and well under 10 s.
TEST_F(HostilePeerTest, AnEndlessChainOfPagesStopsAtTheRowLimit) {
  std::string page = "<table>\n";
  for (int day = 28; day > 0; --day)
    page += "<tr align=right><td>2003年12月" + std::to_string(day) +
            "日</td><td>10</td><td>12</td><td>9</td><td><b>11</b></td><td>1,000</td><td>11</td></tr>\n";
  page = ShiftJisToEuc(Utf8ToSjis(page + "</table>\n<a href=\"/t\">次の50件</a>\n"));
  HostilePeer endless(Answer("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n", page));
  NetConfig config;
  config.chartHost = endless.Host();
  std::vector<ChartRecord> records(kMaxChartRecords);
  std::vector<VolumeRecord> volumes(kMaxChartRecords);
  const auto start = Clock::now();
  EXPECT_EQ(
      DownloadChartHistory(config, folder_, records, volumes, 7203, 1, {2003, 1, 1, 2003, 12, 31}, 0, 0),
      "OK");
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(endless.requests(), static_cast<int>((kMaxChartRecords + 27) / 28));
  EXPECT_EQ(test::ReadBytes(PriceFilePath(folder_, 7203)).size(), kMaxChartRecords * 28);
  EXPECT_EQ(test::ReadBytes(VolumeFilePath(folder_, 7203)).size(), kMaxChartRecords * 24);
}

TEST_F(HostilePeerTest, BodiesEndWhereTheirLengthSaysAndRedirectsReachAnotherHost) {
  StartFeed();
  feed_->SetVersionText("2.05\r\n");
  milliseconds took{};
  // What follows the announced length is not part of the body.
  HostilePeer shorter(Answer("HTTP/1.0 200 OK\r\nContent-Length: 4\r\n", "2.05 and more", true));
  EXPECT_EQ(Fetch(shorter, "/", 3000, &took), "2.05");
  // Another host (and port) answers in the end.
  HostilePeer elsewhere(Answer("HTTP/1.0 301 Moved\r\nLocation: " + Url("/sorano.txt") + "\r\n"));
  EXPECT_EQ(Fetch(elsewhere, "/", 3000, &took), "2.05\r\n");
  // A loop stops after the tenth redirect.
  HostilePeer loop(Answer("HTTP/1.0 302 Found\r\nLocation: /again\r\n"));
  EXPECT_EQ(Fetch(loop, "/", 3000, &took), "ERROR");
  EXPECT_EQ(loop.requests(), 11);
}

}  // namespace
}  // namespace sorano
