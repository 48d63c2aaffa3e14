#pragma once
// The intraday chart window shows the image the chart service publishes of one brand's day. This is
// its page: the image's address from the brand's code and market, the small HTML page data/tmp.html
// that shows it at the window's size, and the fetch of the image on a worker thread.
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>

#include "core/net/net_config.h"
#include "core/settings/data_folder.h"

namespace sorano {

// Refresh period of the window, milliseconds.
inline constexpr int kIntradayRefreshMs = 300000;
inline constexpr std::string_view kIntradayTitle = "日中チャート ５分おきに更新します";

// The market letter of the image name: "t" for markets 1-3 and 12, "o" 4-5, "n" 6-7, "s" 8, "f" 9,
// "q" 10, "i" 11, and "t" for any other number.
char IntradayMarketLetter(int32_t market);

// "http://<host>/c/1d/<code / 1000>/<code>.<letter>.gif" (7203 on market 1: /c/1d/7/7203.t.gif).
std::string IntradayImageUrl(std::string_view host, int32_t code, int32_t market);

// The page naming the image at the client size less 32 pixels each way (Shift_JIS; all ASCII).
std::string IntradayPage(std::string_view imageUrl, int clientWidth, int clientHeight);

// Writes IntradayPage over data/tmp.html of folder (atomically; data/ is made when missing). Nothing
// is written, and false returned, when the client width or height is 0 or less; false also when the
// write fails.
bool WriteIntradayPage(const DataFolder& folder, std::string_view imageUrl, int clientWidth,
                       int clientHeight);

// The image bytes; nullopt when the fetch failed (no connection, a time-out, an error status, an
// empty body) or was stopped.
std::optional<std::string> FetchIntradayImage(const NetConfig& config, const std::string& url,
                                              std::stop_token stop = {});

// One image fetch at a time on a worker thread, so the window never waits for the network.
class IntradayFetcher {
 public:
  using Done = std::function<void(std::optional<std::string> image)>;
  IntradayFetcher() = default;
  IntradayFetcher(const IntradayFetcher&) = delete;
  IntradayFetcher& operator=(const IntradayFetcher&) = delete;
  ~IntradayFetcher() { Stop(); }

  // Stops a fetch still running, then fetches url on a new worker, which calls done with the result
  // unless the fetch was stopped.
  void Start(NetConfig config, std::string url, Done done);
  // Stops the running fetch (within the client's poll interval) and waits for its worker.
  void Stop();

 private:
  std::jthread worker_;
};

}  // namespace sorano
