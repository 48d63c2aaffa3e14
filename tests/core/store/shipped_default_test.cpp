// The brand list that ships in resources/default.dat: its format, and that it seeds a usable table.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/store/brand_table.h"
#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/numbers.h"
#include "core/text/sjis.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

std::string Shipped() {
  return test::ReadBytes(SORANO_SOURCE_DIR "/resources/default.dat");
}

TEST(ShippedDefaultData, EveryLineIsCodeMarketSectorName) {
  const std::string text = Shipped();
  ASSERT_GT(text.size(), 100000u);
  ASSERT_TRUE(text.ends_with("\r\n"));
  std::string_view rest = text;
  std::set<int> codes;
  int lines = 0;
  while (!rest.empty()) {
    const size_t eol = rest.find("\r\n");
    ASSERT_NE(eol, std::string_view::npos);
    const std::string_view line = rest.substr(0, eol);
    rest.remove_prefix(eol + 2);
    ++lines;
    SCOPED_TRACE(std::string(line.substr(0, 20)));

    const size_t c1 = line.find(','), c2 = line.find(',', c1 + 1), c3 = line.find(',', c2 + 1);
    ASSERT_NE(c3, std::string_view::npos);
    const std::string_view code = line.substr(0, c1), name = line.substr(c3 + 1);
    ASSERT_EQ(code.size(), 4u);
    ASSERT_EQ(code.find_first_not_of("0123456789"), std::string_view::npos);
    const int n = LeadingInt(code);
    EXPECT_GE(n, 1300);
    EXPECT_TRUE(codes.insert(n).second) << "duplicate code";
    const int market = LeadingInt(line.substr(c1 + 1)), sector = LeadingInt(line.substr(c2 + 1));
    EXPECT_FALSE(MarketName(market).empty());
    EXPECT_FALSE(SectorName(sector).empty());
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find('\n'), std::string_view::npos);
    EXPECT_EQ(Utf8ToSjis(SjisToUtf8(name)), name);  // valid Shift_JIS
  }
  EXPECT_LT(lines, 9999);  // the reader stops after 9999 lines
}

TEST(ShippedDefaultData, SeedsAFullViewDat) {
  test::TempDir dir;
  test::WriteBytes(dir / "data/default.dat", Shipped());
  DataFolder folder(dir.path());
  test::FakePrompt prompt;
  BrandTable table;
  EXPECT_GT(ApplyDefaultData(folder, table, prompt), 3000);
  EXPECT_TRUE(prompt.calls.empty());
  EXPECT_EQ(test::ReadBytes(dir / "data/view.dat").size(), 2560000u);

  BrandTable loaded;
  ASSERT_EQ(LoadBrandTable(folder, loaded), 10000);
  EXPECT_EQ(SjisToUtf8(FieldText(loaded[7203].name)), "トヨタ自動車");
  EXPECT_EQ(loaded[7203].market, 1);
  EXPECT_EQ(loaded[7203].sector, 17);  // 輸送用機器
  EXPECT_EQ(loaded[7203].price, 1);
  EXPECT_EQ(loaded[1305].sector, 34);  // an ETF
  EXPECT_EQ(loaded[9434].sector, 25);  // 情報・通信業
  EXPECT_EQ(loaded[8604].sector, 29);  // 証券、商品先物取引業
  EXPECT_EQ(loaded[9301].sector, 21);  // 倉庫・運輸関連業
  EXPECT_EQ(loaded[9064].sector, 22);  // 陸運業
  EXPECT_EQ(loaded[1299].price, 0);
}

}  // namespace
}  // namespace sorano
