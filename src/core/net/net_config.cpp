#include "core/net/net_config.h"

#include <span>

#include "core/net/euc.h"
#include "core/settings/settings_store.h"
#include "core/text/fixed_field.h"

namespace sorano {

namespace {
template <size_t N>
std::string Text(const char (&field)[N]) {
  return std::string(FieldText(std::span<const char>(field, N)));
}
}  // namespace

NetConfig NetConfigFromSettings(const SettingsStore& s) {
  NetConfig c;
  c.chartHost = Text(s.host_chart);
  c.quoteHost = Text(s.host_quote);
  c.chartImageHost = Text(s.host_chart_image);
  c.makerHost = Text(s.host_maker);
  c.useOwnProxy = s.check_proxy;
  c.proxyServer = Text(s.check_proxyserver);
  c.proxyPort = Text(s.check_proxyprot);
  c.proxyLogon = s.check_proxylogon;
  c.proxyUser = Text(s.check_proxyuser);
  c.proxyPassword = Text(s.check_proxypass);
  c.receiveTimeout = s.check_DL_time;
  c.connectRetries = s.check_DL_restart;
  return c;
}

HttpRequest MakeRequest(const NetConfig& c, std::string url, std::string* body, std::stop_token stop) {
  HttpRequest r;
  r.body = body;
  r.agent = c.agent;
  r.url = std::move(url);
  r.useOwnProxy = c.useOwnProxy;
  r.proxyServer = c.proxyServer;
  r.proxyPort = c.proxyPort;
  r.proxyLogon = c.proxyLogon;
  r.proxyUser = c.proxyUser;
  r.proxyPassword = c.proxyPassword;
  r.receiveTimeout = c.receiveTimeout;
  r.connectRetries = c.connectRetries;
  r.stop = std::move(stop);
  return r;
}

std::string FetchPage(const NetConfig& config, const std::string& url, std::stop_token stop) {
  std::string body;
  HttpFetch(MakeRequest(config, url, &body, std::move(stop)));
  return EucToShiftJis(body);
}

}  // namespace sorano
