#include <gtest/gtest.h>

#include <vector>

#include "core/net/chart_history.h"
#include "core/store/chart_file.h"
#include "feed_data.h"
#include "feed_fixture.h"

namespace sorano {
namespace {

TEST(FeedData, SyntheticHistoriesAreDeterministicWeekdaysWithSplits) {
  const feed::FeedData a("", "", 20041231), b("", "", 20041231);
  const auto h = a.History(7203);
  ASSERT_GT(h->size(), 5000u);
  EXPECT_EQ(h->front().date, 19830104);
  EXPECT_EQ(h->back().date, 20041230);  // the exchange is closed on 31 December
  const auto again = b.History(7203);
  ASSERT_EQ(again->size(), h->size());
  int splitBrands = 0;
  for (int32_t code = 1301; code <= 1330; ++code) {
    const auto days = a.History(code);
    bool split = false;
    for (size_t i = 0; i < days->size(); ++i) {
      const feed::FeedDay& d = (*days)[i];
      ASSERT_GE(feed::Weekday(d.date), 1) << d.date;
      ASSERT_LE(feed::Weekday(d.date), 5) << d.date;
      ASSERT_TRUE(d.low <= d.open && d.open <= d.high && d.low <= d.close && d.close <= d.high) << d.date;
      ASSERT_GT(d.volume, 0);
      ASSERT_LE(d.volume, 2000000000);
      split = split || d.adjClose * 10 < d.close * 9;
      if (i > 0) {
        ASSERT_LT((*days)[i - 1].date, d.date);
      }
    }
    EXPECT_EQ(days->back().adjClose, days->back().close);
    splitBrands += split ? 1 : 0;
  }
  EXPECT_GT(splitBrands, 5);
  for (size_t i = 0; i < h->size(); i += 97) {
    EXPECT_EQ((*h)[i].date, (*again)[i].date);
    EXPECT_EQ((*h)[i].close, (*again)[i].close);
  }
  // Without a brand list every code 1300..9999 exists under a generated name; others do not.
  EXPECT_TRUE(a.BrandForSymbol("1301").has_value());
  EXPECT_TRUE(a.BrandForSymbol("2121.j").has_value());
  EXPECT_TRUE(a.BrandForSymbol("998405").has_value());
  EXPECT_FALSE(a.BrandForSymbol("1010").has_value());
  EXPECT_FALSE(a.BrandForSymbol("1299").has_value());
  EXPECT_FALSE(a.BrandForSymbol("12a4").has_value());
  EXPECT_FALSE(a.BrandForSymbol("").has_value());
}

class FeedRoundTripTest : public test::FeedTest {};

TEST_F(FeedRoundTripTest, AWholeSyntheticHistoryArrivesAsTheFeedHoldsIt) {
  feed::FeedOptions options;
  options.today = 20041231;
  StartFeed(options, true);
  NetConfig config;
  config.chartHost = Host();
  test::TempDir data;
  std::vector<ChartRecord> records(kMaxChartRecords);
  std::vector<VolumeRecord> volumes(kMaxChartRecords);
  ASSERT_EQ(DownloadChartHistory(config, DataFolder(data.path()), records, volumes, 1332, 1,
                                 {1983, 1, 4, 2004, 12, 31}, 0, 0),
            "OK");
  const feed::FeedData source("", "", 20041231);
  const auto days = source.History(1332);
  std::vector<ChartRecord> read(kMaxChartRecords);
  std::vector<VolumeRecord> readVolumes(kMaxChartRecords);
  ASSERT_EQ(ReadChart(DataFolder(data.path()), read, readVolumes, 1332, kChartDaily, 0),
            static_cast<int>(days->size()));
  for (size_t i = 0; i < days->size(); ++i) {
    const feed::FeedDay& d = (*days)[i];
    const ChartRecord& r = read[i];
    ASSERT_EQ(r.year * 10000 + r.month * 100 + r.day, d.date);
    ASSERT_EQ(r.open, d.open);
    ASSERT_EQ(r.high, d.high);
    ASSERT_EQ(r.low, d.low);
    ASSERT_EQ(r.close, d.close);
    ASSERT_EQ(readVolumes[i].volume, d.volume);
    ASSERT_DOUBLE_EQ(readVolumes[i].factor, static_cast<double>(d.adjClose) / static_cast<double>(d.close));
  }
}

}  // namespace
}  // namespace sorano
