#pragma once
// The download jobs: the all-brands job (list part and chart part over codes 1300..9999) and the
// single-brand jobs on the brand shown in the chart. Each runs on a std::jthread and reports through a
// DownloadListener; cancelling is cooperative (checked between brands and between pages, and by a
// running fetch, which then fails), so every file a cancelled job leaves is the old one or the new one.
//
// Threads: the listener is called on the worker thread. A desktop listener posts each call to the UI
// thread (a queued call) and never waits for it: starting the next job joins the previous thread, and
// a callback that waited for the UI thread then would never return. Nor may a callback start or
// cancel a job itself. The worker
// writes brand records only under the BrandTable's mutex and never touches the shown PriceSeries:
// it asks the listener to reload it (OnReloadSeries) or to append the temporary bar (OnTemporaryBar).
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "core/net/net_config.h"
#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"
#include "core/store/brand_table.h"
#include "core/store/chart_record.h"

namespace sorano {

// Codes the all-brands job walks; the progress position is code - kFirstListedCode (0..8699).
inline constexpr int32_t kFirstListedCode = 1300;
inline constexpr int32_t kLastListedCode = 9999;

// Texts of the jobs and their dialogs (UTF-8).
inline constexpr std::string_view kMsgOtherBrandBusy = "ほかの銘柄がダウンロード中です。";
inline constexpr std::string_view kMsgRestartAndRetry =
    "実行エラー。ソフトを再起動してからやり直ししてください";
inline constexpr std::string_view kMsgListDone = "ダウンロードが完了致しました。";
inline constexpr std::string_view kMsgChartsDone = "時系列のダウンロードが完了致しました。";
inline constexpr std::string_view kMsgWaiting = "待機";
inline constexpr std::string_view kMsgEnded = "終了";
// A file of the job could not be written; the job ends there (more brands would fail the same way).
inline constexpr std::string_view kMsgNotStored =
    "データをファイルに書き込めませんでした。ディスクの空き容量を確認してください。";

// The single-brand jobs, by their command identifiers.
enum class SingleBrandJob : int {
  kChartUpdate = 32855,      // 選択銘柄のチャート更新
  kTemporaryUpdate = 32867,  // 選択銘柄のチャート一時更新
  kInitialise = 32856,       // 選択銘柄のチャート初期化: everything since 1983-01-04
  kRangeInitialise = 32970,  // 選択銘柄のチャート指定初期化: the user's period
  kQuoteUpdate = 32871,      // 選択銘柄の更新: the brand's quote page into its record, then view.dat
};

// allBrandsMode values.
enum AllBrandsMode : int { kListAndCharts = 0, kListOnly = 1, kChartsOnly = 2 };

class DownloadListener {
 public:
  virtual ~DownloadListener() = default;
  // The code being worked on; position 0..8699 in the all-brands job, -1 in a single-brand job
  // (whose dialog caption is JobCaption(code)).
  virtual void OnProgress(int32_t code, int position) = 0;
  // A text for the code box of the all-brands dialog ("ダウンロードが完了致しました。", ...).
  virtual void OnMessage(std::string_view utf8) = 0;
  // Read the shown brand's PriceSeries again (current period and adjustment) and redraw.
  virtual void OnReloadSeries(int32_t code) = 0;
  // Read the series again, then put this bar at index (the bar count before it) and redraw. The bar
  // is not stored in any file.
  virtual void OnTemporaryBar(int32_t code, int index, const ChartRecord& bar,
                              const VolumeRecord& volume) = 0;
  // One brand's result: ok when its quote page or its chart history was stored ("OK").
  virtual void OnBrandDone(int32_t code, bool ok) {
    (void)code;
    (void)ok;
  }
  // A file could not be written (chart files or view.dat: a full disk, no permission). Called once,
  // before OnFinished; the job stops there, plays no sound, and the user must be told (kMsgNotStored).
  virtual void OnStoreFailed(std::string_view utf8) = 0;
  // The job has ended: close the progress dialog, enable the download commands; play the completion
  // sound when playSound. cancelled: the job was stopped before its end.
  virtual void OnFinished(bool playSound, bool cancelled) = 0;
};

// What a job needs, copied when it starts.
struct JobContext {
  NetConfig net;
  DataFolder folder;
  BrandTable* table = nullptr;       // shared with the UI thread, written under its mutex
  int year = 0, month = 0, day = 0;  // "today"; 0 = the local date when the job starts
  int period = 0;                    // check_ymd, for the temporary bar
  int adjustment = 0;                // check_adjustment, for the temporary bar
};

// Shared job state, owned by the UI thread.
struct DownloadState {
  std::atomic<int> busy{0};  // a single-brand job (or the version check) runs
  std::jthread jobThread;
  std::jthread allBrandsThread;
  std::atomic<bool> allBrandsRunning{false};
  int allBrandsMode = kListAndCharts;
  int existingOnly = 1;
  std::atomic<int> rangeRequested{0};
  int rangeFromYear = 0, rangeFromMonth = 0, rangeToYear = 0, rangeToMonth = 0;  // check_downloadday00..03
};

// "%d - %s" with the code and "ダウンロード中": the progress dialog's caption.
std::string JobCaption(int32_t code);

// Starts a single-brand job on code. When busy is set: the warning "ほかの銘柄がダウンロード中です。"
// (caption "警告") through prompt, nothing starts, false. Otherwise busy is set and the thread runs.
// kRangeInitialise uses the state's range (see AcceptRange).
bool StartSingleBrandJob(DownloadState& state, SingleBrandJob job, int32_t code, const JobContext& context,
                         std::shared_ptr<DownloadListener> listener, Prompt& prompt);

// The cancel button of the progress dialog: when busy, asks the job to stop, shows "待機" through
// showCaption until the thread has ended, then "終了", and clears busy.
void CancelSingleBrandJob(DownloadState& state, const std::function<void(std::string_view)>& showCaption);

// The all-brands dialog's "ダウンロード": mode from the two check boxes, existingOnly unless
// "完全初期化" is chosen. While a previous all-brands thread still runs, the listener gets
// "実行エラー。ソフトを再起動してからやり直ししてください" and nothing starts (false).
bool StartAllBrandsJob(DownloadState& state, bool listData, bool chartData, bool fullInitialise,
                       const JobContext& context, std::shared_ptr<DownloadListener> listener);

// The all-brands dialog's "キャンセル" or closing: stops the thread (showing "待機" until it has
// ended, then "終了").
void CancelAllBrandsJob(DownloadState& state, const std::function<void(std::string_view)>& showText);

// The period dialog "選択銘柄の指定初期化": its boxes show a value, or nothing for 0.
std::string RangeBoxText(int value);
// OK in that dialog: accepted (true) only when 1984 <= fromYear <= toYear; months are clamped to 1..12
// and the four values stored in the state's range.
bool AcceptRange(DownloadState& state, int fromYear, int fromMonth, int toYear, int toMonth);

}  // namespace sorano
