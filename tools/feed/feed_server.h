#pragma once
// sorano-feed's HTTP side: answers on 127.0.0.1 only, from a thread of its own.
//   /t?c=&a=&b=&f=&d=&e=&g=d&x=.csv&y=&s=&z=   history pages (EUC-JP)
//   /q?s=<symbol>&d=b                          quote pages (EUC-JP)
//   /c/1d/<code/1000>/<code>.<letter>.gif      the intraday chart image
//   /sorano.txt                                the version file
//   /download.html                             the maker's download page
//   /news, /bbs, /biz/..., /z/a/..., /servlets/Query, /investor/...   a page naming the brand, for the
//                                              list's link commands (EUC-JP)
//   /echo                                      the request line, Content-Type and body (GET or POST)
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "feed_data.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace sorano::feed {

// Faults for tests, applied to requests whose path starts with pathPrefix (all when empty).
struct FeedFaults {
  int latencyMs = 0;    // wait before answering
  int status = 0;       // answer with this status (and the library's status text) instead
  int truncateAt = -1;  // announce the whole length, send this many bytes, close
  bool garble = false;  // overwrite every 7th byte of the body with a byte of 0x80..0xFF
  int stallMs = 0;      // send half the body, then nothing for this long, then the rest
  std::string pathPrefix;
};

struct FeedOptions {
  std::string brandsFile;  // "code,market,sector,name" Shift_JIS lines
  std::string csvFolder;   // histories from <code>.csv when not empty
  int32_t today = 0;       // yyyymmdd; 0 = the local date
  std::string versionText = "2.04\r\n";
  FeedFaults faults;
};

class FeedServer {
 public:
  explicit FeedServer(FeedOptions options);
  ~FeedServer();
  FeedServer(const FeedServer&) = delete;
  FeedServer& operator=(const FeedServer&) = delete;

  // Binds 127.0.0.1:port (0 = a free port) and serves on a thread. The port, or -1 when it cannot bind.
  int Start(int port);
  // Ends every stall, stops listening and joins the thread. Also done by the destructor.
  void Stop();

  int port() const { return port_; }
  void SetFaults(FeedFaults faults);
  void SetVersionText(std::string text);
  // Path and query of every request so far, in arrival order.
  std::vector<std::string> Requests() const;
  void ClearRequests();

 private:
  void Route();
  void Answer(const httplib::Request& req, httplib::Response& res, int status, std::string body,
              const char* contentType);
  bool SleepUnlessStopping(int ms) const;

  FeedOptions options_;
  FeedData data_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  int port_ = -1;
  mutable std::mutex mutex_;  // guards faults_, versionText_, requests_
  FeedFaults faults_;
  std::string versionText_;
  std::vector<std::string> requests_;
};

}  // namespace sorano::feed
