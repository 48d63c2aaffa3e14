// sorano-cli update: the download jobs without a window.
//   update [--list] [--charts] [--all-codes]   the all-brands job (list data and/or chart data;
//                                              --all-codes walks every code 1300..9999, not only
//                                              the registered ones)
//   update --code N [--init]                   the chart update (or initialisation) of one brand
// Hosts, proxy, time-out and retries come from the settings; --host HOST:PORT overrides the chart and
// quote hosts. Ctrl-C cancels the job cleanly; the exit status is 1 when nothing could be fetched or a
// file could not be written.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

#include "commands.h"
#include "core/app/crash_recovery.h"
#include "core/net/download_job.h"
#include "core/settings/settings_store.h"
#include "core/store/brand_table.h"

namespace sorano::cli {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;
void OnInterrupt(int) {
  g_interrupted = 1;
}

// Progress on the terminal: a bar on stderr when it is a terminal, nothing otherwise.
class CliListener : public DownloadListener {
 public:
  CliListener(std::ostream& err, bool bar) : err_(err), bar_(bar) {}
  void OnProgress(int32_t code, int position) override {
    std::lock_guard lock(mutex_);
    if (!bar_) return;
    const int done = position < 0 ? 0 : position * 40 / (kLastListedCode - kFirstListedCode);
    err_ << "\r[" << std::string(static_cast<size_t>(done), '#')
         << std::string(static_cast<size_t>(40 - done), '.') << "] " << code << "  ok " << ok_ << "  failed "
         << failed_ << std::flush;
  }
  void OnMessage(std::string_view utf8) override {
    std::lock_guard lock(mutex_);
    err_ << (bar_ ? "\r\n" : "") << utf8 << '\n';
  }
  void OnReloadSeries(int32_t) override {}
  void OnTemporaryBar(int32_t, int, const ChartRecord&, const VolumeRecord&) override {}
  void OnBrandDone(int32_t, bool ok) override {
    std::lock_guard lock(mutex_);
    (ok ? ok_ : failed_)++;
  }
  void OnStoreFailed(std::string_view utf8) override {
    std::lock_guard lock(mutex_);
    storeFailed_ = true;
    err_ << (bar_ ? "\r\n" : "") << utf8 << '\n';
  }
  void OnFinished(bool, bool cancelled) override {
    std::lock_guard lock(mutex_);
    finished_ = true;
    cancelled_ = cancelled;
    done_.notify_all();
  }
  // Waits for the end of the job, polling for Ctrl-C; true when it was interrupted.
  bool WaitOrInterrupt() {
    std::unique_lock lock(mutex_);
    while (!finished_) {
      done_.wait_for(lock, std::chrono::milliseconds(100));
      if (g_interrupted) return true;
    }
    return false;
  }
  int ok() {
    std::lock_guard lock(mutex_);
    return ok_;
  }
  int failed() {
    std::lock_guard lock(mutex_);
    return failed_;
  }
  bool storeFailed() {
    std::lock_guard lock(mutex_);
    return storeFailed_;
  }

 private:
  std::ostream& err_;
  const bool bar_;
  std::mutex mutex_;
  std::condition_variable done_;
  int ok_ = 0, failed_ = 0;
  bool finished_ = false, cancelled_ = false, storeFailed_ = false;
};

int RunUpdate(Context& ctx, std::span<const std::string> args) {
  bool list = false, charts = false, allCodes = false, init = false;
  std::optional<int32_t> code;
  std::string host;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--list") {
      list = true;
    } else if (a == "--charts") {
      charts = true;
    } else if (a == "--all-codes") {
      allCodes = true;
    } else if (a == "--init") {
      init = true;
    } else if (a == "--code" && i + 1 < args.size()) {
      code = ParseBrandCode(args[++i]);
      if (!code) {
        ctx.err << "sorano-cli update: bad code '" << args[i] << "'\n";
        return kExitUsage;
      }
    } else if (a == "--host" && i + 1 < args.size()) {
      host = args[++i];
    } else {
      ctx.err << "sorano-cli update: unknown argument '" << a << "'\n";
      return kExitUsage;
    }
  }
  if (code && (list || charts || allCodes)) {
    ctx.err << "sorano-cli update: --code takes no --list, --charts or --all-codes\n";
    return kExitUsage;
  }
  if (!list && !charts) list = charts = true;

  RecoverDataFolder(ctx.data);  // an earlier run that was killed mid-write
  auto table = std::make_unique<BrandTable>();
  LoadBrandTable(ctx.data, *table);  // a missing view.dat leaves the table empty
  JobContext context;
  context.net = NetConfigFromSettings(ctx.settings);
  if (!host.empty()) context.net.chartHost = context.net.quoteHost = host;
  context.folder = ctx.data;
  context.table = table.get();

  auto listener = std::make_shared<CliListener>(ctx.err, isatty(STDERR_FILENO) == 1);
  DownloadState state;
  StderrPrompt prompt(ctx.err);
  g_interrupted = 0;
  auto previous = std::signal(SIGINT, OnInterrupt);
  bool started;
  if (code) {
    started = StartSingleBrandJob(state, init ? SingleBrandJob::kInitialise : SingleBrandJob::kChartUpdate,
                                  *code, context, listener, prompt);
  } else {
    started = StartAllBrandsJob(state, list, charts, allCodes, context, listener);
  }
  bool interrupted = false;
  if (started) {
    interrupted = listener->WaitOrInterrupt();
    if (interrupted) {
      auto show = [&ctx](std::string_view t) { ctx.err << "\n" << t << std::flush; };
      if (code) {
        CancelSingleBrandJob(state, show);
      } else {
        CancelAllBrandsJob(state, show);
      }
      ctx.err << '\n';
    }
  }
  std::signal(SIGINT, previous);
  if (state.jobThread.joinable()) state.jobThread.join();
  if (state.allBrandsThread.joinable()) state.allBrandsThread.join();
  ctx.out << "fetched " << listener->ok() << ", failed " << listener->failed()
          << (interrupted ? ", cancelled" : "") << '\n';
  return listener->ok() > 0 && !listener->storeFailed() ? kExitOk : kExitFailure;
}

const CommandRegistration kUpdate{
    {"update", "update [--list] [--charts] [--all-codes] [--code N] [--init] [--host HOST:PORT]",
     "Download list and chart data like the download menu (all registered brands, or one with --code).",
     RunUpdate}};

}  // namespace
}  // namespace sorano::cli
