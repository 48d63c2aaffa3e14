// The download path against sorano-feed on loopback:
//  - one brand's full history (1983 to the feed's "today", about 230 pages of 50 rows): fetch, parse,
//    merge and write both chart files;
//  - the client's own cost: one HttpFetch of a 10 KB page;
//  - the page work without the network: EucToShiftJis of a history page.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/net/chart_history.h"
#include "core/net/euc.h"
#include "core/net/http_client.h"
#include "core/store/chart_record.h"
#include "feed_server.h"

namespace sorano {
namespace {

struct Feed {
  feed::FeedServer server{[] {
    feed::FeedOptions o;
    o.today = 20261204;
    o.versionText = std::string(10 * 1024, 'x');
    return o;
  }()};
  int port = server.Start(0);
  std::string host = "127.0.0.1:" + std::to_string(port);
};

Feed& SharedFeed() {
  static Feed feed;
  return feed;
}

void BM_FullHistoryDownload(benchmark::State& state) {
  Feed& feed = SharedFeed();
  const std::string dir = (std::filesystem::temp_directory_path() / "sorano-bench-download").string() + "/";
  std::filesystem::create_directories(dir);
  NetConfig config;
  config.chartHost = feed.host;
  std::vector<ChartRecord> records(kMaxChartRecords);
  std::vector<VolumeRecord> volumes(kMaxChartRecords);
  for (auto _ : state) {
    const std::string r = DownloadChartHistory(config, DataFolder(dir), records, volumes, 7203, 1,
                                               {1983, 1, 4, 2026, 12, 4}, 0, 0);
    if (r != "OK") state.SkipWithError("download failed");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_FullHistoryDownload)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Fetch10KPage(benchmark::State& state) {
  Feed& feed = SharedFeed();
  std::string body;
  HttpRequest r;
  r.body = &body;
  r.url = "http://" + feed.host + "/sorano.txt";
  for (auto _ : state) {
    if (HttpFetch(r) != 1 || body.size() != 10 * 1024) state.SkipWithError("fetch failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 10 * 1024);
}
BENCHMARK(BM_Fetch10KPage)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_EucToShiftJisPage(benchmark::State& state) {
  // A history page's worth of rows: markup, digits and the date's kanji.
  std::string page;
  for (int i = 0; i < 50; ++i)
    page += ShiftJisToEuc(
        "<tr align=right><td>2003\x94\x4e"
        "12\x8c\x8e"
        "5\x93\xfa</td><td>3,500</td><td>3,550</td><td>3,480</td>"
        "<td><b>3,520</b></td><td>1,234,000</td><td>1,760</td></tr>\n");
  for (auto _ : state) benchmark::DoNotOptimize(EucToShiftJis(page));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_EucToShiftJisPage);

}  // namespace
}  // namespace sorano

BENCHMARK_MAIN();
