#include "core/intraday/intraday_page.h"

#include "core/fs/file_io.h"
#include "core/net/http_client.h"

namespace sorano {

char IntradayMarketLetter(int32_t market) {
  // Index = market number 0..12; 0 and numbers outside the table are "t".
  static constexpr char kLetters[] = "ttttoonnsfqit";
  return market >= 0 && market < static_cast<int32_t>(sizeof kLetters - 1) ? kLetters[market] : 't';
}

std::string IntradayImageUrl(std::string_view host, int32_t code, int32_t market) {
  return ServiceUrl(host, "/c/1d/" + std::to_string(code / 1000) + "/" + std::to_string(code) + "." +
                              IntradayMarketLetter(market) + ".gif");
}

std::string IntradayPage(std::string_view imageUrl, int clientWidth, int clientHeight) {
  std::string page =
      "<html><head><meta http-equiv=Content-Type content=text/html; charset=Shift_JIS><meta "
      "http-equiv=Content-Style-Type content=text/css><title></title></head><body><img src=\"";
  page += imageUrl;
  page += "\" width=" + std::to_string(clientWidth - 32) + " height=" + std::to_string(clientHeight - 32) +
          " border=0></body></html>";
  return page;
}

bool WriteIntradayPage(const DataFolder& folder, std::string_view imageUrl, int clientWidth,
                       int clientHeight) {
  if (clientWidth <= 0 || clientHeight <= 0) return false;
  EnsureFolder(folder.Path("data"));
  return WriteFileAtomic(folder.Path("data/tmp.html"), IntradayPage(imageUrl, clientWidth, clientHeight));
}

std::optional<std::string> FetchIntradayImage(const NetConfig& config, const std::string& url,
                                              std::stop_token stop) {
  std::string body;
  if (HttpFetch(MakeRequest(config, url, &body, stop)) != 1 || stop.stop_requested()) return std::nullopt;
  // A failed fetch leaves its error text ("ERROR", "ERROR: 404 Not Found\n") as the body.
  if (body.empty() || body.starts_with("ERROR")) return std::nullopt;
  return body;
}

void IntradayFetcher::Start(NetConfig config, std::string url, Done done) {
  Stop();
  worker_ = std::jthread(
      [config = std::move(config), url = std::move(url), done = std::move(done)](std::stop_token stop) {
        std::optional<std::string> image = FetchIntradayImage(config, url, stop);
        if (!stop.stop_requested()) done(std::move(image));
      });
}

void IntradayFetcher::Stop() {
  if (!worker_.joinable()) return;
  worker_.request_stop();
  worker_.join();
}

}  // namespace sorano
