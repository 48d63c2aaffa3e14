#include <gtest/gtest.h>

#include "core/output/export_options.h"
#include "core/output/time_series_export.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

PriceBar Day(int y, int m, int d, int close, int volume = 1000) {
  return PriceBar{y, m, d, close - 10, close + 20, close - 30, close, volume, 1.0};
}

PriceSeries Series(std::vector<PriceBar> bars) {
  PriceSeries s;
  s.Assign(bars);
  return s;
}

ExportOptions Only(std::initializer_list<ExportColumn> columns, bool header = true) {
  ExportOptions o;
  o.header = header;
  o.columns.fill(false);
  for (ExportColumn c : columns) o.columns[static_cast<size_t>(c)] = true;
  return o;
}

ExportOptions Range(int fy, int fm, int ty, int tm) {
  ExportOptions o = Only({ExportColumn::kDate}, false);
  o.rangeOn = true;
  o.fromYear = fy, o.fromMonth = fm, o.toYear = ty, o.toMonth = tm;
  return o;
}

TEST(TimeSeriesExportTest, TextAndCsvBytesNewestFirstDownToTheOldestBar) {
  const PriceSeries s =
      Series({Day(2003, 9, 3, 900), Day(2003, 9, 4, 1000, 5), Day(2003, 9, 5, 1500, 1234567)});
  // Shift_JIS titles: 日付 曜日 始値 高値 安値 終値 出来高; 水, 木 and 金 are the weekdays.
  const std::string text =
      "\x93\xfa\x95\x74\t\x97\x6a\x93\xfa\t\x8e\x6e\x92\x6c\t\x8d\x82\x92\x6c\t\x88\xc0\x92\x6c\t\x8f\x49\x92"
      "\x6c\t\x8f\x6f\x97\x88\x8d\x82\r\n"
      "2003/9/5\t\x8b\xe0\t1490\t1520\t1470\t1500\t1234567\r\n"
      "2003/9/4\t\x96\xd8\t990\t1020\t970\t1000\t5\r\n"
      "2003/9/3\t\x90\x85\t890\t920\t870\t900\t1000\r\n";
  EXPECT_EQ(ExportDelimited(s, ExportOptions{}, '\t'), text);

  // Close only: every field but the volume is followed by the separator.
  EXPECT_EQ(ExportDelimited(s, Only({ExportColumn::kClose}), ','),
            "\x8f\x49\x92\x6c,\r\n1500,\r\n1000,\r\n900,\r\n");
  EXPECT_EQ(ExportDelimited(s, Only({ExportColumn::kOpen, ExportColumn::kVolume}, false), ','),
            "1490,1234567\r\n990,5\r\n890,1000\r\n");

  // One bar: the header and its line; none, or no file: the header line only.
  const std::string header = "\x8f\x49\x92\x6c,\r\n";
  EXPECT_EQ(ExportDelimited(Series({Day(2003, 9, 5, 1500)}), Only({ExportColumn::kClose}), ','),
            header + "1500,\r\n");
  EXPECT_EQ(ExportDelimited(PriceSeries{}, Only({ExportColumn::kClose}), ','), header);
}

TEST(TimeSeriesExportTest, HtmlBytes) {
  const PriceSeries s = Series({Day(2003, 9, 4, 1000), Day(2003, 9, 5, 1500, 77)});
  const std::string head =
      "<html><head><meta http-equiv=Content-Type content=text/html; charset=Shift_JIS><meta "
      "http-equiv=Content-Style-Type content=text/css><title>Sorano \x8e\x9e\x8c\x6e\x97\xf1</title></head>"
      "<body><center>";
  const std::string tail = "</tbody></table></center></body></html>";
  EXPECT_EQ(
      ExportHtml(s, Only({ExportColumn::kWeekday, ExportColumn::kVolume})),
      head +
          "<table border=1><tbody><tr><td colspan=2 align=right>Sorano </td></tr><tr><td colspan=2></td>"
          "<tr><td>\x97\x6a\x93\xfa</td><td>\x8f\x6f\x97\x88\x8d\x82</td></tr>\r\n"
          "<tr><td>\x8b\xe0</td><td>77</td></tr>\r\n"
          "<tr><td>\x96\xd8</td><td>1000</td></tr>\r\n" +
          tail);
  // Without the volume the last cell is followed by "</td><td>" too.
  EXPECT_EQ(
      ExportHtml(s, Only({ExportColumn::kClose}, false)),
      head +
          "<table border=1><tbody><tr><td colspan=1 align=right>Sorano </td></tr><tr><td colspan=1></td>"
          "<tr><td>1500</td><td></td></tr>\r\n"
          "<tr><td>1000</td><td></td></tr>\r\n" +
          tail);
}

TEST(TimeSeriesExportTest, RangeKeepsWholeMonths) {
  const PriceSeries daily = Series({Day(2003, 1, 30, 1), Day(2003, 1, 31, 1), Day(2003, 2, 3, 1),
                                    Day(2003, 2, 28, 1), Day(2003, 3, 3, 1), Day(2004, 2, 2, 1)});
  EXPECT_EQ(ExportRows(daily, Range(2003, 2, 2003, 2)), (std::vector<int>{3, 2}));
  EXPECT_EQ(ExportRows(daily, Range(2003, 1, 2004, 2)), (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(ExportRows(daily, Range(2003, 1, 2003, 1)), (std::vector<int>{1, 0}));
  EXPECT_EQ(ExportRows(daily, Range(2003, 4, 2003, 12)), (std::vector<int>{}));
  // Monthly bars carry day 0: the first month of the range is kept.
  const PriceSeries monthly =
      Series({Day(2002, 12, 0, 1), Day(2003, 1, 0, 1), Day(2003, 2, 0, 1), Day(2003, 3, 0, 1)});
  EXPECT_EQ(ExportRows(monthly, Range(2003, 1, 2003, 2)), (std::vector<int>{2, 1}));
  EXPECT_EQ(ExportDelimited(monthly, Range(2003, 1, 2003, 1), ','), "2003/1/0,\r\n");
}

TEST(TimeSeriesExportTest, FieldTexts) {
  EXPECT_EQ(ExportField(Day(2003, 9, 5, 1), ExportColumn::kDate), "2003/9/5");
  EXPECT_EQ(ExportField(Day(2003, 9, 5, 1), ExportColumn::kWeekday), "金");
  EXPECT_EQ(ExportField(Day(2003, 12, 5, 1), ExportColumn::kWeekday), "金");
  EXPECT_EQ(ExportField(Day(2004, 2, 29, 1), ExportColumn::kWeekday), "日");
  const PriceBar extreme{2003, 9, 5, 0, 0, INT32_MIN, INT32_MAX, -5, 1.0};
  EXPECT_EQ(ExportField(extreme, ExportColumn::kLow), "-2147483648");
  EXPECT_EQ(ExportField(extreme, ExportColumn::kClose), "2147483647");
  EXPECT_EQ(ExportField(extreme, ExportColumn::kVolume), "-5");
}

TEST(TimeSeriesExportTest, CellsMoveDownARowWithTheHeader) {
  const PriceSeries s = Series({Day(2003, 9, 4, 1000), Day(2003, 9, 5, 1500)});
  const ExportOptions o = Only({ExportColumn::kDate, ExportColumn::kWeekday, ExportColumn::kClose});
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(ExportCells(s, o),
            (Rows{{"日付", "曜日", "終値"}, {"2003/9/5", "金", "1500"}, {"2003/9/4", "木", "1000"}}));
  ExportOptions noHeader = o;
  noHeader.header = false;
  EXPECT_EQ(ExportCells(s, noHeader), (Rows{{"2003/9/5", "金", "1500"}, {"2003/9/4", "木", "1000"}}));
}

TEST(ExportOptionsTest, SettingsRoundTripLeavesTheSpareSwitch) {
  int32_t toData[14] = {2003, 2, 2004, 3, 1, 0, 1, 0, 1, 1, 1, 1, 0, 7};
  const ExportOptions o = ExportOptionsFrom(toData);
  EXPECT_EQ(o.fromYear, 2003);
  EXPECT_EQ(o.toMonth, 3);
  EXPECT_TRUE(o.rangeOn);
  EXPECT_FALSE(o.header);
  EXPECT_EQ(o.columns, (std::array<bool, 7>{true, false, true, true, true, true, false}));
  int32_t back[14] = {};
  back[13] = 7;
  StoreExportOptions(o, back);
  EXPECT_TRUE(std::equal(std::begin(toData), std::end(toData), std::begin(back)));
}

TEST(ExportOptionsTest, DialogAcceptsOnlyAValidRange) {
  ExportOptions current;
  current.fromYear = 2001, current.fromMonth = 5, current.toYear = 2002, current.toMonth = 6;
  ExportDialogInput in;
  in.rangeOn = true;
  in.header = false;
  in.columns = {false, false, false, false, false, true, false};
  struct Case {
    const char *fy, *fm, *ty, *tm;
    bool accepted;
    int32_t fromMonth = 0, toMonth = 0;
  };
  for (const Case& c :
       {Case{"1983", "1", "2003", "1", false}, Case{"2004", "1", "2003", "1", false},
        Case{"", "1", "2003", "1", false}, Case{"1984", "0", "1984", "13", true, 1, 12},
        Case{"2003", "2", "2003", "2", true, 2, 2}, Case{"200312", "2", "2003x", "-4", true, 2, 1}}) {
    in.fromYear = c.fy, in.fromMonth = c.fm, in.toYear = c.ty, in.toMonth = c.tm;
    const auto out = AcceptExportDialog(current, in);
    ASSERT_EQ(out.has_value(), c.accepted) << c.fy << " " << c.ty;
    if (!out) continue;
    EXPECT_TRUE(out->rangeOn);
    EXPECT_EQ(out->fromMonth, c.fromMonth);
    EXPECT_EQ(out->toMonth, c.toMonth);
    EXPECT_FALSE(out->header);
    EXPECT_EQ(out->columns, in.columns);
  }
  // A cleared range box switches the range off whatever the boxes hold; the stored months stay.
  in.rangeOn = false;
  in.fromYear = "1000";
  const auto off = AcceptExportDialog(current, in);
  ASSERT_TRUE(off);
  EXPECT_FALSE(off->rangeOn);
  EXPECT_EQ(off->fromYear, 2001);
  EXPECT_EQ(off->fromMonth, 5);
  EXPECT_EQ(ExportBoxText(0), "");
  EXPECT_EQ(ExportBoxText(2003), "2003");
}

}  // namespace
}  // namespace sorano
