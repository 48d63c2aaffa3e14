#include "core/net/download_job.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <vector>

#include "core/net/chart_history.h"
#include "core/net/quote_page.h"
#include "core/store/chart_file.h"

namespace sorano {
namespace {

void ResolveToday(JobContext& c) {
  if (c.year != 0) return;
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  c.year = tm.tm_year + 1900;
  c.month = tm.tm_mon + 1;
  c.day = tm.tm_mday;
}

// Worker-owned buffers for one brand's stored history.
struct ChartBuffers {
  std::vector<ChartRecord> records = std::vector<ChartRecord>(kMaxChartRecords);
  std::vector<VolumeRecord> volumes = std::vector<VolumeRecord>(kMaxChartRecords);
};

int32_t MarketOf(BrandTable& table, int32_t code) {
  std::lock_guard lock(table.mutex());
  const BrandRecord* r = table.Find(code);
  return r ? r->market : 0;
}

int32_t PriceOf(BrandTable& table, int32_t code) {
  std::lock_guard lock(table.mutex());
  const BrandRecord* r = table.Find(code);
  return r ? r->price : 0;
}

// The chart update rule: with stored days, from the last stored day to today keeping the rest;
// without (n - 1 not above minKeep), a full year up to today.
std::string UpdateChart(const JobContext& c, ChartBuffers& b, int32_t code, int minKeep,
                        std::stop_token stop) {
  const int n = ReadChart(c.folder, b.records, b.volumes, code, kChartDaily, 0);
  const int32_t market = MarketOf(*c.table, code);
  if (n - 1 > minKeep) {
    const ChartRecord& last = b.records[static_cast<size_t>(n - 1)];
    const ChartRange range{last.year, last.month, last.day, c.year, c.month, c.day};
    return DownloadChartHistory(c.net, c.folder, b.records, b.volumes, code, market, range, 1, n - 1, stop);
  }
  const ChartRange range{c.year - 1, c.month, c.day, c.year, c.month, c.day};
  return DownloadChartHistory(c.net, c.folder, b.records, b.volumes, code, market, range, 0, 0, stop);
}

// Tells the listener how the brand went; false (after OnStoreFailed) when its files could not be
// written.
bool ReportChart(DownloadListener& listener, int32_t code, const std::string& result) {
  listener.OnBrandDone(code, result == "OK");
  if (result != kHistoryNotStored) return true;
  listener.OnStoreFailed(kMsgNotStored);
  return false;
}

void RunSingleBrandJob(std::stop_token stop, DownloadState* state, SingleBrandJob job, int32_t code,
                       JobContext c, ChartRange userRange, std::shared_ptr<DownloadListener> listener) {
  listener->OnProgress(code, -1);
  ChartBuffers b;
  const int32_t market = MarketOf(*c.table, code);
  bool stored = true;
  switch (job) {
    case SingleBrandJob::kChartUpdate:
      // A brand with one stored day is updated from that day; one with none gets a full year.
      stored = ReportChart(*listener, code, UpdateChart(c, b, code, -1, stop));
      break;
    case SingleBrandJob::kInitialise:
      stored = ReportChart(*listener, code,
                           DownloadChartHistory(c.net, c.folder, b.records, b.volumes, code, market,
                                                {1983, 1, 4, c.year, c.month, c.day}, 0, 0, stop));
      break;
    case SingleBrandJob::kRangeInitialise: {
      state->rangeRequested = 1;
      stored = ReportChart(
          *listener, code,
          DownloadChartHistory(c.net, c.folder, b.records, b.volumes, code, market, userRange, 0, 0, stop));
      state->rangeRequested = 0;
      break;
    }
    case SingleBrandJob::kQuoteUpdate: {
      const bool scraped = ScrapeQuote(c.net, *c.table, code, stop) == "OK";
      listener->OnBrandDone(code, scraped);
      if (scraped && !stop.stop_requested()) SaveBrandTable(c.folder, *c.table);
      break;
    }
    case SingleBrandJob::kTemporaryUpdate: {
      const int n = std::max(0, ReadChart(c.folder, b.records, b.volumes, code, c.period, c.adjustment));
      if (stop.stop_requested()) break;
      const bool scraped = ScrapeQuote(c.net, *c.table, code, stop) == "OK";
      listener->OnBrandDone(code, scraped);
      if (!scraped) break;
      BrandRecord rec;
      {
        std::lock_guard lock(c.table->mutex());
        rec = (*c.table)[static_cast<size_t>(code)];
      }
      // No room for one more bar in a full series; nothing to add without a volume.
      if (rec.volume == 0 || n >= static_cast<int>(kMaxChartRecords)) break;
      ChartRecord bar{c.year, c.month, c.day, rec.open, rec.high, rec.low, rec.price};
      if (c.adjustment != 0 && n > 0) {
        // The factor comes from a file: a garbled one (NaN, infinite) leaves the prices unadjusted.
        const double f = b.volumes[static_cast<size_t>(n - 1)].factor;
        if (std::isfinite(f)) {
          for (int32_t* v : {&bar.open, &bar.high, &bar.low, &bar.close})
            *v = static_cast<int32_t>(std::clamp(static_cast<double>(*v) * f, -2147483648.0, 2147483647.0));
        }
      }
      VolumeRecord volume;
      volume.volume = rec.volume;
      if (!stop.stop_requested()) listener->OnTemporaryBar(code, n, bar, volume);
      break;
    }
  }
  const bool cancelled = stop.stop_requested();
  // The chart jobs rewrote the chart files: the series is read again and the end is sounded. A quote
  // changes only the brand record, which the list shows once it is filled again.
  const bool chartJob = job != SingleBrandJob::kTemporaryUpdate && job != SingleBrandJob::kQuoteUpdate;
  if (chartJob && !cancelled) listener->OnReloadSeries(code);
  state->busy = 0;
  listener->OnFinished(chartJob && !cancelled && stored, cancelled);
}

void RunAllBrandsJob(std::stop_token stop, DownloadState* state, int mode, int existingOnly, JobContext c,
                     std::shared_ptr<DownloadListener> listener) {
  auto finish = [&](bool sound) {
    const bool cancelled = stop.stop_requested();
    state->allBrandsRunning = false;
    listener->OnFinished(sound && !cancelled, cancelled);
  };
  // The brand table holds what the list part scraped; it is stored at the end of each part.
  auto saveTable = [&] {
    if (SaveBrandTable(c.folder, *c.table) == 1) return true;
    listener->OnStoreFailed(kMsgNotStored);
    return false;
  };
  if (mode == kListAndCharts || mode == kListOnly) {
    for (int32_t code = kFirstListedCode; code <= kLastListedCode; ++code) {
      if (stop.stop_requested()) return finish(false);
      if (existingOnly != 0 && PriceOf(*c.table, code) == 0) continue;
      listener->OnProgress(code, code - kFirstListedCode);
      // A page without a brand leaves its record as it was.
      listener->OnBrandDone(code, ScrapeQuote(c.net, *c.table, code, stop) == "OK");
    }
    if (!saveTable()) return finish(false);
    listener->OnMessage(kMsgListDone);
    if (mode == kListOnly) return finish(true);
  }
  ChartBuffers b;
  for (int32_t code = kFirstListedCode; code <= kLastListedCode; ++code) {
    if (stop.stop_requested()) return finish(false);
    if (PriceOf(*c.table, code) == 0) continue;
    const bool stored = ReportChart(*listener, code, UpdateChart(c, b, code, 0, stop));
    listener->OnProgress(code, code - kFirstListedCode);
    if (!stored) return finish(false);
  }
  if (stop.stop_requested()) return finish(false);
  if (!saveTable()) return finish(false);
  listener->OnMessage(kMsgChartsDone);
  finish(true);
}

}  // namespace

std::string JobCaption(int32_t code) {
  return std::to_string(code) + " - ダウンロード中";
}

bool StartSingleBrandJob(DownloadState& state, SingleBrandJob job, int32_t code, const JobContext& context,
                         std::shared_ptr<DownloadListener> listener, Prompt& prompt) {
  if (state.busy != 0 || context.table == nullptr || context.table->Find(code) == nullptr) {
    if (state.busy != 0) prompt.Message(kMsgOtherBrandBusy, kCaptionWarning, PromptIcon::Warning);
    return false;
  }
  state.busy = 1;
  if (state.jobThread.joinable()) state.jobThread.join();  // the previous job has ended (busy was clear)
  JobContext c = context;
  ResolveToday(c);
  // The user's period runs from day 0 of its first month to day 31 of its last.
  const ChartRange userRange{state.rangeFromYear, state.rangeFromMonth, 0,
                             state.rangeToYear,   state.rangeToMonth,   31};
  state.jobThread =
      std::jthread(RunSingleBrandJob, &state, job, code, std::move(c), userRange, std::move(listener));
  return true;
}

void CancelSingleBrandJob(DownloadState& state, const std::function<void(std::string_view)>& showCaption) {
  if (state.busy == 0) return;
  state.jobThread.request_stop();
  if (showCaption) showCaption(kMsgWaiting);
  if (state.jobThread.joinable()) state.jobThread.join();
  if (showCaption) showCaption(kMsgEnded);
  state.busy = 0;
}

bool StartAllBrandsJob(DownloadState& state, bool listData, bool chartData, bool fullInitialise,
                       const JobContext& context, std::shared_ptr<DownloadListener> listener) {
  if (context.table == nullptr || (!listData && !chartData)) return false;
  state.allBrandsMode = listData && chartData ? kListAndCharts : listData ? kListOnly : kChartsOnly;
  state.existingOnly = fullInitialise ? 0 : 1;
  if (state.allBrandsRunning) {
    listener->OnMessage(kMsgRestartAndRetry);
    return false;
  }
  if (state.allBrandsThread.joinable()) state.allBrandsThread.join();
  state.allBrandsRunning = true;
  JobContext c = context;
  ResolveToday(c);
  state.allBrandsThread = std::jthread(RunAllBrandsJob, &state, state.allBrandsMode, state.existingOnly,
                                       std::move(c), std::move(listener));
  return true;
}

void CancelAllBrandsJob(DownloadState& state, const std::function<void(std::string_view)>& showText) {
  if (!state.allBrandsThread.joinable()) return;
  state.allBrandsThread.request_stop();
  if (showText) showText(kMsgWaiting);
  state.allBrandsThread.join();
  if (showText) showText(kMsgEnded);
  state.allBrandsRunning = false;
}

std::string RangeBoxText(int value) {
  return value == 0 ? std::string() : std::to_string(value).substr(0, 4);
}

bool AcceptRange(DownloadState& state, int fromYear, int fromMonth, int toYear, int toMonth) {
  if (fromYear < 1984 || fromYear > toYear) return false;
  state.rangeFromYear = fromYear;
  state.rangeFromMonth = std::clamp(fromMonth, 1, 12);
  state.rangeToYear = toYear;
  state.rangeToMonth = std::clamp(toMonth, 1, 12);
  return true;
}

}  // namespace sorano
