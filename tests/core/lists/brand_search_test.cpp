// The name search and the screening over the brand table: every bucket bound, conditions left at
// なし, slots not in use, ratios that are not finite, names compared by characters, and the selections
// kept in the settings.
#include "core/lists/brand_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

using Codes = std::vector<int32_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The entries of condition that list a brand; at most one is expected.
Codes EntriesPassed(const BrandTable& table, int32_t code, int condition) {
  Codes passed;
  const auto entries = static_cast<int32_t>(ScreeningEntries(condition).size());
  for (int32_t e = 1; e < entries; ++e) {
    ScreeningSelections s{};
    s[static_cast<size_t>(condition)] = e;
    if (Screen(table, s) == Codes{code}) passed.push_back(e);
  }
  return passed;
}

TEST(Screening, EveryBucketBoundBelongsToTheBucketAboveIt) {
  struct Case {
    int condition;
    std::function<void(BrandRecord&, double)> set;
    double value;
    int32_t entry;  // 0: in no bucket
  };
  const auto unit = [](BrandRecord& r, double v) { r.unitValue = static_cast<int32_t>(v); };
  const auto cap = [](BrandRecord& r, double v) { r.marketCap = static_cast<int32_t>(v); };
  const auto yield = [](BrandRecord& r, double v) { r.dividendYield = v; };
  // eps / price * 100 with price 1000, and price / dividendPerShare.
  const auto earnings = [](BrandRecord& r, double v) { r.eps = v * 10; };
  const auto priceDividend = [](BrandRecord& r, double v) { r.dividendPerShare = v == 0 ? 0 : 1000 / v; };
  const Case cases[] = {
      {screening::kUnitValue, unit, 10000, 0},
      {screening::kUnitValue, unit, 10001, 1},
      {screening::kUnitValue, unit, 49999, 1},
      {screening::kUnitValue, unit, 50000, 2},
      {screening::kUnitValue, unit, 99999, 2},
      {screening::kUnitValue, unit, 100000, 3},
      {screening::kUnitValue, unit, 500000, 4},
      {screening::kUnitValue, unit, 999999, 4},
      {screening::kUnitValue, unit, 1000000, 5},
      {screening::kUnitValue, unit, 2147483647, 5},
      {screening::kMarketCap, cap, 0, 0},
      {screening::kMarketCap, cap, 1, 1},
      {screening::kMarketCap, cap, 4999, 1},
      {screening::kMarketCap, cap, 5000, 2},
      {screening::kMarketCap, cap, 10000, 3},
      {screening::kMarketCap, cap, 50000, 4},
      {screening::kMarketCap, cap, 100000, 5},
      {screening::kMarketCap, cap, 500000, 6},
      {screening::kMarketCap, cap, 999999, 6},
      {screening::kMarketCap, cap, 1000000, 7},
      {screening::kMarketCap, cap, 200000000, 7},
      {screening::kFirstRatio, yield, 0, 0},
      {screening::kFirstRatio, yield, 0.01, 1},
      {screening::kFirstRatio, yield, 0.99, 1},
      {screening::kFirstRatio, yield, 1, 2},
      {screening::kFirstRatio, yield, 2.99, 2},
      {screening::kFirstRatio, yield, 3.0, 3},
      {screening::kFirstRatio, yield, 3.01, 3},
      {screening::kFirstRatio, yield, 5, 4},
      {screening::kFirstRatio, yield, 8, 5},
      {screening::kFirstRatio, yield, 9.99, 5},
      {screening::kFirstRatio, yield, 10, 6},
      {screening::kFirstRatio, yield, 150, 6},
      {screening::kFirstRatio, yield, -1, 0},
      {screening::kFirstRatio, yield, kNaN, 0},
      {screening::kFirstRatio, yield, kInf, 0},
      {screening::kFirstRatio + 1, earnings, 3, 3},
      {screening::kFirstRatio + 1, earnings, 0, 0},
      {screening::kFirstRatio + 2, priceDividend, 4, 3},
      // No dividend: the price is an infinite multiple of it.
      {screening::kFirstRatio + 2, priceDividend, 0, 0},
  };
  for (const Case& c : cases) {
    BrandTable table;
    BrandRecord& r = table[7203];
    r.price = 1000;
    c.set(r, c.value);
    EXPECT_EQ(EntriesPassed(table, 7203, c.condition), c.entry == 0 ? Codes{} : Codes{c.entry})
        << ScreeningLabel(c.condition) << " " << c.value;
  }
  // The other ratios test their own field.
  double BrandRecord::*const fields[] = {&BrandRecord::per, &BrandRecord::pbr, &BrandRecord::equityRatio,
                                         &BrandRecord::roe, &BrandRecord::roa};
  for (size_t i = 0; i < std::size(fields); ++i) {
    BrandTable table;
    table[7203].price = 1000;
    table[7203].*fields[i] = 5;
    EXPECT_EQ(EntriesPassed(table, 7203, screening::kFirstRatio + 3 + static_cast<int>(i)), Codes{4}) << i;
  }
}

TEST(Screening, ConditionsAtNoneAddNothingAndFreeSlotsAreNeverListed) {
  BrandTable table;
  struct Brand {
    int32_t code, price, market, sector;
  };
  for (const Brand& b :
       {Brand{1010, 1, 1, 1}, Brand{1300, 1, 1, 16}, Brand{1301, 1, 0, 0}, Brand{2000, 0, 1, 16},
        Brand{6758, 1, 10, 35}, Brand{7203, 1, 1, 17}, Brand{9998, 1, 2, 16}, Brand{9999, 1, 1, 16}}) {
    BrandRecord& r = table[static_cast<size_t>(b.code)];
    r.price = b.price;
    r.market = b.market;
    r.sector = b.sector;
  }
  ScreeningSelections s{};
  // Every brand in use from 1300 to 9998: not the index 1010, not the free 2000, not 9999.
  EXPECT_EQ(Screen(table, s), (Codes{1300, 1301, 6758, 7203, 9998}));
  s[screening::kMarket1] = 1;  // 東証1部, ② and ③ at なし: not market 0 too
  EXPECT_EQ(Screen(table, s), (Codes{1300, 7203}));
  s[screening::kMarket1 + 2] = 10;  // ③ JASDAQ
  EXPECT_EQ(Screen(table, s), (Codes{1300, 6758, 7203}));
  s[screening::kSector1 + 1] = 16;  // ② 電気機器
  EXPECT_EQ(Screen(table, s), (Codes{1300}));
  // 不明 takes the brands without a sector as well.
  s = {};
  s[screening::kSector1] = 35;
  EXPECT_EQ(Screen(table, s), (Codes{1301, 6758}));
  // Entries outside the lists count as なし.
  s = {};
  s[screening::kMarket1] = 13;
  s[screening::kUnitValue] = -1;
  s[screening::kFirstRatio] = 7;
  EXPECT_EQ(Screen(table, s), (Codes{1300, 1301, 6758, 7203, 9998}));
}

TEST(Screening, BoxesListTheirEntriesAndTheSettingsKeepTheSelections) {
  EXPECT_EQ(ScreeningEntries(screening::kMarket1).size(), 13u);
  EXPECT_EQ(ScreeningEntries(screening::kMarket1)[1], "東証1部");
  EXPECT_EQ(ScreeningEntries(screening::kSector1 + 2).back(), "不明");
  EXPECT_EQ(ScreeningEntries(screening::kUnitValue),
            (std::vector<std::string_view>{"なし", "5万円未満", "10万円未満", "50万円未満", "100万円未満",
                                           "100万円以上"}));
  EXPECT_EQ(ScreeningEntries(screening::kMarketCap).back(), "1兆円以上");
  EXPECT_EQ(ScreeningEntries(screening::kFirstRatio + 7).back(), "10%以上");
  EXPECT_EQ(ScreeningLabel(screening::kFirstRatio + 2), "株価配当率");
  EXPECT_TRUE(ScreeningEntries(screening::kCount).empty());

  SettingsStore settings;
  // The initial selections: 東証1部 and 電気機器.
  EXPECT_EQ(KeptSelections(settings), (ScreeningSelections{1, 0, 0, 16}));
  ScreeningSelections s{2, 0, 10, 33, 0, 35, 5, 7, 1, 2, 3, 4, 5, 6, 1, 2};
  KeepSelections(settings, s);
  EXPECT_EQ(settings.check_conditionsarch[5], 35);
  EXPECT_EQ(settings.runtime.screening_ratios[7], 2);
  EXPECT_EQ(KeptSelections(settings), s);
  // A hand-edited registry with values outside the lists reads as なし.
  settings.check_conditionsarch[0] = 13;
  settings.check_conditionsarch[3] = -1;
  settings.check_conditionsarch[7] = 8;
  settings.runtime.screening_ratios[0] = 7;
  const ScreeningSelections kept = KeptSelections(settings);
  EXPECT_EQ(kept[0], 0);
  EXPECT_EQ(kept[3], 0);
  EXPECT_EQ(kept[7], 0);
  EXPECT_EQ(kept[8], 0);
  EXPECT_EQ(kept[1], 0);
  EXPECT_EQ(kept[2], 10);
}

TEST(NameSearch, ComparesWholeCharacters) {
  BrandTable table;
  const struct {
    int32_t code;
    const char* name;
  } brands[] = {{1300, "東京電力"},   {1301, "dデータ"},  {6501, "日立"},  {6502, "東芝?"},
                {6758, "ソニー電子"}, {1010, "電気指数"}, {9999, "電9999"}};
  for (const auto& b : brands) {
    SetField(table[static_cast<size_t>(b.code)].name, Utf8ToSjis(b.name));
    table[static_cast<size_t>(b.code)].price = 1;
  }
  // 電 (0x93 0x64) in code order, within 1300..9998.
  EXPECT_EQ(SearchByName(table, "電"), (Codes{1300, 6758}));
  // "d" is 電's second byte: only the name with a real "d".
  EXPECT_EQ(SearchByName(table, "d"), (Codes{1301}));
  EXPECT_EQ(SearchByName(table, "?"), (Codes{6502}));
  // Characters Shift_JIS cannot hold would become "?": nothing is found, not every name with "?".
  EXPECT_EQ(SearchByName(table, "😀"), Codes{});
  EXPECT_EQ(SearchByName(table, "東\xFF"), Codes{});
  EXPECT_EQ(SearchByName(table, ""), Codes{});
  // No width folding: the full-width Ｄ is another character.
  EXPECT_EQ(SearchByName(table, "Ｄ"), Codes{});
  // A name whose last byte is a lone lead byte is walked without reading past it.
  std::memcpy(table[2000].name, "ab\x93", 4);
  EXPECT_EQ(SearchByName(table, "b"), (Codes{2000}));
}

}  // namespace
}  // namespace sorano
