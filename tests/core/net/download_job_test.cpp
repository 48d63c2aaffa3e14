#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "core/net/download_job.h"
#include "core/store/chart_file.h"
#include "core/text/sjis.h"
#include "feed_fixture.h"
#include "support/fake_prompt.h"
#include "support/file_size_limit.h"

namespace sorano {
namespace {

using namespace std::chrono_literals;
using test::FeedTest;
using test::ReadBytes;

// Collects the callbacks of a job (they arrive on the worker thread).
class RecordingListener : public DownloadListener {
 public:
  void OnProgress(int32_t code, int position) override {
    std::lock_guard lock(mutex_);
    progress.emplace_back(code, position);
    changed_.notify_all();
  }
  void OnMessage(std::string_view utf8) override {
    std::lock_guard lock(mutex_);
    messages.emplace_back(utf8);
  }
  void OnReloadSeries(int32_t code) override {
    std::lock_guard lock(mutex_);
    reloads.push_back(code);
  }
  void OnTemporaryBar(int32_t code, int index, const ChartRecord& b, const VolumeRecord& v) override {
    std::lock_guard lock(mutex_);
    barCode = code;
    barIndex = index;
    bar = b;
    barVolume = v;
  }
  void OnBrandDone(int32_t, bool success) override {
    std::lock_guard lock(mutex_);
    (success ? ok : failed)++;
  }
  void OnStoreFailed(std::string_view utf8) override {
    std::lock_guard lock(mutex_);
    storeFailures.emplace_back(utf8);
  }
  void OnFinished(bool playSound, bool wasCancelled) override {
    std::lock_guard lock(mutex_);
    finished = true;
    sound = playSound;
    cancelled = wasCancelled;
    changed_.notify_all();
  }
  bool WaitFinished(std::chrono::seconds limit = 120s) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return finished; });
  }
  bool WaitProgress(size_t count, std::chrono::seconds limit = 60s) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return progress.size() >= count || finished; });
  }
  // Read after the job has ended.
  std::vector<std::pair<int32_t, int>> progress;
  std::vector<std::string> messages, storeFailures;
  std::vector<int32_t> reloads;
  int32_t barCode = 0;
  int barIndex = -1;
  ChartRecord bar;
  VolumeRecord barVolume;
  bool finished = false, sound = false, cancelled = false;
  int ok = 0, failed = 0;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
};

class DownloadJobTest : public FeedTest {
 protected:
  void StartWith(const std::string& brands, bool synthetic) {
    test::WriteBytes(brandsDir_ / "default.dat", Utf8ToSjis(brands));
    feed::FeedOptions options;
    options.brandsFile = brandsDir_ / "default.dat";
    StartFeed(options, synthetic);
    context_.net.chartHost = context_.net.quoteHost = Host();
    context_.net.connectRetries = 0;
    context_.folder = folder_;
    context_.table = &table_;
    context_.year = 2004;
    context_.month = 1;
    context_.day = 5;
  }
  std::vector<std::string> Requests(std::string_view prefix) const {
    std::vector<std::string> out;
    for (const std::string& r : feed_->Requests())
      if (r.starts_with(prefix)) out.push_back(r);
    return out;
  }
  // Every chart file is whole: both files hold the same number of complete records.
  void ExpectWholeChartFiles() const {
    for (const auto& e : std::filesystem::directory_iterator(data_.path() + "data/chdata_d")) {
      const std::string name = e.path().filename().string();
      if (!name.ends_with(".dat")) continue;
      const size_t prices = ReadBytes(e.path().string()).size();
      const size_t volumes = ReadBytes(data_.path() + "data/chdata_da/" + name).size();
      EXPECT_EQ(prices % 28, 0u) << name;
      EXPECT_EQ(prices / 28, volumes / 24) << name;
      EXPECT_GT(prices, 0u) << name;
    }
  }

  test::TempDir brandsDir_, data_;
  DataFolder folder_{data_.path()};
  BrandTable table_;
  JobContext context_;
  DownloadState state_;
  test::FakePrompt prompt_;
};

TEST_F(DownloadJobTest, AllBrandsJobOverExistingBrandsUpdatesListAndCharts) {
  std::string brands;
  for (int code = 1301; code <= 1500; ++code) brands += std::to_string(code) + ",1,1,\r\n";
  StartWith(brands, true);
  for (int code = 1301; code <= 1500; ++code) table_[code].price = 1;
  // Brand 1301 has two stored days: it is updated from its last one. 1302 has one: a full year.
  std::vector<ChartRecord> two = {{2003, 12, 1, 1, 1, 1, 1}, {2003, 12, 26, 1, 1, 1, 1}};
  ASSERT_EQ(WriteChart(folder_, two, 1301), 1);
  ASSERT_EQ(WriteVolumes(folder_, std::vector<VolumeRecord>(2), 1301), 1);
  ASSERT_EQ(WriteChart(folder_, std::span(two).first(1), 1302), 1);
  ASSERT_EQ(WriteVolumes(folder_, std::vector<VolumeRecord>(1), 1302), 1);

  auto listener = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartAllBrandsJob(state_, true, true, false, context_, listener));
  EXPECT_FALSE(StartAllBrandsJob(state_, true, true, false, context_, listener));  // still running
  ASSERT_TRUE(listener->WaitFinished());
  state_.allBrandsThread.join();

  EXPECT_TRUE(listener->sound);
  EXPECT_FALSE(listener->cancelled);
  ASSERT_GE(listener->messages.size(), 3u);
  EXPECT_EQ(listener->messages[0], kMsgRestartAndRetry);
  EXPECT_EQ(listener->messages[1], kMsgListDone);
  EXPECT_EQ(listener->messages[2], kMsgChartsDone);
  // 200 quote pages, then the charts; no code outside the table is asked for.
  EXPECT_EQ(Requests("/q?").size(), 200u);
  for (const std::string& r : feed_->Requests()) EXPECT_EQ(r.find("1501"), std::string::npos) << r;
  EXPECT_EQ(listener->progress.front(), std::make_pair(1301, 1));
  EXPECT_EQ(listener->progress.back(), std::make_pair(1500, 200));
  EXPECT_EQ(listener->progress.size(), 400u);
  EXPECT_EQ(listener->ok, 400);
  EXPECT_EQ(listener->failed, 0);
  const auto charts = Requests("/t?");
  EXPECT_EQ(charts[0], "/t?c=2003&a=12&b=26&f=2004&d=1&e=5&g=d&x=.csv&y=0&s=1301&z=1301");
  EXPECT_EQ(charts[1], "/t?c=2003&a=1&b=5&f=2004&d=1&e=5&g=d&x=.csv&y=0&s=1302&z=1302");
  // The brand table was saved with the scraped names.
  EXPECT_EQ(ReadBytes(data_.path() + "data/view.dat").size(), 2560000u);
  EXPECT_GT(table_[1400].sharesIssued, 0);
  ExpectWholeChartFiles();
  std::vector<ChartRecord> records(kMaxChartRecords);
  std::vector<VolumeRecord> volumes(kMaxChartRecords);
  const int n = ReadChart(folder_, records, volumes, 1301, kChartDaily, 0);
  ASSERT_GE(n, 3);
  EXPECT_EQ(records[0].day, 1);  // the stored first day stays
  EXPECT_EQ(records[static_cast<size_t>(n - 1)].year, 2004);
  EXPECT_GT(ReadChart(folder_, records, volumes, 1302, kChartDaily, 0), 200);
}

TEST_F(DownloadJobTest, CancelEndsWithinOnePageAndLeavesWholeFiles) {
  std::string brands;
  for (int code = 1301; code <= 1340; ++code) brands += std::to_string(code) + ",1,1,\r\n";
  StartWith(brands, true);
  for (int code = 1301; code <= 1340; ++code) table_[code].price = 1;
  feed::FeedFaults slow;
  slow.latencyMs = 100;
  feed_->SetFaults(slow);
  auto listener = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartAllBrandsJob(state_, false, true, false, context_, listener));
  ASSERT_TRUE(listener->WaitProgress(3));
  std::vector<std::string> shown;
  const auto start = std::chrono::steady_clock::now();
  CancelAllBrandsJob(state_, [&shown](std::string_view t) { shown.emplace_back(t); });
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_EQ(shown, (std::vector<std::string>{std::string(kMsgWaiting), std::string(kMsgEnded)}));
  EXPECT_TRUE(listener->finished);
  EXPECT_TRUE(listener->cancelled);
  EXPECT_FALSE(listener->sound);
  EXPECT_LT(listener->progress.size(), 40u);
  EXPECT_EQ(ReadBytes(data_.path() + "data/view.dat"), "");  // saved only at the end of a part
  ExpectWholeChartFiles();
  // The dialog can start a new job afterwards.
  auto again = std::make_shared<RecordingListener>();
  feed_->SetFaults({});
  ASSERT_TRUE(StartAllBrandsJob(state_, true, false, false, context_, again));
  ASSERT_TRUE(again->WaitFinished());
}

TEST_F(DownloadJobTest, ListOnlyChangesNoChartFile) {
  StartWith("1301,1,1,\r\n1302,1,1,\r\n", true);
  table_[1301].price = 1;
  table_[1302].price = 0;  // not registered: not asked for
  auto listener = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartAllBrandsJob(state_, true, false, false, context_, listener));
  ASSERT_TRUE(listener->WaitFinished());
  EXPECT_EQ(listener->messages, std::vector<std::string>{std::string(kMsgListDone)});
  EXPECT_TRUE(listener->sound);
  EXPECT_EQ(feed_->Requests(), std::vector<std::string>{"/q?s=1301&d=b"});
  EXPECT_FALSE(std::filesystem::exists(data_.path() + "data/chdata_d"));
  EXPECT_GT(table_[1301].price, 1);
  EXPECT_EQ(listener->ok, 1);
}

TEST_F(DownloadJobTest, SingleBrandJobsAndTheBusyFlag) {
  StartWith("7203,1,17,\r\n", false);
  WriteCsv(7203, "2003-12-26,100,110,90,100,1000,100\n2004-01-05,200,210,190,200,2000,200\n");
  table_[7203].price = 1;
  feed::FeedFaults slow;
  slow.latencyMs = 300;
  feed_->SetFaults(slow);
  auto listener = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartSingleBrandJob(state_, SingleBrandJob::kInitialise, 7203, context_, listener, prompt_));
  EXPECT_EQ(state_.busy, 1);
  auto second = std::make_shared<RecordingListener>();
  EXPECT_FALSE(StartSingleBrandJob(state_, SingleBrandJob::kChartUpdate, 7203, context_, second, prompt_));
  ASSERT_EQ(prompt_.calls.size(), 1u);
  EXPECT_EQ(prompt_.calls[0].text, kMsgOtherBrandBusy);
  EXPECT_EQ(prompt_.calls[0].caption, kCaptionWarning);
  ASSERT_TRUE(listener->WaitFinished());
  state_.jobThread.join();
  EXPECT_EQ(state_.busy, 0);
  EXPECT_EQ(listener->reloads, std::vector<int32_t>{7203});
  EXPECT_TRUE(listener->sound);
  EXPECT_EQ(Requests("/t?").back(), "/t?c=1983&a=1&b=4&f=2004&d=1&e=5&g=d&x=.csv&y=0&s=7203&z=7203");
  EXPECT_EQ(ReadBytes(PriceFilePath(folder_, 7203)).size(), 2u * 28);
  EXPECT_EQ(JobCaption(7203), "7203 - ダウンロード中");

  // The chart update asks from the last stored day on.
  feed_->SetFaults({});
  auto update = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartSingleBrandJob(state_, SingleBrandJob::kChartUpdate, 7203, context_, update, prompt_));
  ASSERT_TRUE(update->WaitFinished());
  EXPECT_EQ(Requests("/t?").back(), "/t?c=2004&a=1&b=5&f=2004&d=1&e=5&g=d&x=.csv&y=0&s=7203&z=7203");
  EXPECT_EQ(ReadBytes(PriceFilePath(folder_, 7203)).size(), 2u * 28);

  // Period initialisation: the dialog's rules, then day 0 of the first month to day 31 of the last.
  EXPECT_FALSE(AcceptRange(state_, 1983, 1, 2000, 1));
  EXPECT_FALSE(AcceptRange(state_, 2001, 1, 2000, 1));
  ASSERT_TRUE(AcceptRange(state_, 2001, 13, 2003, 0));
  EXPECT_EQ(state_.rangeFromMonth, 12);
  EXPECT_EQ(state_.rangeToMonth, 1);
  EXPECT_EQ(RangeBoxText(0), "");
  EXPECT_EQ(RangeBoxText(2001), "2001");
  auto range = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartSingleBrandJob(state_, SingleBrandJob::kRangeInitialise, 7203, context_, range, prompt_));
  ASSERT_TRUE(range->WaitFinished());
  EXPECT_EQ(Requests("/t?").back(), "/t?c=2001&a=12&b=0&f=2003&d=1&e=31&g=d&x=.csv&y=0&s=7203&z=7203");
  EXPECT_EQ(state_.rangeRequested, 0);
}

TEST_F(DownloadJobTest, ChartUpdateWithoutHistoryFetchesAYearAndCancelClearsBusy) {
  StartWith("7203,1,17,\r\n", false);
  WriteCsv(7203, "2003-12-26,100,110,90,100,1000,100\n");
  table_[7203].price = 1;
  auto listener = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartSingleBrandJob(state_, SingleBrandJob::kChartUpdate, 7203, context_, listener, prompt_));
  ASSERT_TRUE(listener->WaitFinished());
  EXPECT_EQ(Requests("/t?").back(), "/t?c=2003&a=1&b=5&f=2004&d=1&e=5&g=d&x=.csv&y=0&s=7203&z=7203");

  feed::FeedFaults stall;
  stall.stallMs = 1500;
  feed_->SetFaults(stall);
  const std::string before = ReadBytes(PriceFilePath(folder_, 7203));
  auto cancelled = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartSingleBrandJob(state_, SingleBrandJob::kInitialise, 7203, context_, cancelled, prompt_));
  std::this_thread::sleep_for(50ms);
  std::vector<std::string> captions;
  CancelSingleBrandJob(state_, [&captions](std::string_view t) { captions.emplace_back(t); });
  EXPECT_EQ(captions, (std::vector<std::string>{std::string(kMsgWaiting), std::string(kMsgEnded)}));
  EXPECT_EQ(state_.busy, 0);
  EXPECT_TRUE(cancelled->cancelled);
  EXPECT_TRUE(cancelled->reloads.empty());
  EXPECT_EQ(ReadBytes(PriceFilePath(folder_, 7203)), before);
}

TEST_F(DownloadJobTest, AFullDiskEndsTheJobWithItsMessageAndChangesNoFile) {
  std::string brands;
  for (int code = 1301; code <= 1310; ++code) brands += std::to_string(code) + ",1,1,\r\n";
  StartWith(brands, true);
  for (int code = 1301; code <= 1310; ++code) table_[code].price = 1;
  // Stored up to a year ago: its update brings a year of days (7 KB), which does not fit.
  const std::vector<ChartRecord> stored = {{2002, 12, 2, 1, 1, 1, 1}, {2003, 1, 6, 1, 1, 1, 1}};
  ASSERT_EQ(WriteChartFiles(folder_, stored, std::vector<VolumeRecord>(2), 1301), 1);
  ASSERT_EQ(SaveBrandTable(folder_, table_), 1);
  const std::string prices = ReadBytes(PriceFilePath(folder_, 1301)),
                    view = ReadBytes(data_.path() + "data/view.dat");
  test::ScopedFileSizeLimit full(1024);  // nor does view.dat

  auto single = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartSingleBrandJob(state_, SingleBrandJob::kInitialise, 1301, context_, single, prompt_));
  ASSERT_TRUE(single->WaitFinished());
  state_.jobThread.join();
  EXPECT_EQ(single->storeFailures, std::vector<std::string>{std::string(kMsgNotStored)});
  EXPECT_FALSE(single->sound);
  EXPECT_EQ(single->failed, 1);

  // The all-brands job stops at its first brand instead of failing every other one the same way.
  for (bool list : {false, true}) {
    auto all = std::make_shared<RecordingListener>();
    ASSERT_TRUE(StartAllBrandsJob(state_, list, true, false, context_, all));
    ASSERT_TRUE(all->WaitFinished());
    state_.allBrandsThread.join();
    EXPECT_EQ(all->storeFailures, std::vector<std::string>{std::string(kMsgNotStored)}) << list;
    EXPECT_TRUE(all->messages.empty()) << list;  // no "completed" text
    EXPECT_FALSE(all->sound) << list;
    EXPECT_EQ(all->failed, list ? 0 : 1) << list;  // the list part fails at saving view.dat
  }
  EXPECT_EQ(ReadBytes(PriceFilePath(folder_, 1301)), prices);
  EXPECT_EQ(ReadBytes(data_.path() + "data/view.dat"), view);
  EXPECT_FALSE(std::filesystem::exists(PriceFilePath(folder_, 1302)));
}

TEST_F(DownloadJobTest, CancelDoesNotWaitForAStalledFetch) {
  StartWith("7203,1,17,\r\n1301,1,1,\r\n", false);
  WriteCsv(7203, "2003-12-26,100,110,90,100,1000,100\n");
  table_[7203].price = 1;
  table_[1301].price = 1;
  // The page stalls halfway for longer than the cancel may take; the receive time-out is longer still.
  feed::FeedFaults stall;
  stall.stallMs = 8000;
  feed_->SetFaults(stall);
  context_.net.receiveTimeout = 20000;
  const std::string before = ReadBytes(PriceFilePath(folder_, 7203));

  auto single = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartSingleBrandJob(state_, SingleBrandJob::kInitialise, 7203, context_, single, prompt_));
  std::this_thread::sleep_for(200ms);
  auto start = std::chrono::steady_clock::now();
  CancelSingleBrandJob(state_, nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_EQ(state_.busy, 0);
  EXPECT_TRUE(single->cancelled);
  EXPECT_EQ(ReadBytes(PriceFilePath(folder_, 7203)), before);

  const BrandRecord stored = table_[1301];
  auto all = std::make_shared<RecordingListener>();
  ASSERT_TRUE(StartAllBrandsJob(state_, true, false, true, context_, all));
  ASSERT_TRUE(all->WaitProgress(1));
  std::this_thread::sleep_for(200ms);
  start = std::chrono::steady_clock::now();
  CancelAllBrandsJob(state_, nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(all->cancelled);
  EXPECT_EQ(table_[1301].price, stored.price);  // the interrupted page changed nothing
}

TEST_F(DownloadJobTest, TemporaryBarFromTheQuotePage) {
  StartWith("7203,1,17,\r\n", false);
  WriteCsv(7203, "2004-01-02,300,310,290,300,1000,300\n2004-01-05,400,420,380,410,5000,410\n");
  table_[7203].price = 1;
  // Stored: one day whose factor halves the prices.
  std::vector<ChartRecord> stored = {{2003, 12, 30, 500, 500, 500, 500}};
  std::vector<VolumeRecord> storedVolumes(1);
  storedVolumes[0].factor = 0.5;
  ASSERT_EQ(WriteChart(folder_, stored, 7203), 1);
  ASSERT_EQ(WriteVolumes(folder_, storedVolumes, 7203), 1);
  context_.adjustment = 1;
  auto listener = std::make_shared<RecordingListener>();
  ASSERT_TRUE(
      StartSingleBrandJob(state_, SingleBrandJob::kTemporaryUpdate, 7203, context_, listener, prompt_));
  ASSERT_TRUE(listener->WaitFinished());
  EXPECT_FALSE(listener->sound);
  EXPECT_TRUE(listener->reloads.empty());
  EXPECT_EQ(listener->barCode, 7203);
  EXPECT_EQ(listener->barIndex, 1);
  EXPECT_EQ(listener->bar.year, 2004);
  EXPECT_EQ(listener->bar.day, 5);
  EXPECT_EQ(listener->bar.open, 200);
  EXPECT_EQ(listener->bar.high, 210);
  EXPECT_EQ(listener->bar.low, 190);
  EXPECT_EQ(listener->bar.close, 205);
  EXPECT_EQ(listener->barVolume.volume, 5000);
  EXPECT_EQ(ReadBytes(PriceFilePath(folder_, 7203)).size(), 28u);  // nothing written
}

}  // namespace
}  // namespace sorano
