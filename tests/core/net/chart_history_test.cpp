#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/net/chart_history.h"
#include "core/store/chart_file.h"
#include "feed_fixture.h"

namespace sorano {
namespace {

using test::FeedTest;
using test::ReadBytes;

// Weekdays before and including 2003-12-05, oldest first, as "YYYY-MM-DD".
std::vector<std::string> WeekdaysUpTo20031205(int count) {
  std::vector<std::string> days;
  int y = 2003, m = 12, d = 5;
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  // 2003-12-05 is a Friday; walk back with the weekday.
  int wd = 5;
  while (static_cast<int>(days.size()) < count) {
    if (wd != 0 && wd != 6) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
      days.insert(days.begin(), buf);
    }
    wd = (wd + 6) % 7;
    if (--d == 0) {
      if (--m == 0) {
        m = 12;
        --y;
      }
      d = kMonthDays[m - 1];
    }
  }
  return days;
}

int LeadingIntOf(const std::string& s, size_t at) {
  return std::stoi(s.substr(at));
}

class ChartHistoryTest : public FeedTest {
 protected:
  void SetUp() override {
    StartFeed();
    config_.chartHost = Host();
    config_.connectRetries = 0;
  }
  std::string Download(int32_t code, const ChartRange& range, int update = 0, int keep = 0,
                       int32_t market = 1) {
    return DownloadChartHistory(config_, folder_, records_, volumes_, code, market, range, update, keep);
  }
  int HistoryRequests() const {
    int n = 0;
    for (const std::string& r : feed_->Requests()) n += r.starts_with("/t?") ? 1 : 0;
    return n;
  }
  std::string PriceFile(int32_t code) const { return ReadBytes(PriceFilePath(folder_, code)); }
  std::string VolumeFile(int32_t code) const { return ReadBytes(VolumeFilePath(folder_, code)); }

  NetConfig config_;
  test::TempDir data_;
  DataFolder folder_{data_.path()};
  std::vector<ChartRecord> records_ = std::vector<ChartRecord>(kMaxChartRecords);
  std::vector<VolumeRecord> volumes_ = std::vector<VolumeRecord>(kMaxChartRecords);
};

constexpr ChartRange kAutumn2003{2003, 1, 1, 2003, 12, 31};

TEST_F(ChartHistoryTest, PagesOf50RowsAreMergedOldestFirstIntoByteExactFiles) {
  // 60 days: the first page holds 50 rows and the "次の" link, the second the last 10 and no link.
  std::string csv = "Date,Open,High,Low,Close,Volume,Adj Close\n";
  const auto days = WeekdaysUpTo20031205(60);
  for (size_t i = 0; i + 1 < days.size(); ++i) csv += days[i] + ",1000,1010,990,1005,5000,502\n";
  csv += "2003-12-05,3500,3550,3480,3520,1234000,1760\n";
  WriteCsv(7203, csv);

  ASSERT_EQ(Download(7203, kAutumn2003), "OK");
  EXPECT_EQ(HistoryRequests(), 2);
  const std::string prices = PriceFile(7203);
  const std::string vols = VolumeFile(7203);
  ASSERT_EQ(prices.size(), 60u * 28);
  ASSERT_EQ(vols.size(), 60u * 24);
  // The newest day is the last record: 2003-12-05 3500/3550/3480/3520, 1,234,000 shares, factor 1760/3520.
  const std::string lastPrice(
      "\xD3\x07\0\0\x0C\0\0\0\x05\0\0\0\xAC\x0D\0\0\xDE\x0D\0\0\x98\x0D\0\0\xC0\x0D\0\0", 28);
  const std::string lastVolume("\x50\xD4\x12\0\0\0\0\0\0\0\0\0\0\0\xE0\x3F\0\0\0\0\0\0\0\0", 24);
  EXPECT_EQ(prices.substr(59 * 28), lastPrice);
  EXPECT_EQ(vols.substr(59 * 24), lastVolume);
  // The oldest day comes first; thousands separators and bold tags are gone from its numbers.
  EXPECT_EQ(records_[0].close, 1005);
  EXPECT_EQ(days[0], std::to_string(records_[0].year) + "-" + (records_[0].month < 10 ? "0" : "") +
                         std::to_string(records_[0].month) + "-" + (records_[0].day < 10 ? "0" : "") +
                         std::to_string(records_[0].day));
  EXPECT_DOUBLE_EQ(volumes_[0].factor, 502.0 / 1005.0);

  // Exactly 50 rows fit one page: no second request.
  WriteCsv(7203, csv.substr(0, csv.find(days[10])));  // header + days 0..9
  std::string fifty = "Date,Open,High,Low,Close,Volume,Adj Close\n";
  for (int i = 0; i < 50; ++i) fifty += days[10 + i] + ",1,1,1,1,1,1\n";
  WriteCsv(7203, fifty);
  feed_->ClearRequests();
  ASSERT_EQ(Download(7203, kAutumn2003), "OK");
  EXPECT_EQ(HistoryRequests(), 1);
  EXPECT_EQ(PriceFile(7203).size(), 50u * 28);
}

TEST_F(ChartHistoryTest, IndexRowsHaveFourPricesVolumeOneAndFactorOne) {
  WriteCsv(1020, "2003-12-04,1000.50,1010.25,990.75,1005.00\n2003-12-05,1005,1020,1001,1019.99\n");
  ASSERT_EQ(Download(1020, kAutumn2003), "OK");
  const auto requests = feed_->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "/t?c=2003&a=1&b=1&f=2003&d=12&e=31&g=d&x=.csv&y=0&s=998407&z=998407");
  EXPECT_EQ(records_[1].close, 1019);
  EXPECT_EQ(records_[1].open, 1005);
  EXPECT_EQ(records_[0].high, 1010);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(volumes_[i].volume, 1);
    EXPECT_EQ(volumes_[i].factor, 1.0);
  }
}

TEST_F(ChartHistoryTest, SymbolsOfTheOtherIndicesAndOfHercules) {
  WriteCsv(1010, "2003-12-05,1,1,1,1\n");
  WriteCsv(1030, "2003-12-05,1,1,1,1\n");
  WriteCsv(2121, "2003-12-05,1,1,1,1,1,1\n");
  ASSERT_EQ(Download(1010, kAutumn2003), "OK");
  ASSERT_EQ(Download(1030, kAutumn2003), "OK");
  ASSERT_EQ(Download(2121, kAutumn2003, 0, 0, kMarketHercules), "OK");
  const auto requests = feed_->Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_TRUE(requests[0].ends_with("&s=998405&z=998405"));
  EXPECT_TRUE(requests[1].ends_with("&s=23337&z=23337"));
  EXPECT_TRUE(requests[2].ends_with("&s=2121.j&z=2121.j"));
}

TEST_F(ChartHistoryTest, UpdateKeepsTheStoredDaysBeforeKeep) {
  // 100 stored days; the last stored day (index 99) is downloaded again with two newer ones.
  const auto days = WeekdaysUpTo20031205(102);
  std::vector<ChartRecord> stored(100);
  std::vector<VolumeRecord> storedVolumes(100);
  for (int i = 0; i < 100; ++i) {
    stored[i] = {2003, 1, 1 + i % 28, 100 + i, 100 + i, 100 + i, 100 + i};
    storedVolumes[i].volume = i;
  }
  stored[99] = {LeadingIntOf(days[99], 0), LeadingIntOf(days[99], 5), LeadingIntOf(days[99], 8), 1, 1, 1, 1};
  ASSERT_EQ(WriteChart(folder_, stored, 7203), 1);
  ASSERT_EQ(WriteVolumes(folder_, storedVolumes, 7203), 1);
  const std::string before = PriceFile(7203);
  std::copy(stored.begin(), stored.end(), records_.begin());
  std::copy(storedVolumes.begin(), storedVolumes.end(), volumes_.begin());

  WriteCsv(7203, days[99] + ",500,500,500,500,10,500\n" + days[100] + ",600,600,600,600,20,600\n" +
                     days[101] + ",700,700,700,700,30,700\n");
  ASSERT_EQ(Download(7203, {2003, 12, 3, 2003, 12, 5}, 1, 99), "OK");
  const std::string after = PriceFile(7203);
  ASSERT_EQ(after.size(), 102u * 28);
  ASSERT_EQ(VolumeFile(7203).size(), 102u * 24);
  EXPECT_EQ(after.substr(0, 99 * 28), before.substr(0, 99 * 28));
  EXPECT_EQ(records_[99].close, 500);  // the newest-but-two downloaded day replaced the last stored one
  EXPECT_EQ(records_[101].close, 700);
  EXPECT_EQ(volumes_[100].volume, 20);
}

TEST_F(ChartHistoryTest, NoDataErrorsAndStopLeaveTheFilesAsTheyWere) {
  WriteCsv(7203, "2003-12-05,1,1,1,1,1,1\n");
  ASSERT_EQ(Download(7203, kAutumn2003), "OK");
  const std::string prices = PriceFile(7203), vols = VolumeFile(7203);

  // Unknown symbol and an empty range: the "のデータはありません。" page.
  EXPECT_EQ(Download(9999, kAutumn2003), "");
  EXPECT_EQ(Download(7203, {1990, 1, 1, 1990, 12, 31}), "");
  EXPECT_EQ(PriceFile(9999), "");
  // A status error holds no rows.
  feed::FeedFaults error;
  error.status = 500;
  feed_->SetFaults(error);
  EXPECT_EQ(Download(7203, kAutumn2003), "ERROR");
  // Garbled pages never crash the parser; whatever it makes of them is "OK", "ERROR" or "".
  feed::FeedFaults garbled;
  garbled.garble = true;
  feed_->SetFaults(garbled);
  const std::string g = Download(7204, kAutumn2003);
  EXPECT_TRUE(g == "OK" || g == "ERROR" || g == "") << g;
  feed_->SetFaults({});
  // A stop requested before the first page: nothing is fetched.
  std::stop_source stop;
  stop.request_stop();
  feed_->ClearRequests();
  EXPECT_EQ(DownloadChartHistory(config_, folder_, records_, volumes_, 7203, 1, kAutumn2003, 0, 0,
                                 stop.get_token()),
            "");
  EXPECT_EQ(HistoryRequests(), 0);
  // No service at all.
  feed_->Stop();
  EXPECT_EQ(Download(7203, kAutumn2003), "");
  EXPECT_EQ(PriceFile(7203), prices);
  EXPECT_EQ(VolumeFile(7203), vols);
}

TEST_F(ChartHistoryTest, MissingClosesGetFactorOne) {
  WriteCsv(7203, "2003-12-04,100,110,90,,5000,50\n2003-12-05,100,110,90,100,5000,\n");
  ASSERT_EQ(Download(7203, kAutumn2003), "OK");
  EXPECT_EQ(records_[0].close, 0);
  EXPECT_EQ(volumes_[0].factor, 1.0);
  EXPECT_EQ(volumes_[1].factor, 1.0);
}

TEST_F(ChartHistoryTest, MoreThan12000DaysKeepTheNewest12000) {
  std::string csv;
  const int total = static_cast<int>(kMaxChartRecords) + 30;
  // One row per calendar day from 1960 on; dates need not be weekdays for the feed.
  int n = 0;
  for (int y = 1960; n < total; ++y)
    for (int m = 1; m <= 12 && n < total; ++m)
      for (int d = 1; d <= 28 && n < total; ++d, ++n) {
        char line[128];
        std::snprintf(line, sizeof line, "%04d-%02d-%02d,%d,%d,%d,%d,1,%d\n", y, m, d, n, n, n, n, n);
        csv += line;
      }
  WriteCsv(7203, csv);
  ASSERT_EQ(Download(7203, {1960, 1, 1, 2100, 12, 31}), "OK");
  const std::string prices = PriceFile(7203);
  ASSERT_EQ(prices.size(), kMaxChartRecords * 28);
  EXPECT_EQ(records_[0].close, 30);
  EXPECT_EQ(records_[kMaxChartRecords - 1].close, total - 1);
  EXPECT_EQ(HistoryRequests(), static_cast<int>(kMaxChartRecords / 50));
}

}  // namespace
}  // namespace sorano
