#include "core/chart/price_series_load.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/chart/comparison_series.h"
#include "core/settings/settings_store.h"
#include "core/store/brand_record.h"
#include "core/store/chart_file.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

TEST(PriceSeriesLoadTest, ReadsBothFilesOrReportsNoFile) {
  test::TempDir dir;
  const DataFolder folder(dir.path());
  PriceSeries series;
  series.Assign(std::vector<PriceBar>(3));
  EXPECT_EQ(LoadPriceSeries(series, folder, 7203, kPeriodDaily, 0), -1);
  EXPECT_EQ(series.count(), -1);
  EXPECT_FALSE(series.HasFile());

  const std::vector<ChartRecord> days = {{2003, 12, 4, 100, 120, 90, 110}, {2003, 12, 5, 111, 130, 101, 125}};
  std::vector<VolumeRecord> volumes(2);
  volumes[0].volume = 5000;
  volumes[1].volume = 7000;
  volumes[1].factor = 0.5;
  ASSERT_EQ(WriteChart(folder, days, 7203), 1);
  ASSERT_EQ(WriteVolumes(folder, volumes, 7203), 1);
  ASSERT_EQ(LoadPriceSeries(series, folder, 7203, kPeriodDaily, 0), 2);
  EXPECT_EQ(series[1].year, 2003);
  EXPECT_EQ(series[1].day, 5);
  EXPECT_EQ(series[1].open, 111);
  EXPECT_EQ(series[1].high, 130);
  EXPECT_EQ(series[1].low, 101);
  EXPECT_EQ(series[1].close, 125);
  EXPECT_EQ(series[1].volume, 7000);
  EXPECT_EQ(series[1].factor, 0.5);
  EXPECT_EQ(series[0].volume, 5000);
}

TEST(PriceSeriesLoadTest, SettingsViewMatchesTheStoreAndItsInitialValues) {
  auto store = std::make_unique<SettingsStore>();
  const ChartSettings initial;
  ChartSettings c = ChartSettingsFrom(*store);
  // The view's own defaults are the store's initial values.
  EXPECT_EQ(c.check_chsize, initial.check_chsize);
  EXPECT_EQ(c.check_sokup, initial.check_sokup);
  EXPECT_EQ(c.para_shi_sma03, initial.para_shi_sma03);
  EXPECT_EQ(c.para_shi_itimoku03, initial.para_shi_itimoku03);
  EXPECT_EQ(c.check_shi_kagi, initial.check_shi_kagi);
  EXPECT_EQ(c.para_shi_zigzag, initial.para_shi_zigzag);
  EXPECT_EQ(c.color_chart, initial.color_chart);
  EXPECT_EQ(c.color_shisuu, initial.color_shisuu);
  EXPECT_EQ(c.check_line_m_x, initial.check_line_m_x);
  EXPECT_EQ(c.check_font_size, initial.check_font_size);
  store->check_shi_itimoku = 1;
  store->para_shi_sma01 = 7;
  store->check_sokup[12] = 1;
  store->runtime.base_line = 1;
  store->color_shisuu[19] = 0x123456;
  c = ChartSettingsFrom(*store, true);
  EXPECT_EQ(c.check_shi_itimoku, 1);
  EXPECT_EQ(c.para_shi_sma01, 7);
  EXPECT_EQ(c.check_sokup[12], 1);
  EXPECT_EQ(c.baseLines, 1);
  EXPECT_EQ(c.color_shisuu[19], 0x123456u);
  EXPECT_TRUE(c.monochrome);

  BrandRecord brand{};
  brand.bps = 812.5;
  brand.equityRatio = 42.0;
  brand.sharesIssued = 1000;
  const BaseLineInputs in = BaseLineInputsFrom(brand);
  EXPECT_EQ(in.bps, 812.5);
  EXPECT_EQ(in.equityRatio, 42.0);
  EXPECT_EQ(in.sharesIssued, 1000.0);
}

}  // namespace
}  // namespace sorano

namespace sorano {
namespace {

TEST(ComparisonSeriesSetTest, ReadOncePerBrandPeriodAndAdjustmentUntilForgottenOrRewritten) {
  test::TempDir dir;
  const DataFolder folder(dir.path());
  const auto write = [&](int days) {
    std::vector<ChartRecord> records;
    for (int d = 1; d <= days; ++d) records.push_back({2003, 12, d, 100, 100, 100, 100});
    ASSERT_EQ(WriteChart(folder, records, 1020), 1);
    ASSERT_EQ(WriteVolumes(folder, std::vector<VolumeRecord>(records.size()), 1020), 1);
  };
  write(2);
  ComparisonSeriesSet set;
  EXPECT_EQ(set.Get(0, folder, 0, kPeriodDaily, 0), nullptr);
  EXPECT_EQ(set.Get(ComparisonSeriesSet::kLineSlot + 1, folder, 1020, kPeriodDaily, 0), nullptr);
  EXPECT_EQ(set.Get(1, folder, 9999, kPeriodDaily, 0)->count(), -1);
  EXPECT_EQ(set.Get(0, folder, 1020, kPeriodDaily, 0)->count(), 2);
  // Kept while the file stands: a series changed in memory shows that no file was read.
  const_cast<PriceSeries*>(set.Get(0, folder, 1020, kPeriodDaily, 0))->SetCount(0);
  EXPECT_EQ(set.Get(0, folder, 1020, kPeriodDaily, 0)->count(), 0);
  set.Forget();
  EXPECT_EQ(set.Get(0, folder, 1020, kPeriodDaily, 0)->count(), 2);
  write(3);  // another process rewrote the files: read again
  EXPECT_EQ(set.Get(0, folder, 1020, kPeriodDaily, 0)->count(), 3);
  EXPECT_EQ(set.Get(0, folder, 1020, kPeriodWeekly, 0)->count(), 1);  // another period is read
  EXPECT_EQ(set.Get(2, folder, 1020, kPeriodDaily, 0)->count(), 3);   // another slot
  EXPECT_EQ(set.Get(ComparisonSeriesSet::kLineSlot, folder, 1020, kPeriodDaily, 0)->count(), 3);
  write(4);
  EXPECT_EQ(set.Get(ComparisonSeriesSet::kLineSlot, folder, 1020, kPeriodDaily, 0)->count(), 4);
}

}  // namespace
}  // namespace sorano
