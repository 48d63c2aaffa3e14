#pragma once
// The settings every download needs, taken from the SettingsStore once per job so that a worker never
// reads the store while the user interface may change it.
#include <stop_token>
#include <string>

#include "core/net/http_client.h"

namespace sorano {

struct SettingsStore;

// The program's title text: product name and version. It is the HTTP agent and the version the
// new-version check compares against (its last four characters).
inline constexpr const char* kTitleText = "Sorano 2.04";

struct NetConfig {
  std::string agent = kTitleText;
  std::string chartHost = "127.0.0.1:47150";       // host_chart
  std::string quoteHost = "127.0.0.1:47150";       // host_quote
  std::string chartImageHost = "127.0.0.1:47150";  // host_chart_image
  std::string makerHost = "127.0.0.1:47150";       // host_maker
  int useOwnProxy = 0;                             // check_proxy
  std::string proxyServer;                         // check_proxyserver
  std::string proxyPort;                           // check_proxyprot
  int proxyLogon = 0;                              // check_proxylogon
  std::string proxyUser;                           // check_proxyuser
  std::string proxyPassword;                       // check_proxypass
  int receiveTimeout = 3000;                       // check_DL_time, milliseconds
  int connectRetries = 3;                          // check_DL_restart
};

// The values above from the settings (fixed-size text fields are read up to their NUL).
NetConfig NetConfigFromSettings(const SettingsStore& settings);

// A request for url with the agent, proxy, time-out and retry values of config; the body goes to *body.
// A stop request on stop ends the fetch early with "ERROR".
HttpRequest MakeRequest(const NetConfig& config, std::string url, std::string* body,
                        std::stop_token stop = {});

// Fetches url and converts the page from EUC-JP to Shift_JIS. A fetch that could not start gives an
// empty page; a failed one gives its error text ("ERROR" or "ERROR: <status> <text>\n").
std::string FetchPage(const NetConfig& config, const std::string& url, std::stop_token stop = {});

}  // namespace sorano
