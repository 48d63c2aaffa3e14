#include "core/store/csv_import.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/store/chart_file.h"
#include "core/text/sjis.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using test::ReadBytes;
using test::WriteBytes;

struct StoredDay {
  ChartRecord r;
  int32_t volume;
  double factor;
  bool operator==(const StoredDay& o) const {
    return std::memcmp(&r, &o.r, sizeof r) == 0 && volume == o.volume && factor == o.factor;
  }
};

void PrintTo(const StoredDay& d, std::ostream* os) {
  *os << d.r.year << '-' << d.r.month << '-' << d.r.day << ' ' << d.r.open << '/' << d.r.high << '/'
      << d.r.low << '/' << d.r.close << " v" << d.volume << " f" << d.factor;
}

struct CsvImport : ::testing::Test {
  test::TempDir dir;
  DataFolder folder{dir.path()};
  const std::string csv = dir / "history.csv";

  CsvImportResult Import(std::string_view bytes, bool replace = false, int32_t code = 7203) {
    WriteBytes(csv, bytes);
    return ImportChartCsv(folder, code, csv, replace);
  }
  std::vector<StoredDay> Stored(int32_t code = 7203) {
    std::vector<ChartRecord> r(kMaxChartRecords);
    std::vector<VolumeRecord> v(kMaxChartRecords);
    const int n = ReadChart(folder, r, v, code, kChartDaily, 0);
    std::vector<StoredDay> out;
    for (int i = 0; i < n; ++i) out.push_back({r[i], v[i].volume, v[i].factor});
    return out;
  }
  void Store(const std::vector<StoredDay>& days, int32_t code = 7203) {
    ChartDays d;
    for (const StoredDay& s : days) {
      d.records.push_back(s.r);
      VolumeRecord v;
      v.volume = s.volume;
      v.factor = s.factor;
      d.volumes.push_back(v);
    }
    ASSERT_EQ(WriteChartDays(folder, d, code), 1);
  }
};

StoredDay D(int y, int m, int d, int o, int h, int l, int c, int32_t v = 0, double f = 1.0) {
  return {{y, m, d, o, h, l, c}, v, f};
}

// The same three days in the layouts brokers and data sites write.
const std::vector<StoredDay> kThreeDays = {D(2024, 1, 4, 100, 110, 95, 105, 1000),
                                           D(2024, 1, 5, 106, 1234, 104, 110, 2000),
                                           D(2024, 1, 9, 111, 1500, 108, 114, 1500000)};

TEST_F(CsvImport, ReadsTheCommonLayouts) {
  const std::string sjisHeader = Utf8ToSjis("日付,始値,高値,安値,終値,出来高(株)\r\n");
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"comma, English names, newest first, adjusted close equal to the close",
       "Date,Open,High,Low,Close,Adj Close,Volume\n"
       "2024-01-09,111.0,1500,108,114,114,1500000\n"
       "2024-01-05,106,1234,104,110,110,2000\n"
       "2024-01-04,100,110,95,105,105,1000\n"},
      {"semicolon, lower case, slashes, CRLF, no trailing line end",
       "date;open;high;low;close;volume\r\n"
       "2024/01/04;100;110;95;105;1000\r\n"
       "2024/01/05;106;1234;104;110;2000\r\n"
       "2024/01/09;111;1500;108;114;1500000"},
      {"tab, YYYYMMDD, extra columns and times",
       "Symbol\tDate\tOpen\tHigh\tLow\tClose\tVolume\n"
       "7203\t20240104\t100\t110\t95\t105\t1000\n"
       "7203\t20240105 00:00:00\t106\t1234\t104\t110\t2000\n"
       "7203\t20240109T15:00\t111\t1500\t108\t114\t1500000\n"},
      {"Shift_JIS header after a title line, quoted thousands, one-digit months, a day without trading",
       Utf8ToSjis("7203 トヨタ自動車\r\n") + sjisHeader +
           "\"2024/1/4\",\"100\",\"110\",\"95\",\"105\",\"1,000\"\r\n"
           "\"2024/1/5\",\"106\",\"1,234\",\"104\",\"110\",\"2,000\"\r\n"
           "\"2024/1/8\",\"---\",\"---\",\"---\",\"---\",\"0\"\r\n"
           "\r\n"
           "\"2024/1/9\",\"111\",\"1,500\",\"108\",\"114\",\"1,500,000\"\r\n"},
      {"UTF-8 with a byte-order mark, Japanese names with units and marks",
       "\xEF\xBB\xBF日付, 始値（円）, 高値, 安値, 終値, 出来高, 調整後終値*\n"
       "2024-01-04, 100, 110, 95, 105, 1000, 105\n"
       "2024-01-05, 106, 1234, 104, 110, 2000,\n"
       "2024-01-09, 111, 1500, 108, 113.6, 1500000, 113.6\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvImportResult r = Import(c.bytes, true);
    ASSERT_EQ(r.error, CsvImportError::kNone) << "line " << r.line << " '" << r.text << "'";
    EXPECT_EQ(Stored(), kThreeDays);
    EXPECT_EQ(r.days, 3);
    EXPECT_EQ(r.firstDate, 20240104);
    EXPECT_EQ(r.lastDate, 20240109);
  }
}

TEST_F(CsvImport, MergesLikeADownloadKeepingStoredDaysOutsideTheFilesSpan) {
  const std::vector<StoredDay> stored = {D(2024, 1, 4, 1, 1, 1, 1, 10), D(2024, 1, 5, 2, 2, 2, 2, 20),
                                         D(2024, 1, 9, 3, 3, 3, 3, 30), D(2024, 1, 10, 4, 4, 4, 4, 40),
                                         D(2024, 1, 11, 5, 5, 5, 5, 50)};
  const std::string header = "Date,Open,High,Low,Close,Volume\n";
  const struct {
    const char* name;
    std::string rows;
    bool replace;
    std::vector<StoredDay> expected;
    int64_t replaced;
  } cases[] = {
      {"the newest day replaced, later days appended",
       "2024-01-12,7,7,7,7,70\n2024-01-11,6,6,6,6,60\n",
       false,
       {stored[0], stored[1], stored[2], stored[3], D(2024, 1, 11, 6, 6, 6, 6, 60),
        D(2024, 1, 12, 7, 7, 7, 7, 70)},
       1},
      {"a span in the middle: the stored days inside it give way, those after it stay",
       "2024-01-05,8,8,8,8,80\n2024-01-08,9,9,9,9,90\n",
       false,
       {stored[0], D(2024, 1, 5, 8, 8, 8, 8, 80), D(2024, 1, 8, 9, 9, 9, 9, 90), stored[2], stored[3],
        stored[4]},
       1},
      {"older days in front of the stored history",
       "2023-12-28,9,9,9,9,90\n",
       false,
       {D(2023, 12, 28, 9, 9, 9, 9, 90), stored[0], stored[1], stored[2], stored[3], stored[4]},
       0},
      {"--replace starts from empty", "2024-01-12,7,7,7,7,70\n", true, {D(2024, 1, 12, 7, 7, 7, 7, 70)}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Store(stored);
    const CsvImportResult r = Import(header + c.rows, c.replace);
    ASSERT_EQ(r.error, CsvImportError::kNone);
    EXPECT_EQ(Stored(), c.expected);
    EXPECT_EQ(r.replacedDays, c.replaced);
    EXPECT_EQ(r.storedDays, static_cast<int64_t>(c.expected.size()));
  }
}

TEST_F(CsvImport, AdjustedCloseGivesTheSplitFactor) {
  // A 1:2 split after the second day: the days before it are worth half in today's shares.
  ASSERT_EQ(Import("Date,Open,High,Low,Close,Adj Close,Volume\n"
                   "2024-01-04,200,220,190,210,105,1000\n"
                   "2024-01-05,210,230,200,220,110,3000\n"
                   "2024-01-09,111,115,108,114,114,500\n"
                   "2024-01-10,114,116,110,112,,600\n")
                .error,
            CsvImportError::kNone);
  const std::vector<StoredDay> days = Stored();
  ASSERT_EQ(days.size(), 4u);
  EXPECT_EQ(days[0].factor, 0.5);
  EXPECT_EQ(days[1].factor, 0.5);
  EXPECT_EQ(days[2].factor, 1.0);
  EXPECT_EQ(days[3].factor, 1.0);  // no adjusted close: no adjustment
  std::vector<ChartRecord> r(kMaxChartRecords);
  std::vector<VolumeRecord> v(kMaxChartRecords);
  ASSERT_EQ(ReadChart(folder, r, v, 7203, kChartDaily, 1), 4);
  EXPECT_EQ(r[0].close, 105);
  EXPECT_EQ(r[1].high, 115);
  EXPECT_EQ(v[1].volume, 1500);
}

TEST_F(CsvImport, BadInputIsRefusedWithItsLineAndChangesNothing) {
  const std::vector<StoredDay> stored = {D(2024, 1, 4, 1, 1, 1, 1, 10)};
  const std::string header = "Date,Open,High,Low,Close,Volume\n";
  const std::string good = "2024-01-05,2,2,2,2,20\n";
  const struct {
    std::string bytes;
    CsvImportError error;
    int64_t line;
    std::string text;
  } cases[] = {
      {"Datum,Eroeffnung,Hoch,Tief,Schluss\n2024-01-05,1,1,1,1\n", CsvImportError::kUnknownLayout, 1, ""},
      {"Date,Open,High,Low\n2024-01-05,1,1,1\n", CsvImportError::kUnknownLayout, 1, ""},
      {"", CsvImportError::kUnknownLayout, 0, ""},
      {"\xFF\xFE"
       "D",
       CsvImportError::kUtf16, 1, ""},
      {header, CsvImportError::kNoRows, 0, ""},
      {header + good + "2024-02-30,2,2,2,2,20\n", CsvImportError::kBadDate, 3, "2024-02-30"},
      {header + "05/01/2024,2,2,2,2,20\n", CsvImportError::kBadDate, 2, "05/01/2024"},
      {header + good + "2024-01-09,2,2x,2,2,20\n", CsvImportError::kBadNumber, 3, "2x"},
      {header + "2024-01-09,2,\"12,34\",2,2,20\n", CsvImportError::kBadNumber, 2, "12,34"},
      {header + good + "2024-01-09,5,4,6,5,20\n", CsvImportError::kHighBelowLow, 3, "4"},
      {header + good + "2024-01-09,5,6,4,5,-20\n", CsvImportError::kNegativeVolume, 3, "-20"},
      {header + "2024-01-09,5,6,4,5,3000000000\n", CsvImportError::kTooLarge, 2, "3000000000"},
      {header + "2024-01-09,5,1e999,4,5,1\n", CsvImportError::kBadNumber, 2, "1e999"},
      {header + "2024-01-09,0,6,0,5,1\n", CsvImportError::kPriceNotPositive, 2, "0"},
      {header + "2024-01-09,5,6,4\n", CsvImportError::kMissingField, 2, ""},
      {header + good + "2024-01-09,5,6,4,5,1\n" + good, CsvImportError::kDuplicateDate, 4, ""},
      {header + good + std::string(5000, '1') + "\n", CsvImportError::kLineTooLong, 3, ""},
  };
  Store(stored);
  const std::string prices = ReadBytes(PriceFilePath(folder, 7203));
  const std::string volumes = ReadBytes(VolumeFilePath(folder, 7203));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 80));
    const CsvImportResult r = Import(c.bytes);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(r.text, c.text);
    EXPECT_EQ(ReadBytes(PriceFilePath(folder, 7203)), prices);
    EXPECT_EQ(ReadBytes(VolumeFilePath(folder, 7203)), volumes);
  }
  EXPECT_EQ(Import(header + good + "2024-01-09,5,6,4,5,1\n" + good).otherLine, 2);
  EXPECT_EQ(ImportChartCsv(folder, 7203, dir / "missing.csv", false).error, CsvImportError::kCannotOpen);
  EXPECT_EQ(ImportChartCsv(folder, 10000, csv, false).error, CsvImportError::kBadCode);
}

TEST_F(CsvImport, KeepsTheNewestTwelveThousandOfALongFile) {
  // 30000 weekdays, newest first: more than twice what the files hold, so the reading drops old days
  // as it goes.
  std::string bytes = "Date,Open,High,Low,Close,Volume\n";
  std::vector<int32_t> dates;
  for (int y = 2099; dates.size() < 30000; --y)
    for (int m = 12; m >= 1 && dates.size() < 30000; --m)
      for (int d = 28; d >= 1 && dates.size() < 30000; --d) dates.push_back(y * 10000 + m * 100 + d);
  char row[64];
  for (size_t i = 0; i < dates.size(); ++i) {
    std::snprintf(row, sizeof row, "%d,%zu,%zu,%zu,%zu,%zu\n", dates[i], 30000 - i, 30000 - i, 30000 - i,
                  30000 - i, i);
    bytes += row;
  }
  const CsvImportResult r = Import(bytes);
  ASSERT_EQ(r.error, CsvImportError::kNone);
  EXPECT_EQ(r.days, 30000);
  const std::vector<StoredDay> days = Stored();
  ASSERT_EQ(days.size(), kMaxChartRecords);
  EXPECT_EQ(days.back().r.close, 30000);
  EXPECT_EQ(days.front().r.close, 30000 - static_cast<int>(kMaxChartRecords) + 1);
  for (size_t i = 1; i < days.size(); ++i) ASSERT_EQ(days[i].r.close, days[i - 1].r.close + 1) << i;

  // A second row of a day is refused whether the reading keeps that day or has dropped it.
  const struct {
    size_t index;
    int64_t otherLine;
  } dups[] = {{kMaxChartRecords - 1, static_cast<int64_t>(kMaxChartRecords) + 1}, {kMaxChartRecords, 0}};
  for (const auto& d : dups) {
    const CsvImportResult dup = Import(bytes + std::to_string(dates[d.index]) + ",1,1,1,1,1\n");
    EXPECT_EQ(dup.error, CsvImportError::kDuplicateDate);
    EXPECT_EQ(dup.line, 30002);
    EXPECT_EQ(dup.otherLine, d.otherLine);
  }
}

}  // namespace
}  // namespace sorano
