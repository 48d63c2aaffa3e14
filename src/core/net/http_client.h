#pragma once
// The one HTTP client of the program (libcurl underneath): chart history pages, quote pages and the
// version file all come through HttpFetch. One fetch opens and closes everything it uses; nothing is
// cached or shared between fetches, so two threads may fetch at the same time.
#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>

namespace sorano {

// Request flags: reload, do not write to the cache, keep the connection; plus kHttpFlagSecure for https.
inline constexpr int kHttpRequestFlags = static_cast<int>(0x84400000u);
inline constexpr int kHttpFlagSecure = 0x00800000;
// The result of SplitUrl for a URL it cannot use.
inline constexpr int kHttpInvalidParameter = 87;
// Longest host and longest object path SplitUrl accepts, in bytes.
inline constexpr size_t kHttpMaxUrlPart = 2048;
// Longest response body kept; a larger one ends the fetch with "ERROR".
inline constexpr size_t kHttpMaxBody = 4u << 20;
// Slowest transfer that is not a stall, on average once a receive time-out has passed (see receiveTimeout).
inline constexpr int64_t kHttpMinBytesPerSecond = 1024;
// Longest wait for a connect, in milliseconds, when neither a connect nor a receive time-out is given.
inline constexpr int kHttpDefaultConnectTimeout = 30000;
// Rounds of the 401/407 loop before the status error is given.
inline constexpr int kHttpAuthRounds = 3;

// One request, passed by value. Times are milliseconds; 0 leaves the library's default, except that a
// connect always has a limit (connectTimeout, else receiveTimeout, else kHttpDefaultConnectTimeout).
struct HttpRequest {
  std::string* body = nullptr;  // receives the response body or the error text
  std::string agent;            // User-Agent: the program's title text
  std::string url;              // "http://host[:port]/path?query" or https
  int traceHeaders = 0;         // carried; the error text of a failed fetch is never the headers
  int post = 0;                 // 1: POST postData as an urlencoded form; 0: GET
  std::string postData;
  int useOwnProxy = 0;        // check_proxy: 0 = the environment's proxy settings
  std::string proxyServer;    // check_proxyserver
  std::string proxyPort;      // check_proxyprot
  int proxyLogon = 0;         // check_proxylogon: carried; credentials go out when the proxy asks (407)
  std::string proxyUser;      // check_proxyuser
  std::string proxyPassword;  // check_proxypass
  int connectTimeout = 0;     // longest wait for one connect attempt; 0: the receive time-out
  int receiveTimeout = 3000;  // check_DL_time: longest stall of a transfer (nothing received, or on
                              // average less than kHttpMinBytesPerSecond after this long)
  int sendTimeout = 0;        // longest stall while the request body goes out
  int connectRetries = 3;     // check_DL_restart: further attempts after a failed connect
  std::stop_token stop;       // a stop request ends the fetch within a poll interval, with "ERROR"
};

// 1 when the session could be set up, whatever the HTTP exchange then gave; 0 when it could not (a URL
// SplitUrl refuses, useOwnProxy without a proxy server, no body pointer, the library failing to start),
// body then untouched. After 1, *body is the whole response body, or "ERROR" (connect, send or read
// failure, time-out, a body over kHttpMaxBody or announced as one), or "ERROR: <status> <status
// text>\n" when the final status was not 200. Redirects are followed to http and https addresses on any
// host, at most 10 in a row; a redirect to another scheme, or an eleventh, gives "ERROR".
int HttpFetch(HttpRequest request);

// Splits "scheme://host[:port]/path". Scheme "http" gives port 80, "https" port 443 and adds
// kHttpFlagSecure to flags. path is "/" and everything after the host, unchanged. Returns 0, or
// kHttpInvalidParameter for another scheme, a missing "://", a host without a following "/", a port
// that is not 1..65535, a host with other characters than letters, digits, '-', '.' and '_' (a user
// name "u@host" too), or a host or path longer than kHttpMaxUrlPart; the outputs are then unspecified.
int SplitUrl(std::string_view url, std::string& host, std::string& path, int& port, int& flags);

// The version of the HTTP library this process runs on ("7.88.1").
std::string HttpLibraryVersion();

// The URL of a service path on a configured host: "127.0.0.1:47150" + "/t?..." gives
// "http://127.0.0.1:47150/t?...". A host that already names its scheme is used as it stands.
std::string ServiceUrl(std::string_view host, std::string_view pathAndQuery);

}  // namespace sorano
