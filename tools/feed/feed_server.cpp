#include "feed_server.h"

#include <httplib.h>

#include <chrono>

#include "core/text/numbers.h"
#include "feed_pages.h"

namespace sorano::feed {
namespace {

int32_t IntParam(const httplib::Request& req, const char* name) {
  return req.has_param(name) ? LeadingInt(req.get_param_value(name)) : 0;
}

// Symbols are digits with an optional ".j"; anything else is cut to harmless characters before it is
// echoed into a page.
std::string CleanSymbol(const std::string& s) {
  std::string out;
  for (char c : s.substr(0, 16))
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.')
      out.push_back(c);
  return out;
}

}  // namespace

FeedServer::FeedServer(FeedOptions options)
    : options_(std::move(options)),
      data_(options_.brandsFile, options_.csvFolder, options_.today != 0 ? options_.today : LocalToday()),
      server_(std::make_unique<httplib::Server>()),
      faults_(options_.faults),
      versionText_(options_.versionText) {
  Route();
}

FeedServer::~FeedServer() {
  Stop();
}

int FeedServer::Start(int port) {
  if (thread_.joinable()) return port_;
  const int bound = port == 0 ? server_->bind_to_any_port("127.0.0.1")
                              : (server_->bind_to_port("127.0.0.1", port) ? port : -1);
  if (bound <= 0) return -1;
  port_ = bound;
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() only reaches a server that already runs; wait for it so a quick Stop() cannot be lost.
  for (int i = 0; i < 2000 && !server_->is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return port_;
}

void FeedServer::Stop() {
  stopping_ = true;
  if (thread_.joinable()) {
    server_->stop();
    thread_.join();
  }
}

void FeedServer::SetFaults(FeedFaults faults) {
  std::lock_guard lock(mutex_);
  faults_ = std::move(faults);
}

void FeedServer::SetVersionText(std::string text) {
  std::lock_guard lock(mutex_);
  versionText_ = std::move(text);
}

std::vector<std::string> FeedServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void FeedServer::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

bool FeedServer::SleepUnlessStopping(int ms) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (stopping_) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return !stopping_;
}

void FeedServer::Answer(const httplib::Request& req, httplib::Response& res, int status, std::string body,
                        const char* contentType) {
  FeedFaults f;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(req.target);
    if (req.path.starts_with(faults_.pathPrefix)) f = faults_;
  }
  if (f.latencyMs > 0) SleepUnlessStopping(f.latencyMs);
  if (f.status != 0) {
    status = f.status;
    body = "<html><body>" + std::to_string(status) + "</body></html>\n";
    contentType = "text/html";
  }
  if (f.garble) {
    uint32_t x = 12345;
    for (size_t i = 3; i < body.size(); i += 7) {
      x = x * 1103515245u + 12345u;
      body[i] = static_cast<char>(0x80 | ((x >> 16) & 0x7F));
    }
  }
  res.status = status;
  if (f.truncateAt < 0 && f.stallMs <= 0) {
    res.set_content(body, contentType);
    return;
  }
  auto shared = std::make_shared<std::string>(std::move(body));
  const size_t cut =
      f.truncateAt >= 0 ? std::min(shared->size(), static_cast<size_t>(f.truncateAt)) : shared->size();
  const int stall = f.stallMs;
  res.set_content_provider(shared->size(), contentType,
                           [this, shared, cut, stall](size_t offset, size_t, httplib::DataSink& sink) {
                             const size_t half = shared->size() / 2;
                             if (stall > 0 && offset < half) {
                               sink.write(shared->data(), half);
                               return SleepUnlessStopping(stall);
                             }
                             if (offset < cut) {
                               sink.write(shared->data() + offset, cut - offset);
                               return cut == shared->size();
                             }
                             return false;  // the rest is never sent: the connection closes short
                           });
}

void FeedServer::Route() {
  server_->set_read_timeout(5, 0);
  server_->set_keep_alive_max_count(1);
  server_->Get("/t", [this](const httplib::Request& req, httplib::Response& res) {
    HistoryQuery q;
    q.fromYear = IntParam(req, "c");
    q.fromMonth = IntParam(req, "a");
    q.fromDay = IntParam(req, "b");
    q.toYear = IntParam(req, "f");
    q.toMonth = IntParam(req, "d");
    q.toDay = IntParam(req, "e");
    q.offset = IntParam(req, "y");
    q.symbol = CleanSymbol(req.get_param_value("s"));
    Answer(req, res, 200, HistoryPage(data_, q), "text/html; charset=EUC-JP");
  });
  server_->Get("/q", [this](const httplib::Request& req, httplib::Response& res) {
    Answer(req, res, 200, QuotePage(data_, CleanSymbol(req.get_param_value("s"))),
           "text/html; charset=EUC-JP");
  });
  server_->Get(
      R"(/c/1d/(\d+)/(\d+)\.([a-z])\.gif)", [this](const httplib::Request& req, httplib::Response& res) {
        const int32_t code = LeadingInt(req.matches[2].str());
        std::string gif =
            LeadingInt(req.matches[1].str()) == code / 1000 ? IntradayGif(data_, code) : std::string();
        if (gif.empty()) {
          Answer(req, res, 404, "<html><body>Not Found</body></html>\n", "text/html");
        } else {
          Answer(req, res, 200, std::move(gif), "image/gif");
        }
      });
  // The pages the list's link commands open in the browser: a small page naming the brand. The
  // brand comes from a query parameter or from a part of the path.
  struct LinkPage {
    const char* path;
    const char* param;  // nullptr: the path's first captured part
    const char* title;
  };
  static constexpr LinkPage kLinkPages[] = {
      {"/news", "s", "ニュース"},
      {"/bbs", "board", "掲示板"},
      {R"(/biz/fundamental/(\d+)\.html)", nullptr, "企業情報"},
      {R"(/biz/independent/(\d+)\.html)", nullptr, "単独決算"},
      {R"(/biz/consolidate/(\d+)\.html)", nullptr, "連結決算"},
      {R"(/biz/interim/(\d+)\.html)", nullptr, "中間決算"},
      {R"(/z/a/\d/(\d+)\.html)", nullptr, "リサーチ"},
      {"/servlets/Query", "code", "チャート・分析"},
      {"/investor/invsub/results/statemnt.asp", "symbol", "財務諸表"},
  };
  for (const LinkPage& link : kLinkPages) {
    server_->Get(link.path, [this, link](const httplib::Request& req, httplib::Response& res) {
      std::string symbol;
      if (link.param == nullptr) {
        symbol = req.matches[1].str();
      } else {
        // The statement pages name the brand "symbol=7203" or "Symbol=JP:7203".
        symbol = req.has_param(link.param) ? req.get_param_value(link.param) : req.get_param_value("Symbol");
        if (symbol.starts_with("JP:")) symbol.erase(0, 3);
      }
      Answer(req, res, 200, BrandLinkPage(data_, CleanSymbol(symbol), link.title),
             "text/html; charset=EUC-JP");
    });
  }
  server_->Get("/sorano.txt", [this](const httplib::Request& req, httplib::Response& res) {
    std::string text;
    {
      std::lock_guard lock(mutex_);
      text = versionText_;
    }
    Answer(req, res, 200, std::move(text), "text/plain");
  });
  // The maker's download page that the new-version notice opens.
  server_->Get("/download.html", [this](const httplib::Request& req, httplib::Response& res) {
    Answer(req, res, 200,
           "<html><head><meta charset=\"utf-8\"><title>Sorano</title></head><body>"
           "<p>Sorano: the latest version is built from its source repository.</p></body></html>\n",
           "text/html; charset=utf-8");
  });
  auto echo = [this](const httplib::Request& req, httplib::Response& res) {
    std::string text = req.method + " " + req.target + " " + req.version + "\n" +
                       "Content-Type: " + req.get_header_value("Content-Type") + "\n" +
                       "User-Agent: " + req.get_header_value("User-Agent") + "\n" +
                       "Pragma: " + req.get_header_value("Pragma") + "\n\n" + req.body;
    Answer(req, res, 200, std::move(text), "text/plain");
  };
  server_->Get("/echo", echo);
  server_->Post("/echo", echo);
  // Everything else: 404 with the library's status text, and the request is logged like the others.
  server_->set_error_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (res.status == 404 && res.body.empty()) {
      std::lock_guard lock(mutex_);
      requests_.push_back(req.target);
    }
  });
}

}  // namespace sorano::feed
