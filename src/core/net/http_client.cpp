#include "core/net/http_client.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>

#include "core/net/curl_library.h"
#include "core/text/numbers.h"

namespace sorano {
namespace {

using Clock = std::chrono::steady_clock;

// Status text is kept to 259 bytes, like the 260-byte buffer it was read into.
constexpr size_t kMaxStatusText = 259;
// How often the transfer loop wakes up to look for a stall, in milliseconds.
constexpr int kPollMs = 20;

// libcurl once HttpFetch has found it loaded (Curl() is not null).
const CurlLibrary& C() {
  return *Curl();
}

// What one round trip left behind.
struct Transfer {
  std::string data;
  std::string headers;  // raw header lines of the last response, CR LF kept
  std::string statusText;
  bool tooLarge = false;
  bool connected = false;
  Clock::time_point connectedAt = Clock::now();
  Clock::time_point lastActivity = Clock::now();
  curl_off_t received = 0;  // header and body bytes
  curl_off_t lastDown = -1, lastUp = -1;
  curl_off_t upTotal = 0, upNow = 0;
};

size_t OnBody(char* ptr, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  if (n > kHttpMaxBody - t->data.size()) {
    t->tooLarge = true;
    return 0;  // aborts the transfer with CURLE_WRITE_ERROR
  }
  t->data.append(ptr, n);
  t->received += static_cast<curl_off_t>(n);
  t->lastActivity = Clock::now();
  return n;
}

size_t OnHeader(char* ptr, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  std::string_view line(ptr, n);
  if (line.starts_with("HTTP/")) {
    // A new response begins (after a redirect or an interim response): keep only the last one.
    t->headers.clear();
    t->statusText.clear();
    size_t sp = line.find(' ');
    if (sp != std::string_view::npos) {
      sp = line.find(' ', sp + 1);  // after the status code
      if (sp != std::string_view::npos) {
        std::string_view text = line.substr(sp + 1);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
        t->statusText.assign(text.substr(0, kMaxStatusText));
      }
    }
  }
  if (t->headers.size() < 65536) t->headers.append(line);
  t->received += static_cast<curl_off_t>(n);
  t->lastActivity = Clock::now();
  return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow) {
  auto* t = static_cast<Transfer*>(user);
  if (dlnow != t->lastDown || ulnow != t->lastUp) {
    t->lastDown = dlnow;
    t->lastUp = ulnow;
    t->lastActivity = Clock::now();
  }
  t->upTotal = ultotal;
  t->upNow = ulnow;
  return 0;
}

// Called once the connection stands, just before the request goes out: from here on a stall counts.
int OnConnected(void* user, char*, char*, int, int) {
  auto* t = static_cast<Transfer*>(user);
  t->connected = true;
  t->connectedAt = t->lastActivity = Clock::now();
  return CURL_PREREQFUNC_OK;
}

// CURL and CURLM are both void, so each handle kind gets its own deleter.
struct EasyFree {
  void operator()(CURL* h) const { C().easy_cleanup(h); }
};
struct MultiFree {
  void operator()(CURLM* m) const { C().multi_cleanup(m); }
};
struct ListFree {
  void operator()(curl_slist* l) const { C().slist_free_all(l); }
};

// A connect that is never answered (a full accept queue, a host that drops packets) is otherwise
// bounded only by the library's 300 s and the kernel's retries, for every attempt of every brand.
int ConnectLimit(const HttpRequest& r) {
  if (r.connectTimeout > 0) return r.connectTimeout;
  return r.receiveTimeout > 0 ? r.receiveTimeout : kHttpDefaultConnectTimeout;
}

enum class RoundResult { Done, Failed, Stalled };

// A transfer is stalled when nothing moved for `limit` milliseconds, or when, after its first `limit`
// milliseconds, fewer than kHttpMinBytesPerSecond have moved on average since then: a server that
// trickles a byte a second would otherwise hold the download for days.
bool Stalled(const Transfer& t, int limit, Clock::time_point now) {
  using std::chrono::milliseconds;
  if (limit <= 0) return false;
  if (now - t.lastActivity > milliseconds(limit)) return true;
  const auto late = std::chrono::duration_cast<milliseconds>(now - t.connectedAt) - milliseconds(limit);
  return late.count() > 0 && t.received + t.upNow < kHttpMinBytesPerSecond * late.count() / 1000;
}

// Runs one request to its end on a private multi handle, so that a stalled transfer is noticed within
// kPollMs of its limit.
RoundResult RunRound(CURL* h, Transfer& t, const HttpRequest& r, CURLcode& code) {
  std::unique_ptr<CURLM, MultiFree> multi(C().multi_init());
  if (!multi) return RoundResult::Failed;
  if (C().multi_add_handle(multi.get(), h) != CURLM_OK) return RoundResult::Failed;
  RoundResult result = RoundResult::Failed;
  int running = 1;
  for (;;) {
    // A cancelled job must not wait for a stalled connect or receive to time out.
    if (r.stop.stop_requested()) break;
    if (C().multi_perform(multi.get(), &running) != CURLM_OK) break;
    if (!running) {
      int left = 0;
      code = CURLE_RECV_ERROR;
      while (CURLMsg* msg = C().multi_info_read(multi.get(), &left)) {
        if (msg->msg == CURLMSG_DONE) code = msg->data.result;
      }
      result = RoundResult::Done;
      break;
    }
    if (t.connected) {
      const int limit = r.sendTimeout > 0 && t.upNow < t.upTotal ? r.sendTimeout : r.receiveTimeout;
      if (Stalled(t, limit, Clock::now())) {
        result = RoundResult::Stalled;
        break;
      }
    }
    if (C().multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr) != CURLM_OK) break;
  }
  C().multi_remove_handle(multi.get(), h);
  return result;
}

// Letters, digits, '-', '.' and '_' (and bytes of a name in another script): nothing that the library
// that makes the connection would read as the end of the host or as a user name ("u@host", "h?x").
bool IsHostName(std::string_view host) {
  for (unsigned char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                    c == '.' || c == '_' || c >= 0x80;
    if (!ok) return false;
  }
  return true;
}

}  // namespace

int SplitUrl(std::string_view url, std::string& host, std::string& path, int& port, int& flags) {
  const size_t colon = url.find(':');
  if (colon == std::string_view::npos) return kHttpInvalidParameter;
  const std::string_view scheme = url.substr(0, colon);
  if (scheme == "http") {
    port = 80;
  } else if (scheme == "https") {
    port = 443;
    flags |= kHttpFlagSecure;
  } else {
    return kHttpInvalidParameter;
  }
  if (url.substr(colon, 3) != "://") return kHttpInvalidParameter;
  std::string_view rest = url.substr(colon + 3);
  const size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return kHttpInvalidParameter;
  std::string_view hostPart = rest.substr(0, slash);
  const size_t portColon = hostPart.find(':');
  if (portColon != std::string_view::npos) {
    const int32_t p = LeadingInt(hostPart.substr(portColon + 1));
    if (p < 1 || p > 65535) return kHttpInvalidParameter;
    port = p;
    hostPart = hostPart.substr(0, portColon);
  }
  std::string_view pathPart = rest.substr(slash);  // "/" and everything after it
  if (hostPart.empty() || hostPart.size() > kHttpMaxUrlPart || pathPart.size() > kHttpMaxUrlPart ||
      !IsHostName(hostPart))
    return kHttpInvalidParameter;
  host.assign(hostPart);
  path.assign(pathPart);
  return 0;
}

std::string HttpLibraryVersion() {
  if (Curl() == nullptr) return "";
  const curl_version_info_data* info = C().version_info(CURLVERSION_NOW);
  return info != nullptr && info->version != nullptr ? info->version : "";
}

std::string ServiceUrl(std::string_view host, std::string_view pathAndQuery) {
  std::string url;
  if (host.find("://") == std::string_view::npos) url = "http://";
  url.append(host);
  url.append(pathAndQuery);
  return url;
}

int HttpFetch(HttpRequest r) {
  if (r.body == nullptr) return 0;
  std::string host, path;
  int port = 0;
  int flags = kHttpRequestFlags;
  if (SplitUrl(r.url, host, path, port, flags) != 0) return 0;
  std::string proxy;
  if (r.useOwnProxy != 0) {
    if (r.proxyServer.empty()) return 0;
    proxy = r.proxyPort.empty() ? r.proxyServer : r.proxyServer + ":" + r.proxyPort;
  }
  if (Curl() == nullptr) return 0;
  std::unique_ptr<CURL, EasyFree> handle(C().easy_init());
  if (!handle) return 0;
  CURL* h = handle.get();

  const bool secure = (flags & kHttpFlagSecure) != 0;
  const std::string target =
      std::string(secure ? "https://" : "http://") + host + ":" + std::to_string(port) + path;

  std::unique_ptr<curl_slist, ListFree> headers;
  auto addHeader = [&headers](const char* line) {
    curl_slist* l = C().slist_append(headers.get(), line);
    if (l) {
      (void)headers.release();
      headers.reset(l);
    }
    return l != nullptr;
  };
  // Reload from the origin and keep nothing in a cache on the way.
  bool ok = addHeader("Pragma: no-cache") && addHeader("Cache-Control: no-cache");
  if (r.post == 1) ok = ok && addHeader("Content-Type: application/x-www-form-urlencoded");
  if (!ok) return 0;

  Transfer t;
  C().easy_setopt(h, CURLOPT_URL, target.c_str());
  C().easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  C().easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  C().easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  C().easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  C().easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
  // A body announced as larger than the limit is refused before any of it is read.
  C().easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kHttpMaxBody));
  C().easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  C().easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
  C().easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
  C().easy_setopt(h, CURLOPT_USERAGENT, r.agent.c_str());
  C().easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  if (r.post == 1) {
    C().easy_setopt(h, CURLOPT_POST, 1L);
    C().easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r.postData.size()));
    C().easy_setopt(h, CURLOPT_POSTFIELDS, r.postData.c_str());
  } else {
    C().easy_setopt(h, CURLOPT_HTTPGET, 1L);
  }
  if (!proxy.empty()) {
    C().easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
    C().easy_setopt(h, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  }
  C().easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ConnectLimit(r)));
  C().easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
  C().easy_setopt(h, CURLOPT_WRITEDATA, &t);
  C().easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
  C().easy_setopt(h, CURLOPT_HEADERDATA, &t);
  C().easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  C().easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
  C().easy_setopt(h, CURLOPT_XFERINFODATA, &t);
  C().easy_setopt(h, CURLOPT_PREREQFUNCTION, OnConnected);
  C().easy_setopt(h, CURLOPT_PREREQDATA, &t);

  // One request with the retries of a failed connect; false when it ended without an HTTP status.
  auto send = [&](long& status) {
    const int attempts = 1 + (r.connectRetries > 0 ? r.connectRetries : 0);
    for (int attempt = 0; attempt < attempts; ++attempt) {
      t = Transfer{};
      CURLcode code = CURLE_OK;
      RoundResult rr = RunRound(h, t, r, code);
      if (rr != RoundResult::Done) return false;
      if (code == CURLE_OK) {
        status = 0;
        C().easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        return status != 0;
      }
      long connectCode = 0;
      C().easy_getinfo(h, CURLINFO_HTTP_CONNECTCODE, &connectCode);
      if (connectCode == 407) {  // the proxy refused the tunnel of an https request
        status = 407;
        return true;
      }
      const bool connectFailed =
          code == CURLE_COULDNT_CONNECT || (code == CURLE_OPERATION_TIMEDOUT && !t.connected);
      if (!connectFailed) return false;
    }
    return false;
  };

  long status = 0;
  if (!send(status)) {
    *r.body = "ERROR";
    return 1;
  }
  if (status == 407 && !r.proxyUser.empty() && !r.proxyPassword.empty()) {
    C().easy_setopt(h, CURLOPT_PROXYUSERNAME, r.proxyUser.c_str());
    C().easy_setopt(h, CURLOPT_PROXYPASSWORD, r.proxyPassword.c_str());
    C().easy_setopt(h, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
  }
  // The program has no credentials of its own for a 401; the request is only repeated.
  for (int round = 0; (status == 401 || status == 407) && round < kHttpAuthRounds; ++round) {
    if (!send(status)) {
      *r.body = "ERROR";
      return 1;
    }
  }
  if (status != 200) {
    char line[32];
    std::snprintf(line, sizeof line, "ERROR: %ld ", status);
    *r.body = std::string(line) + t.statusText + "\n";
    return 1;
  }
  r.body->swap(t.data);
  return 1;
}

}  // namespace sorano
