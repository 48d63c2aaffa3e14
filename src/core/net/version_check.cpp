#include "core/net/version_check.h"

#include <cstring>

#include "core/text/numbers.h"

namespace sorano {

std::string VersionFileUrl(const NetConfig& config) {
  return ServiceUrl(config.makerHost, "/sorano.txt");
}

std::string DownloadPageUrl(const NetConfig& config) {
  return ServiceUrl(config.makerHost, "/download.html");
}

std::string MakerSiteUrl(const NetConfig& config) {
  return ServiceUrl(config.makerHost, "/");
}

int CheckForNewVersion(const NetConfig& config) {
  std::string body;
  if (HttpFetch(MakeRequest(config, VersionFileUrl(config), &body)) == 0) return 0;
  if (body.starts_with("ERROR")) return 0;  // "ERROR" and the status error text alike
  const std::string_view title = kTitleText;
  const double own = LeadingDouble(title.substr(title.size() >= 4 ? title.size() - 4 : 0));
  const double latest = LeadingDouble(body);
  return latest > own ? 1 : 0;
}

void VersionCheckThread(const NetConfig& config, std::atomic<int>& busy, Prompt& prompt,
                        const std::function<void()>& openDownloadPage,
                        const std::function<void()>& enableDataCommands) {
  if (CheckForNewVersion(config) == 1) {
    if (prompt.Ask(kMsgNewVersion, kCaptionNotice, PromptButtons::YesNo, PromptIcon::Question,
                   PromptAnswer::Yes) == PromptAnswer::Yes &&
        openDownloadPage)
      openDownloadPage();
  }
  busy = 0;
  if (enableDataCommands) enableDataCommands();
}

bool StartVersionCheck(DownloadState& state, NetConfig config, Prompt& prompt,
                       std::function<void()> openDownloadPage, std::function<void()> enableDataCommands) {
  if (state.busy != 0) return false;
  state.busy = 1;
  if (state.jobThread.joinable()) state.jobThread.join();
  state.jobThread =
      std::jthread([&state, &prompt, config = std::move(config), open = std::move(openDownloadPage),
                    enable = std::move(enableDataCommands)] {
        VersionCheckThread(config, state.busy, prompt, open, enable);
      });
  return true;
}

}  // namespace sorano
