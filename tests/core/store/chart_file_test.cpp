#include "core/store/chart_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <vector>

#include "core/fs/file_io.h"
#include "store_test_util.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using test::Hex;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

ChartRecord Day(int y, int m, int d, int open, int high, int low, int close) {
  return ChartRecord{y, m, d, open, high, low, close};
}

VolumeRecord Vol(int32_t volume, double factor = 1.0) {
  VolumeRecord v;
  v.volume = volume;
  v.factor = factor;
  return v;
}

// Caller-side buffers of the size every reader allocates.
struct Buffers {
  std::vector<ChartRecord> records = std::vector<ChartRecord>(kMaxChartRecords);
  std::vector<VolumeRecord> volumes = std::vector<VolumeRecord>(kMaxChartRecords);
  int Read(const DataFolder& f, int32_t code, int period, int adjust) {
    return ReadChart(f, records, volumes, code, period, adjust);
  }
};

struct ChartFiles : ::testing::Test {
  TempDir dir;
  DataFolder folder{dir.path()};
  void Write(int32_t code, const std::vector<ChartRecord>& r, const std::vector<VolumeRecord>& v) {
    ASSERT_EQ(WriteChart(folder, r, code), 1);
    ASSERT_EQ(WriteVolumes(folder, v, code), 1);
  }
};

TEST_F(ChartFiles, WritesExactBytesIntoNewFoldersAndReadsThemBack) {
  // The data folder itself does not exist yet: the first write creates data/ and both sub-folders.
  DataFolder fresh(dir / "new/");
  std::vector<ChartRecord> r = {Day(2003, 12, 5, 100, 110, 90, 105), Day(2003, 12, 8, -1, 2147483647, 0, 7)};
  std::vector<VolumeRecord> v = {Vol(1000, 0.5), Vol(-2, 1.0)};
  ASSERT_EQ(WriteChart(fresh, r, 7203), 1);
  ASSERT_EQ(WriteVolumes(fresh, v, 7203), 1);

  EXPECT_EQ(ReadBytes(dir / "new/data/chdata_d/7203.dat"),
            Hex("d3070000 0c000000 05000000 64000000 6e000000 5a000000 69000000"
                "d3070000 0c000000 08000000 ffffffff ffffff7f 00000000 07000000"));
  EXPECT_EQ(ReadBytes(dir / "new/data/chdata_da/7203.dat"),
            Hex("e8030000 00000000 000000000000e03f 0000000000000000"
                "feffffff 00000000 000000000000f03f 0000000000000000"));

  Buffers b;
  ASSERT_EQ(b.Read(fresh, 7203, kChartDaily, 0), 2);
  EXPECT_EQ(std::memcmp(b.records.data(), r.data(), 2 * sizeof(ChartRecord)), 0);
  EXPECT_EQ(b.volumes[0].volume, 1000);
  EXPECT_EQ(b.volumes[0].factor, 0.5);
  EXPECT_EQ(b.volumes[1].volume, -2);

  // Rewriting is whole: a shorter history leaves no trace of the longer one, and no temporary file.
  ASSERT_EQ(WriteChart(fresh, std::span(r).first(1), 7203), 1);
  EXPECT_EQ(ReadBytes(dir / "new/data/chdata_d/7203.dat").size(), 28u);
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir / "new/data/chdata_d"))
    files += e.is_regular_file();
  EXPECT_EQ(files, 1u);
}

TEST_F(ChartFiles, ReadKeepsUnusedBytesOfVolumeRecords) {
  WriteBytes(dir / "data/chdata_d/1.dat",
             Hex("d3070000 01000000 05000000 01000000 02000000 03000000 04000000"));
  const std::string vol = Hex("05000000 aabbccdd 000000000000f03f 0102030405060708");
  WriteBytes(dir / "data/chdata_da/1.dat", vol);
  Buffers b;
  ASSERT_EQ(b.Read(folder, 1, kChartDaily, 1), 1);
  ASSERT_EQ(WriteVolumes(folder, std::span(b.volumes).first(1), 1), 1);
  EXPECT_EQ(ReadBytes(dir / "data/chdata_da/1.dat"), vol);
}

TEST_F(ChartFiles, WeeklyBarsRunSundayToSaturday) {
  // Mon 2003-12-01 .. Fri 12-05 make one bar; Mon 12-08 starts the next.
  Write(9984,
        {Day(2003, 12, 1, 100, 120, 95, 110), Day(2003, 12, 2, 110, 130, 100, 120),
         Day(2003, 12, 3, 120, 125, 80, 90), Day(2003, 12, 4, 90, 100, 85, 95),
         Day(2003, 12, 5, 95, 105, 90, 101), Day(2003, 12, 8, 101, 111, 99, 108)},
        {Vol(10, 1.0), Vol(20, 1.0), Vol(30, 1.0), Vol(40, 1.0), Vol(50, 0.75), Vol(60, 1.0)});
  Buffers b;
  ASSERT_EQ(b.Read(folder, 9984, kChartWeekly, 0), 2);
  const ChartRecord& w = b.records[0];
  EXPECT_EQ(w.year, 2003);
  EXPECT_EQ(w.month, 12);
  EXPECT_EQ(w.day, 1);  // the date of the bar's first day
  EXPECT_EQ(w.open, 100);
  EXPECT_EQ(w.high, 130);
  EXPECT_EQ(w.low, 80);
  EXPECT_EQ(w.close, 101);
  EXPECT_EQ(b.volumes[0].volume, 150);
  EXPECT_EQ(b.volumes[0].factor, 0.75);  // the factor of the bar's last day
  EXPECT_EQ(b.records[1].day, 8);
  EXPECT_EQ(b.records[1].open, 101);
  EXPECT_EQ(b.records[1].close, 108);
  EXPECT_EQ(b.volumes[1].volume, 60);

  // Friday and the following Monday alone: two bars.
  Write(9985, {Day(2003, 12, 5, 1, 1, 1, 1), Day(2003, 12, 8, 2, 2, 2, 2)}, {Vol(1), Vol(2)});
  EXPECT_EQ(b.Read(folder, 9985, kChartWeekly, 0), 2);
}

TEST(ChartWeekNumber, CountsDaysFrom1900WithTheGregorianLeapRule) {
  // Each expected value is (date - 1899-12-31 in days) / 7; every pair straddles a Saturday/Sunday.
  struct Case {
    int y, m, d;
    int64_t week;
  } cases[] = {
      {1900, 1, 1, 0},     {1900, 1, 6, 0},     {1900, 1, 7, 1},                          // Mon, Sat, Sun
      {1900, 3, 3, 8},     {1900, 3, 4, 9},                                               // 1900: no Feb 29
      {2000, 2, 26, 5225}, {2000, 2, 27, 5226}, {2000, 2, 29, 5226}, {2000, 3, 4, 5226},  // 2000 is leap
      {2000, 3, 5, 5227},  {2004, 2, 28, 5434}, {2004, 2, 29, 5435}, {2004, 3, 6, 5435},  // Feb 29 a Sunday
      {2004, 3, 7, 5436},  {2100, 3, 6, 10444}, {2100, 3, 7, 10445},                      // 2100: no Feb 29
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChartWeekNumber(c.y, c.m, c.d), c.week) << c.y << "-" << c.m << "-" << c.d;

  // Garbage dates give a number, not a hang or an out-of-range month table read.
  EXPECT_EQ(ChartWeekNumber(1800, 1, 7), 1);
  EXPECT_EQ(ChartWeekNumber(2003, 99, 0), ChartWeekNumber(2004, 1, 0));
  EXPECT_GT(ChartWeekNumber(std::numeric_limits<int32_t>::max(), 1, 1), 0);
  // Found by fuzzing: month - 1 overflowed for the smallest month a file can hold.
  EXPECT_EQ(ChartWeekNumber(2003, std::numeric_limits<int32_t>::min(), 7), ChartWeekNumber(2003, 1, 7));
}

TEST_F(ChartFiles, CraftedDatesAreGroupedWithoutOverflow) {
  // Dates at the int32 limits (UBSan reports any signed overflow in the week or month arithmetic).
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
  Write(1302,
        {Day(2003, kMin, 1, 1, 1, 1, 1), Day(2003, kMax, kMin, 2, 2, 2, 2), Day(kMin, 1, kMax, 3, 3, 3, 3),
         Day(kMax, kMin, kMax, 4, 4, 4, 4), Day(2003, 12, 5, 5, 5, 5, 5)},
        {Vol(1), Vol(2), Vol(3), Vol(4), Vol(5)});
  Buffers b;
  for (int period : {kChartWeekly, kChartMonthly}) {
    const int n = b.Read(folder, 1302, period, 1);
    EXPECT_GE(n, 1);
    EXPECT_LE(n, 5);
  }
}

TEST_F(ChartFiles, MonthlyBarsHaveDayZeroAndSpanTheirMonth) {
  Write(1301,
        {Day(2004, 1, 30, 100, 110, 90, 105), Day(2004, 2, 2, 106, 140, 100, 130),
         Day(2004, 2, 27, 130, 135, 70, 80), Day(2004, 2, 29, 80, 90, 75, 85),
         Day(2004, 3, 1, 85, 95, 84, 90), Day(2005, 3, 1, 1, 2, 1, 2)},
        {Vol(1), Vol(2), Vol(3), Vol(4, 0.5), Vol(5), Vol(6)});
  Buffers b;
  ASSERT_EQ(b.Read(folder, 1301, kChartMonthly, 0), 4);
  const int months[4][2] = {{2004, 1}, {2004, 2}, {2004, 3}, {2005, 3}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(b.records[i].year, months[i][0]);
    EXPECT_EQ(b.records[i].month, months[i][1]);
    EXPECT_EQ(b.records[i].day, 0);
  }
  const ChartRecord& feb = b.records[1];
  EXPECT_EQ(feb.open, 106);
  EXPECT_EQ(feb.high, 140);
  EXPECT_EQ(feb.low, 70);
  EXPECT_EQ(feb.close, 85);
  EXPECT_EQ(b.volumes[1].volume, 9);
  EXPECT_EQ(b.volumes[1].factor, 0.5);
  EXPECT_EQ(b.volumes[0].volume, 1);
}

TEST_F(ChartFiles, AdjustsEveryDayButTheNewest) {
  Write(8001, {Day(2005, 1, 4, 101, 201, 51, 151), Day(2005, 1, 5, 99, 199, 49, 149)},
        {Vol(1001, 0.5), Vol(777, 0.5)});
  Buffers b;
  ASSERT_EQ(b.Read(folder, 8001, kChartDaily, 1), 2);
  EXPECT_EQ(b.records[0].open, 50);
  EXPECT_EQ(b.records[0].high, 100);
  EXPECT_EQ(b.records[0].low, 25);
  EXPECT_EQ(b.records[0].close, 75);
  EXPECT_EQ(b.volumes[0].volume, 500);
  EXPECT_EQ(b.records[1].open, 99);  // newest: never adjusted, even with a factor of 0.5
  EXPECT_EQ(b.records[1].close, 149);
  EXPECT_EQ(b.volumes[1].volume, 777);

  ASSERT_EQ(b.Read(folder, 8001, kChartDaily, 0), 2);
  EXPECT_EQ(b.records[0].open, 101);
  EXPECT_EQ(b.volumes[0].volume, 1001);

  // Negative prices truncate toward zero; a product beyond int32 saturates instead of overflowing, and
  // a factor that is not a number leaves the day as stored.
  Write(8002,
        {Day(2005, 1, 4, -3, 2000000000, 0, 1), Day(2005, 1, 5, 7, 7, 7, 7), Day(2005, 1, 6, 1, 1, 1, 1)},
        {Vol(2000000000, -1.5), Vol(5, std::numeric_limits<double>::quiet_NaN()), Vol(1)});
  ASSERT_EQ(b.Read(folder, 8002, kChartDaily, 1), 3);
  EXPECT_EQ(b.records[0].open, 4);
  EXPECT_EQ(b.records[0].high, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(b.volumes[0].volume, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(b.records[1].open, 7);
  EXPECT_EQ(b.volumes[1].volume, 5);

  // Weekly volumes that add up beyond int32 saturate too.
  Write(8003, {Day(2005, 1, 4, 1, 1, 1, 1), Day(2005, 1, 5, 1, 1, 1, 1)}, {Vol(2000000000), Vol(2000000000)});
  ASSERT_EQ(b.Read(folder, 8003, kChartWeekly, 0), 1);
  EXPECT_EQ(b.volumes[0].volume, std::numeric_limits<int32_t>::max());
}

TEST_F(ChartFiles, MissingVolumeFileDeliversStoredPricesAndLeavesTheBuffer) {
  ASSERT_EQ(
      WriteChart(folder, std::vector{Day(2005, 1, 4, 100, 100, 100, 100), Day(2005, 1, 5, 1, 1, 1, 1)}, 42),
      1);
  Buffers b;
  b.volumes[0] = Vol(-99, 0.5);
  ASSERT_EQ(b.Read(folder, 42, kChartDaily, 1), 2);
  EXPECT_EQ(b.records[0].open, 100);
  EXPECT_EQ(b.volumes[0].volume, -99);
  EXPECT_EQ(b.volumes[0].factor, 0.5);

  // A volume file shorter than the price file: the days it lacks carry no volume and no factor.
  WriteBytes(dir / "data/chdata_da/42.dat", Hex("0a000000 00000000 000000000000e03f 0000000000000000"));
  b.volumes[1] = Vol(-99, 0.25);
  ASSERT_EQ(b.Read(folder, 42, kChartDaily, 1), 2);
  EXPECT_EQ(b.records[0].open, 50);
  EXPECT_EQ(b.volumes[1].volume, 0);
  EXPECT_EQ(b.volumes[1].factor, 1.0);
}

TEST_F(ChartFiles, EmptyMissingAndOddlySizedFiles) {
  Buffers b;
  b.volumes[0] = Vol(-7);
  EXPECT_EQ(b.Read(folder, 1111, kChartDaily, 0), -1);  // no price file: volume file never read
  WriteBytes(dir / "data/chdata_da/1111.dat", Hex("01000000 00000000 000000000000f03f 0000000000000000"));
  EXPECT_EQ(b.Read(folder, 1111, kChartDaily, 1), -1);
  EXPECT_EQ(b.volumes[0].volume, -7);

  WriteBytes(dir / "data/chdata_d/1111.dat", "");
  for (int period : {kChartDaily, kChartWeekly, kChartMonthly}) EXPECT_EQ(b.Read(folder, 1111, period, 1), 0);

  // A truncated last record is ignored.
  std::string two = Hex("d3070000 01000000 05000000 01000000 02000000 03000000 04000000");
  two += two;
  WriteBytes(dir / "data/chdata_d/1112.dat", two + std::string(27, '\x01'));
  WriteBytes(dir / "data/chdata_da/1112.dat", std::string(24 + 23, '\0'));
  EXPECT_EQ(b.Read(folder, 1112, kChartDaily, 0), 2);
  EXPECT_EQ(b.records[1].close, 4);

  // Codes outside the brand table are refused before any path is built.
  EXPECT_EQ(b.Read(folder, -1, kChartDaily, 0), -1);
  EXPECT_EQ(b.Read(folder, 10000, kChartDaily, 0), -1);
  EXPECT_EQ(WriteChart(folder, std::span(b.records).first(1), 10000), 0);
  EXPECT_EQ(WriteVolumes(folder, std::span(b.volumes).first(1), -5), 0);
}

TEST_F(ChartFiles, ReadsAtMostTwelveThousandRecordsAndNoMoreThanTheBuffersHold) {
  std::vector<ChartRecord> r(kMaxChartRecords + 1);
  std::vector<VolumeRecord> v(kMaxChartRecords + 1);
  for (size_t i = 0; i < r.size(); ++i) r[i] = Day(1980, 1, 1, int(i), int(i), int(i), int(i));
  Write(5555, r, v);
  Buffers b;
  ASSERT_EQ(b.Read(folder, 5555, kChartDaily, 0), 12000);
  EXPECT_EQ(b.records[11999].close, 11999);  // the oldest 12000

  std::vector<ChartRecord> small(5);
  std::vector<VolumeRecord> smallVol(3);
  EXPECT_EQ(ReadChart(folder, small, smallVol, 5555, kChartDaily, 1), 3);
  EXPECT_EQ(ReadChart(folder, small, std::span<VolumeRecord>(), 5555, kChartDaily, 1), 0);
}

TEST_F(ChartFiles, FailedWriteReportsZeroAndKeepsTheOldFile) {
  std::vector<ChartRecord> r = {Day(2005, 1, 4, 1, 1, 1, 1)};
  ASSERT_EQ(WriteChart(folder, r, 77), 1);
  const std::string before = ReadBytes(dir / "data/chdata_d/77.dat");
  // A data folder that is a plain file cannot hold the chart folders.
  WriteBytes(dir / "blocked/data", "x");
  EXPECT_EQ(WriteChart(DataFolder(dir / "blocked/"), r, 77), 0);
  EXPECT_EQ(WriteVolumes(DataFolder(dir / "blocked/"), std::vector<VolumeRecord>(1), 77), 0);
  EXPECT_EQ(ReadBytes(dir / "data/chdata_d/77.dat"), before);
}

// A process that no longer runs: above the largest process number Linux hands out.
constexpr const char* kDeadPid = "4194305";

TEST_F(ChartFiles, APairRewriteInterruptedAtAnyStepIsOldOrNewAfterRecovery) {
  const std::vector<ChartRecord> oldDays = {Day(2005, 1, 4, 1, 1, 1, 1), Day(2005, 1, 5, 2, 2, 2, 2)};
  const std::vector<ChartRecord> newDays = {oldDays[0], oldDays[1], Day(2005, 1, 6, 3, 3, 3, 3)};
  const std::string p = dir / "data/chdata_d/7203.dat", v = dir / "data/chdata_da/7203.dat";
  const std::string oldP(reinterpret_cast<const char*>(oldDays.data()), 2 * sizeof(ChartRecord));
  const std::string newP(reinterpret_cast<const char*>(newDays.data()), 3 * sizeof(ChartRecord));
  const std::string oldV(2 * sizeof(VolumeRecord), '\1'), newV(3 * sizeof(VolumeRecord), '\2');
  // What a kill leaves at each step of WriteChartFiles, and the pair that must stand after recovery.
  const struct {
    const char* step;
    std::vector<std::pair<std::string, std::string>> files;  // written over the old pair
    bool isNew;
  } steps[] = {
      {"writing the volumes", {{v + ".new.tmp" + kDeadPid + "-a1B2c3", newV.substr(0, 5)}}, false},
      {"volumes staged", {{v + ".new", newV}}, false},
      {"writing the prices",
       {{v + ".new", newV}, {p + ".new.tmp" + kDeadPid + "-x9Y8z7", newP.substr(0, 30)}},
       false},
      {"both staged", {{v + ".new", newV}, {p + ".new", newP}}, true},
      {"volumes moved in", {{v, newV}, {p + ".new", newP}}, true},
      {"done", {{v, newV}, {p, newP}}, true},
  };
  for (const auto& s : steps) {
    std::filesystem::remove_all(dir / "data");
    WriteBytes(p, oldP);
    WriteBytes(v, oldV);
    for (const auto& [path, bytes] : s.files) WriteBytes(path, bytes);
    RecoverChartFiles(folder);
    EXPECT_EQ(ReadBytes(p), s.isNew ? newP : oldP) << s.step;
    EXPECT_EQ(ReadBytes(v), s.isNew ? newV : oldV) << s.step;
    for (const char* sub : {"data/chdata_d", "data/chdata_da"})
      for (const auto& e : std::filesystem::directory_iterator(dir / sub))
        EXPECT_EQ(e.path().filename(), "7203.dat") << s.step;
  }
}

TEST_F(ChartFiles, APairRewriteOnAFullDiskKeepsTheOldPairAndLeavesNothing) {
  const std::vector<ChartRecord> oldDays = {Day(2005, 1, 4, 1, 1, 1, 1)};
  ASSERT_EQ(WriteChartFiles(folder, oldDays, std::vector<VolumeRecord>(1), 7203), 1);
  const std::string p = ReadBytes(dir / "data/chdata_d/7203.dat"),
                    v = ReadBytes(dir / "data/chdata_da/7203.dat");
  // Room for the volumes (2400 bytes), not for the prices (2800): the rewrite fails after its first file.
  const std::vector<ChartRecord> many(100, oldDays[0]);
  {
    test::ScopedFileSizeLimit full(2500);
    EXPECT_EQ(WriteChartFiles(folder, many, std::vector<VolumeRecord>(100), 7203), 0);
  }
  EXPECT_EQ(ReadBytes(dir / "data/chdata_d/7203.dat"), p);
  EXPECT_EQ(ReadBytes(dir / "data/chdata_da/7203.dat"), v);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "data/chdata_d"), {}), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "data/chdata_da"), {}), 1);
  EXPECT_EQ(WriteChartFiles(folder, many, std::vector<VolumeRecord>(100), 7203), 1);
  EXPECT_EQ(ReadBytes(dir / "data/chdata_d/7203.dat").size(), 2800u);
}

TEST_F(ChartFiles, WriteChartDaysLeavesBothFilesAsTheyWereWhenOneFails) {
  ChartDays days;
  days.records = {Day(2005, 1, 4, 1, 1, 1, 1), Day(2005, 1, 5, 2, 2, 2, 2)};
  days.volumes = {Vol(10), Vol(20)};
  ASSERT_EQ(WriteChartDays(folder, days, 77), 1);
  EXPECT_EQ(ReadBytes(dir / "data/chdata_d/77.dat").size(), 2 * sizeof(ChartRecord));
  const std::string prices = ReadBytes(dir / "data/chdata_d/77.dat");

  // A folder where the volume file should be: the volume write fails after the price write.
  std::filesystem::remove(dir / "data/chdata_da/77.dat");
  std::filesystem::create_directory(dir / "data/chdata_da/77.dat");
  days.records.push_back(Day(2005, 1, 6, 3, 3, 3, 3));
  days.volumes.push_back(Vol(30));
  EXPECT_EQ(WriteChartDays(folder, days, 77), 0);
  EXPECT_EQ(ReadBytes(dir / "data/chdata_d/77.dat"), prices);
  // A brand without files gets none.
  std::filesystem::create_directory(dir / "data/chdata_da/78.dat");
  EXPECT_EQ(WriteChartDays(folder, days, 78), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "data/chdata_d/78.dat"));

  days.volumes.pop_back();  // records and volumes of different lengths are refused
  EXPECT_EQ(WriteChartDays(folder, days, 79), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "data/chdata_d/79.dat"));
}

}  // namespace
}  // namespace sorano
