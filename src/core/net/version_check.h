#pragma once
// The new-version notice: at start-up a worker fetches "sorano.txt" from the maker's host and, when it
// names a newer version than the running one, offers to open the download page.
#include <functional>
#include <string>

#include "core/net/download_job.h"
#include "core/net/net_config.h"
#include "core/prompt/prompt.h"

namespace sorano {

inline constexpr std::string_view kMsgNewVersion =
    "最新バージョンが公開されています。\r\nダウンロードページを開きますか？";

// "http://<maker host>/sorano.txt", the download page and the top page of the maker's site.
std::string VersionFileUrl(const NetConfig& config);
std::string DownloadPageUrl(const NetConfig& config);
std::string MakerSiteUrl(const NetConfig& config);

// 1 when the version file's leading decimal number is above the running version (the last four
// characters of the title text, "2.04"); 0 when it is equal or older, and on every failure.
int CheckForNewVersion(const NetConfig& config);

// The thread body. When a newer version is published, asks kMsgNewVersion under "お知らせ" (Yes/No,
// question icon) and on Yes calls openDownloadPage. In every case then clears busy and calls
// enableDataCommands. prompt is called on this thread: a desktop Prompt hands the question to the
// UI thread and waits for the answer.
void VersionCheckThread(const NetConfig& config, std::atomic<int>& busy, Prompt& prompt,
                        const std::function<void()>& openDownloadPage,
                        const std::function<void()>& enableDataCommands);

// Sets busy and runs VersionCheckThread on state.jobThread (the slot of the single-brand jobs, which
// busy keeps free meanwhile). False, nothing started, when busy is already set.
bool StartVersionCheck(DownloadState& state, NetConfig config, Prompt& prompt,
                       std::function<void()> openDownloadPage, std::function<void()> enableDataCommands);

}  // namespace sorano
