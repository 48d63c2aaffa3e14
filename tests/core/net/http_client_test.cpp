#include <gtest/gtest.h>
#include <iconv.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "core/net/euc.h"
#include "core/net/http_client.h"
#include "core/text/sjis.h"
#include "feed_fixture.h"

namespace sorano {
namespace {

using test::FeedTest;

// ---- EUC-JP -> Shift_JIS ----

std::string Iconv(const std::string& in, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(in.size() * 4 + 8, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return {};
  out.resize(out.size() - dstLeft);
  return out;
}

TEST(EucToShiftJis, MatchesTheCharacterSetMappingForEveryJisX0208Character) {
  int compared = 0;
  for (int j1 = 0x21; j1 <= 0x7E; ++j1) {
    for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
      const std::string euc{static_cast<char>(j1 | 0x80), static_cast<char>(j2 | 0x80)};
      const std::string expected = Iconv(euc, "EUC-JP", "SHIFT_JIS");
      if (expected.size() != 2) continue;  // unassigned in JIS X 0208
      ASSERT_EQ(EucToShiftJis(euc), expected) << std::hex << j1 << " " << j2;
      ASSERT_EQ(ShiftJisToEuc(expected), euc);
      ++compared;
    }
  }
  EXPECT_GT(compared, 6000);
}

TEST(EucToShiftJis, KatakanaAsciiAndTheEndOfTheText) {
  // "<td>東証1部</td>" keeps its markup; half-width "ｱ" (0x8E 0xB1) loses its shift byte.
  EXPECT_EQ(EucToShiftJis(Iconv("<td>東証1部</td>", "UTF-8", "EUC-JP")), Utf8ToSjis("<td>東証1部</td>"));
  EXPECT_EQ(EucToShiftJis("a\x8E\xB1z"), "a\xB1z");
  // A lead byte or a shift byte as the very last byte is dropped, nothing is read past the end.
  EXPECT_EQ(EucToShiftJis("ab\xB5"), "ab");
  EXPECT_EQ(EucToShiftJis("ab\x8E"), "ab");
  EXPECT_EQ(EucToShiftJis(""), "");
  EXPECT_EQ(ShiftJisToEuc("\xB1"), "\x8E\xB1");
}

TEST(EucToShiftJis, BytesThatStartNoCharacterBecomeQuestionMarks) {
  // Found by fuzzing: such bytes were copied, and a copied 0x81..0x9F or 0xE0..0xEF is a Shift_JIS
  // lead byte that made a character of the byte after it ("\x81<" swallowed the '<' of a tag).
  const struct {
    const char* euc;
    const char* sjis;
  } cases[] = {
      {"\x81<td>", "?<td>"},    // a stray byte before markup
      {"\xB5<", "?<"},          // a lead byte whose partner is not one
      {"\x8E\x81x", "??x"},     // a single shift before no katakana
      {"\x8F\xB0\xA1z", "?z"},  // JIS X 0212: no Shift_JIS code
      {"\xFF\xA0", "?"},        // and at the very end a cut character is dropped
  };
  for (const auto& c : cases) EXPECT_EQ(EucToShiftJis(c.euc), c.sjis) << c.euc;
}

// ---- SplitUrl ----

TEST(SplitUrl, SchemesPortsAndPaths) {
  std::string host, path;
  int port = 0, flags = 0;
  ASSERT_EQ(SplitUrl("http://chart.example/t?c=2003&a=12&s=7203", host, path, port, flags), 0);
  EXPECT_EQ(host, "chart.example");
  EXPECT_EQ(path, "/t?c=2003&a=12&s=7203");
  EXPECT_EQ(port, 80);
  EXPECT_EQ(flags & kHttpFlagSecure, 0);

  flags = kHttpRequestFlags;
  ASSERT_EQ(SplitUrl("http://127.0.0.1:8080/q?s=7203&d=b", host, path, port, flags), 0);
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 8080);
  EXPECT_EQ(path, "/q?s=7203&d=b");

  flags = kHttpRequestFlags;
  ASSERT_EQ(SplitUrl("https://maker.example/", host, path, port, flags), 0);
  EXPECT_EQ(port, 443);
  EXPECT_EQ(path, "/");
  EXPECT_EQ(flags, kHttpRequestFlags | kHttpFlagSecure);
}

TEST(SplitUrl, RefusesWhatItCannotUse) {
  std::string host = "keep", path = "keep";
  int port = 0, flags = 0;
  for (const char* url : {"ftp://host/file", "http://host-without-slash", "no colon at all", "http:/x/y",
                          "http://:80/", "http://host:0/", "http://host:99999/", "http://host:abc/",
                          // Found by fuzzing: libcurl reads these as another host than SplitUrl did.
                          "http://user@evil.example:80/", "http://h?x/", "http://h#x/", "http://h\\x/"}) {
    EXPECT_EQ(SplitUrl(url, host, path, port, flags), kHttpInvalidParameter) << url;
  }
  const std::string longHost = "http://" + std::string(kHttpMaxUrlPart + 1, 'h') + "/";
  EXPECT_EQ(SplitUrl(longHost, host, path, port, flags), kHttpInvalidParameter);
  const std::string longPath = "http://h/" + std::string(kHttpMaxUrlPart, 'p');
  EXPECT_EQ(SplitUrl(longPath, host, path, port, flags), kHttpInvalidParameter);
}

TEST(ServiceUrl, AddsTheSchemeOnlyWhenTheHostHasNone) {
  EXPECT_EQ(ServiceUrl("127.0.0.1:47150", "/q?s=1"), "http://127.0.0.1:47150/q?s=1");
  EXPECT_EQ(ServiceUrl("https://quote.example", "/q?s=1"), "https://quote.example/q?s=1");
}

// ---- HttpFetch against the feed ----

class HttpFetchTest : public FeedTest {
 protected:
  void SetUp() override { StartFeed(); }
};

TEST_F(HttpFetchTest, ReadsABodyOfExactly64Bytes) {
  const std::string text(64, 'v');
  feed_->SetVersionText(text);
  std::string body = "old";
  ASSERT_EQ(Get(Url("/sorano.txt"), &body), 1);
  EXPECT_EQ(body, text);
}

TEST_F(HttpFetchTest, StatusErrorsCarryTheStatusText) {
  std::string body;
  ASSERT_EQ(Get(Url("/no/such/page"), &body), 1);
  EXPECT_EQ(body, "ERROR: 404 Not Found\n");

  // 401: the request is repeated three more times without credentials, then the status error stands.
  feed::FeedFaults unauthorized;
  unauthorized.status = 401;
  feed_->SetFaults(unauthorized);
  feed_->ClearRequests();
  ASSERT_EQ(Get(Url("/sorano.txt"), &body), 1);
  EXPECT_EQ(body, "ERROR: 401 Unauthorized\n");
  EXPECT_EQ(feed_->Requests().size(), 1u + kHttpAuthRounds);
}

TEST_F(HttpFetchTest, BadUrlsAndMissingProxyLeaveTheBodyUntouched) {
  std::string body = "untouched";
  EXPECT_EQ(Get("ftp://127.0.0.1/x", &body), 0);
  EXPECT_EQ(Get("http://127.0.0.1", &body), 0);
  HttpRequest r;
  r.body = &body;
  r.url = Url("/sorano.txt");
  r.useOwnProxy = 1;
  EXPECT_EQ(HttpFetch(r), 0);
  EXPECT_EQ(body, "untouched");
  r.useOwnProxy = 0;
  r.body = nullptr;
  EXPECT_EQ(HttpFetch(r), 0);
}

TEST_F(HttpFetchTest, TransportFailuresGiveError) {
  std::string body;
  // A stalled body ends after the receive time-out, not after the server's stall.
  feed::FeedFaults stall;
  stall.stallMs = 8000;
  feed_->SetFaults(stall);
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Get(Url("/q?s=1301&d=b"), &body, 300), 1);
  EXPECT_EQ(body, "ERROR");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));

  // A body cut short of its announced length.
  feed::FeedFaults cut;
  cut.truncateAt = 2;
  feed_->SetFaults(cut);
  body.clear();
  ASSERT_EQ(Get(Url("/sorano.txt"), &body), 1);
  EXPECT_EQ(body, "ERROR");

  // A body over the 4 MiB limit is not kept.
  feed_->SetFaults({});
  feed_->SetVersionText(std::string(kHttpMaxBody + 1, 'x'));
  ASSERT_EQ(Get(Url("/sorano.txt"), &body), 1);
  EXPECT_EQ(body, "ERROR");
  feed_->SetVersionText(std::string(kHttpMaxBody, 'x'));
  ASSERT_EQ(Get(Url("/sorano.txt"), &body), 1);
  EXPECT_EQ(body.size(), kHttpMaxBody);

  // Nobody listening: the connect fails (after its retries) and the fetch reports ERROR.
  const std::string closed = Url("/sorano.txt");
  feed_->Stop();
  ASSERT_EQ(Get(closed, &body), 1);
  EXPECT_EQ(body, "ERROR");
}

// A listener that never accepts, its accept queue already full: the kernel drops every further SYN,
// so a connect to it is never answered.
class FullListener {
 public:
  FullListener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    ::listen(fd_, 0);
    // Connect until one stays unanswered for half a second.
    for (int i = 0; i < 64; ++i) {
      const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
      clients_.push_back(c);
      ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
      pollfd p{c, POLLOUT, 0};
      if (::poll(&p, 1, 500) == 0) break;
    }
  }
  ~FullListener() {
    for (int c : clients_) ::close(c);
    ::close(fd_);
  }
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::vector<int> clients_;
};

TEST(HttpFetchConnect, AnUnansweredConnectEndsWithinTheReceiveTimeOut) {
  FullListener listener;
  std::string body;
  HttpRequest r;
  r.body = &body;
  r.url = "http://127.0.0.1:" + std::to_string(listener.port()) + "/sorano.txt";
  r.receiveTimeout = 400;
  r.connectRetries = 1;
  // Without a limit of its own the connect would wait minutes; the watchdog ends the test sooner.
  std::stop_source watchdog;
  r.stop = watchdog.get_token();
  std::jthread timer([&watchdog](std::stop_token done) {
    for (int i = 0; i < 200 && !done.stop_requested(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    watchdog.request_stop();
  });
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(HttpFetch(r), 1);
  EXPECT_EQ(body, "ERROR");
  // Two attempts of 400 ms each.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_FALSE(watchdog.stop_requested());
}

TEST_F(HttpFetchTest, PostSendsAFormAsHttp10WithoutCaching) {
  std::string body;
  HttpRequest r;
  r.body = &body;
  r.agent = "Sorano2.04";
  r.url = Url("/echo?x=1");
  r.post = 1;
  r.postData = "a=1&b=%E3%81%82";
  ASSERT_EQ(HttpFetch(r), 1);
  EXPECT_EQ(body,
            "POST /echo?x=1 HTTP/1.0\nContent-Type: application/x-www-form-urlencoded\n"
            "User-Agent: Sorano2.04\nPragma: no-cache\n\na=1&b=%E3%81%82");
  r.post = 0;
  ASSERT_EQ(HttpFetch(r), 1);
  EXPECT_TRUE(body.starts_with("GET /echo?x=1 HTTP/1.0\nContent-Type: \n")) << body;
}

// A forward proxy that wants credentials: the first request of a connection without
// Proxy-Authorization gets 407; with it, a 200 naming the request line it was asked for.
class MiniProxy {
 public:
  MiniProxy() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    ::listen(fd_, 8);
    thread_ = std::thread([this] { Serve(); });
  }
  ~MiniProxy() {
    stop_ = true;
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
    thread_.join();
  }
  int port() const { return port_; }
  std::vector<std::string> heads() {
    std::lock_guard lock(mutex_);
    return heads_;
  }

 private:
  void Serve() {
    while (!stop_) {
      int c = ::accept(fd_, nullptr, nullptr);
      if (c < 0) return;
      std::string head;
      char buf[1024];
      while (head.find("\r\n\r\n") == std::string::npos) {
        ssize_t n = ::recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        head.append(buf, static_cast<size_t>(n));
      }
      {
        std::lock_guard lock(mutex_);
        heads_.push_back(head);
      }
      std::string reply;
      if (head.find("Proxy-Authorization: Basic dXNlcjpwYXNz") == std::string::npos) {
        reply =
            "HTTP/1.0 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"p\"\r\n"
            "Content-Length: 0\r\nConnection: close\r\n\r\n";
      } else {
        const std::string line = head.substr(0, head.find("\r\n"));
        reply = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(line.size()) +
                "\r\nConnection: close\r\n\r\n" + line;
      }
      ::send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
      ::close(c);
    }
  }
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> heads_;
  std::thread thread_;
};

TEST(HttpFetchProxy, SendsCredentialsOnlyWhenTheProxyAsks) {
  MiniProxy proxy;
  std::string body;
  HttpRequest r;
  r.body = &body;
  r.url = "http://quote.example:8080/q?s=7203&d=b";
  r.useOwnProxy = 1;
  r.proxyServer = "127.0.0.1";
  r.proxyPort = std::to_string(proxy.port());
  r.proxyUser = "user";
  r.proxyPassword = "pass";
  ASSERT_EQ(HttpFetch(r), 1);
  EXPECT_EQ(body, "GET http://quote.example:8080/q?s=7203&d=b HTTP/1.0");
  auto heads = proxy.heads();
  ASSERT_GE(heads.size(), 2u);
  EXPECT_EQ(heads[0].find("Proxy-Authorization"), std::string::npos);

  // Without credentials the 407 stands after the rounds of the authentication loop.
  r.proxyUser.clear();
  ASSERT_EQ(HttpFetch(r), 1);
  EXPECT_EQ(body, "ERROR: 407 Proxy Authentication Required\n");
}

}  // namespace
}  // namespace sorano
