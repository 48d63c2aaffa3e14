// Cell texts of the six column sets, the row images and colours, and sorting on typed keys.
#include "core/lists/list_columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "core/lists/brand_list.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

ListRow Toyota() {
  ListRow row;
  row.code = 7203;
  BrandRecord& r = row.brand;
  SetField(r.name, Utf8ToSjis("トヨタ自動車"));
  SetField(r.quoteTime, "15:00");
  SetField(r.fiscalPeriod, Utf8ToSjis("2024年3月"));
  r.market = 1;
  r.sector = 17;
  r.price = 2500;
  r.high = 2550;
  r.low = 2480;
  r.change = 30;
  r.changePercent = 1.21;
  r.volume = 1234567;
  r.volumeRatio = 0.25;
  r.tradingValue = 308641750;
  r.marketCap = 12345;
  r.unitValue = 250000;
  r.unitShares = 100;
  r.sharesIssued = 3262997;
  r.dividendPerShare = 60;
  r.dividendYield = 2.4;
  r.eps = 200.5;
  r.per = 12.5;
  r.pbr = 1.1;
  r.bps = 2272.75;
  r.equityRatio = 38.5;
  r.roe = 9.25;
  r.roa = -3.5;
  return row;
}

TEST(ListColumns, CellTextsOfEverySet) {
  const ListRow t = Toyota();
  const struct {
    ColumnSet set;
    int column;
    const char* text;
  } cases[] = {
      {ColumnSet::kPrice, 0, "7203"},
      {ColumnSet::kPrice, 1, "トヨタ自動車"},
      {ColumnSet::kPrice, 2, "15:00"},
      {ColumnSet::kPrice, 3, "2500"},
      {ColumnSet::kPrice, 6, "30"},
      {ColumnSet::kPrice, 7, ""},  // 1.21 / 15 * 10 = 0.8
      {ColumnSet::kPrice, 8, "1.21%"},
      {ColumnSet::kPrice, 9, "1234567"},
      {ColumnSet::kPrice, 10, "0.250%"},
      {ColumnSet::kPrice, 11, "3086417万"},
      {ColumnSet::kPrice, 12, ""},  // no such column
      {ColumnSet::kCapital, 2, "東証1部"},
      {ColumnSet::kCapital, 3, "輸送用機器"},
      {ColumnSet::kCapital, 4, "2024年3月"},
      {ColumnSet::kCapital, 5, "250000"},
      {ColumnSet::kCapital, 6, "100"},
      {ColumnSet::kCapital, 7, "123億4500万"},
      {ColumnSet::kCapital, 8, "3262997千"},
      {ColumnSet::kPerformance, 2, "60.00円"},
      {ColumnSet::kPerformance, 3, "2.40%"},
      {ColumnSet::kPerformance, 4, "8.02%"},  // 200.5 / 2500 * 100
      {ColumnSet::kPerformance, 5, "41.67倍"},
      {ColumnSet::kPerformance, 6, "12.50倍"},
      {ColumnSet::kPerformance, 7, "200.50円"},
      {ColumnSet::kPerformance, 8, "1.10倍"},
      {ColumnSet::kPerformance, 9, "2272.75円"},
      {ColumnSet::kPerformance, 10, "38.50%"},
      {ColumnSet::kPerformance, 11, "9.25%"},
      {ColumnSet::kPerformance, 12, "-3.50%"},
      {ColumnSet::kCompany, 1, "トヨタ自動車"},
      {ColumnSet::kCompany, 2, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CellText(c.set, t, c.column), c.text) << static_cast<int>(c.set) << "/" << c.column;

  EXPECT_EQ(ColumnTitles(ColumnSet::kPrice).size(), 12u);
  EXPECT_EQ(ColumnTitles(ColumnSet::kCapital).size(), 9u);
  EXPECT_EQ(ColumnTitles(ColumnSet::kPerformance).size(), 13u);
  EXPECT_EQ(ColumnTitles(ColumnSet::kCompany)[5], "平均年齢");
  EXPECT_EQ(ColumnTitles(ColumnSet::kAccount).size(), 8u);
  EXPECT_EQ(ColumnTitles(ColumnSet::kHistory)[9], "税金");
  EXPECT_EQ(LeftAlignedColumns(ColumnSet::kCapital), 3);
  EXPECT_EQ(LeftAlignedColumns(ColumnSet::kPrice), 2);
}

TEST(ListColumns, ZeroNegativeAndDamagedValuesGiveNoInfOrNan) {
  ListRow z;
  z.code = 9999;
  BrandRecord& r = z.brand;
  r.price = 0;
  r.eps = 10;
  r.dividendPerShare = 0;
  r.changePercent = -15;
  r.marketCap = 99;
  r.volumeRatio = std::numeric_limits<double>::infinity();
  EXPECT_EQ(CellText(ColumnSet::kPerformance, z, 4), "0.00%");   // eps / price with price 0
  EXPECT_EQ(CellText(ColumnSet::kPerformance, z, 5), "0.00倍");  // no dividend
  EXPECT_EQ(CellText(ColumnSet::kPrice, z, 7), "----------");
  EXPECT_EQ(CellText(ColumnSet::kPrice, z, 10), "---");
  EXPECT_EQ(CellText(ColumnSet::kCapital, z, 7), "0億9900万");
  r.changePercent = 2.25;
  EXPECT_EQ(CellText(ColumnSet::kPrice, z, 7), "-");
  r.changePercent = std::nan("");
  EXPECT_EQ(CellText(ColumnSet::kPrice, z, 7), "");
  EXPECT_EQ(CellText(ColumnSet::kPrice, z, 8), "---");
  r.changePercent = 1e300;  // the bar is capped
  EXPECT_EQ(CellText(ColumnSet::kPrice, z, 7), std::string(64, '-'));
  r.marketCap = 12305;
  EXPECT_EQ(CellText(ColumnSet::kCapital, z, 7), "123億500万");
  r.marketCap = -12345;  // the sign once
  EXPECT_EQ(CellText(ColumnSet::kCapital, z, 7), "-123億4500万");
  r.marketCap = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(CellText(ColumnSet::kCapital, z, 7), "-21474836億4800万");
  r.roe = -1e308;
  EXPECT_EQ(CellText(ColumnSet::kPerformance, z, 11).substr(0, 2), "-1");
}

TEST(ListColumns, RowImagesAndColours) {
  ListRow row = Toyota();
  SettingsStore s{};
  const int32_t colours[] = {0xFFFFFF, 0xF0F0F0, 0x001E00, 0xA00000, 0x6464FF};
  std::copy(std::begin(colours), std::end(colours), s.color_list);
  using C = CellColours;
  auto at = [&](ColumnSet set, int rowIndex, int column) {
    return CellColoursOf(set, row, rowIndex, column, s);
  };
  auto same = [](C a, C b) { return a.text == b.text && a.background == b.background; };

  EXPECT_EQ(RowImage(ColumnSet::kPrice, row), 0);
  EXPECT_TRUE(same(at(ColumnSet::kPrice, 0, 6), C{0xA00000, 0xFFFFFF}));
  EXPECT_TRUE(same(at(ColumnSet::kPrice, 1, 8), C{0xA00000, 0xF0F0F0}));
  EXPECT_TRUE(same(at(ColumnSet::kPrice, 1, 9), C{0x001E00, 0xF0F0F0}));  // 9 keeps the normal colour
  EXPECT_TRUE(same(at(ColumnSet::kPrice, 0, 5), C{0x001E00, 0xFFFFFF}));
  EXPECT_TRUE(same(at(ColumnSet::kCapital, 0, 6), C{0x001E00, 0xFFFFFF}));  // the price page only
  s.check_list_bk = 1;
  EXPECT_TRUE(same(at(ColumnSet::kPrice, 0, 7), C{0xF0F0F0, 0xA00000}));
  row.brand.change = -1;
  EXPECT_EQ(RowImage(ColumnSet::kPrice, row), 2);
  EXPECT_TRUE(same(at(ColumnSet::kPrice, 0, 7), C{0xF0F0F0, 0x6464FF}));
  s.check_list_bk = 0;
  EXPECT_TRUE(same(at(ColumnSet::kPrice, 0, 7), C{0x6464FF, 0xFFFFFF}));
  row.brand.change = 0;
  EXPECT_EQ(RowImage(ColumnSet::kPrice, row), 1);
  EXPECT_TRUE(same(at(ColumnSet::kPrice, 0, 7), C{0x001E00, 0xFFFFFF}));

  // Account rows by the unrealised gain, history rows by the sale's gain; their cells are the
  // portfolio's.
  row.holding = Holding{7203, 2024, 4, 1, 100, 2600};
  row.brand.price = 2500;
  EXPECT_EQ(RowImage(ColumnSet::kAccount, row), 2);
  EXPECT_EQ(CellText(ColumnSet::kAccount, row, 6), "-10000");
  row.trade = TradeRecord{7203, 2024, 1, 5, 100, 2000, 2024, 6, 3, 100, 2500, 500, 20};
  EXPECT_EQ(RowImage(ColumnSet::kHistory, row), 0);
  EXPECT_EQ(CellText(ColumnSet::kHistory, row, 9), "10000円");
  EXPECT_FALSE(Sortable(ColumnSet::kAccount, 0));
  EXPECT_FALSE(Sortable(ColumnSet::kHistory, 3));
}

class SortTest : public ::testing::Test {
 protected:
  // Rows given as (code, changePercent, name); the list is filled as a list of codes.
  void Rows(std::initializer_list<std::tuple<int32_t, double, const char*>> rows) {
    ListSource source;
    source.kind = SourceKind::kCodes;
    for (const auto& [code, percent, name] : rows) {
      source.codes.push_back(code);
      BrandRecord& r = (*table)[static_cast<size_t>(code)];
      r.changePercent = percent;
      SetField(r.name, Utf8ToSjis(name));
    }
    list.Fill(source, ListTables{*table, folders, holdings, trades, sizes});
  }
  std::vector<int32_t> SortedBy(int column) {
    EXPECT_TRUE(list.Sort(ColumnSet::kPrice, column));
    return list.Codes();
  }

  std::unique_ptr<BrandTable> table = std::make_unique<BrandTable>();
  FolderTable folders{};
  HoldingTable holdings;
  TradeTable trades;
  SizeClasses sizes;
  BrandList list;
};

TEST_F(SortTest, NumbersAsNumbersTextsByteWiseTiesByCode) {
  Rows({{5, 1.50, "トヨタ"}, {1, -1.5, "ABC"}, {3, 1.50, "ソニー"}, {2, 1.20, "ABC"}, {4, -0.3, "abc"}});
  // "1.50%" and "1.20%" do not tie, -1.5 is below -0.3, and the two 1.50 keep code order.
  EXPECT_EQ(SortedBy(8), (std::vector<int32_t>{1, 4, 2, 3, 5}));
  EXPECT_EQ(SortedBy(8), (std::vector<int32_t>{3, 5, 2, 4, 1}));  // the second click descends
  EXPECT_EQ(SortedBy(8), (std::vector<int32_t>{1, 4, 2, 3, 5}));
  // Shift_JIS bytes: ASCII capitals, small letters, then katakana (ソ 83 5C before ト 83 67).
  EXPECT_EQ(SortedBy(1), (std::vector<int32_t>{1, 2, 4, 3, 5}));
  EXPECT_EQ(SortedBy(0), (std::vector<int32_t>{1, 2, 3, 4, 5}));
  EXPECT_FALSE(list.Sort(ColumnSet::kPrice, 12));
}

TEST_F(SortTest, RunsOfDigitsInTextsCompareByValue) {
  // Year and month texts (決算日, 更新日) sort by date, not by their first differing byte.
  Rows({{1, 0, "2026年12月"},
        {2, 0, "2026年3月"},
        {3, 0, "2025年12月"},
        {4, 0, "2026年03月"},
        {5, 0, "12/04"},
        {6, 0, "9/30"},
        {7, 0, "2026年"},
        {8, 0, "2026年10月"}});
  EXPECT_EQ(SortedBy(1), (std::vector<int32_t>{6, 5, 3, 7, 2, 4, 8, 1}));
  EXPECT_EQ(SortedBy(1), (std::vector<int32_t>{1, 8, 2, 4, 7, 3, 5, 6}));
}

TEST_F(SortTest, DamagedValuesAndRepeatedCodesKeepAnOrder) {
  // Code 6 stands twice (a hand-edited folder): both rows stay. NaN sorts with the lowest values.
  Rows({{6, 2, "x"},
        {7, std::nan(""), "x"},
        {6, 2, "x"},
        {9, 1, "x"},
        {8, -std::numeric_limits<double>::infinity(), "x"}});
  EXPECT_EQ(SortedBy(8), (std::vector<int32_t>{7, 8, 9, 6, 6}));
}

}  // namespace
}  // namespace sorano
