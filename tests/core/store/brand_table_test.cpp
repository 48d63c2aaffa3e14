#include "core/store/brand_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "store_test_util.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using test::FakePrompt;
using test::Hex;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr size_t kViewBytes = 2560000;

std::string RecordBytes(const std::string& view, int32_t code) {
  return view.substr(size_t(code) * 256, 256);
}

// Record 7203 after "7203,1,16": market 1, sector 16, price 1, every other byte zero.
std::string SeededRecord(int32_t market, int32_t sector) {
  std::string r(256, '\0');
  std::memcpy(r.data() + 64, &market, 4);
  std::memcpy(r.data() + 68, &sector, 4);
  r[84] = 1;
  return r;
}

struct BrandFiles : ::testing::Test {
  TempDir dir;
  DataFolder folder{dir.path()};
  FakePrompt prompt;
  BrandTable table;
  void Default(std::string_view sjis) { WriteBytes(dir / "data/default.dat", sjis); }
};

TEST_F(BrandFiles, ViewDatIsTheTableImageByteForByte) {
  BrandRecord& r = table[7203];
  SetField(r.name, "ABC");
  r.market = 2;
  r.sector = 17;
  SetField(r.quoteTime, "15:00");
  r.price = 3500;
  r.open = 3400;
  r.high = 3600;
  r.low = 3300;
  r.bid = 3499;
  r.ask = 3501;
  r.reserved = 0x11223344;
  r.change = -100;
  r.changePercent = 1.5;
  r.volume = 123456;
  r.volumeRatio = 0.25;
  r.tradingValue = 4319000;
  r.marketCap = 0x01020304;
  r.dividendYield = 2.0;
  r.dividendPerShare = 70.0;
  r.per = 10.5;
  r.eps = -1.0;
  r.pbr = 1.25;
  r.bps = 0.5;
  r.equityRatio = 40.0;
  r.roe = 8.0;
  r.roa = 3.0;
  r.sharesIssued = 1000000;
  r.unitShares = 100;
  r.unitValue = 350000;
  SetField(r.fiscalPeriod, "2026/3");
  table[9999].price = -1;

  ASSERT_EQ(SaveBrandTable(folder, table), 1);
  const std::string view = ReadBytes(dir / "data/view.dat");
  ASSERT_EQ(view.size(), kViewBytes);
  const std::string expected =
      Hex("41424300000000000000000000000000 00000000000000000000000000000000"
          "00000000000000000000000000000000 00000000000000000000000000000000"
          "02000000 11000000 31353a303000000000000000 ac0d0000 480d0000 100e0000 e40c0000"
          "ab0d0000 ad0d0000 44332211 9cffffff 00000000 000000000000f83f 40e20100 00000000"
          "000000000000d03f 18e74100 04030201 0000000000000040 0000000000805140 0000000000002540"
          "000000000000f0bf 000000000000f43f 000000000000e03f 0000000000004440 0000000000002040"
          "0000000000000840 40420f00 64000000 30570500 323032362f330000000000000000000000000000");
  EXPECT_EQ(RecordBytes(view, 7203), expected);
  EXPECT_EQ(RecordBytes(view, 9999), std::string(84, '\0') + Hex("ffffffff") + std::string(168, '\0'));
  EXPECT_EQ(RecordBytes(view, 0), std::string(256, '\0'));

  BrandTable loaded;
  EXPECT_EQ(LoadBrandTable(folder, loaded), 10000);
  EXPECT_EQ(std::memcmp(loaded.records().data(), table.records().data(), kViewBytes), 0);
}

TEST_F(BrandFiles, LoadTakesWholeRecordsAndLeavesTheRestAlone) {
  table[1].price = 5;
  table[2].price = 6;
  EXPECT_EQ(LoadBrandTable(folder, table), -1);  // no view.dat: nothing changes
  EXPECT_EQ(table[1].price, 5);

  WriteBytes(dir / "data/view.dat", SeededRecord(3, 4) + std::string(100, '\x7f'));
  EXPECT_EQ(LoadBrandTable(folder, table), 1);
  EXPECT_EQ(table[0].market, 3);
  EXPECT_EQ(table[1].price, 5);  // the partial second record is not read
  EXPECT_EQ(table[2].price, 6);

  // A longer file: only the table's 10000 records.
  WriteBytes(dir / "data/view.dat", std::string(kViewBytes + 256, '\0'));
  EXPECT_EQ(LoadBrandTable(folder, table), 10000);
  EXPECT_EQ(table.Find(10000), nullptr);
  EXPECT_EQ(table.Find(-1), nullptr);
  EXPECT_EQ(table.Find(9999), &table[9999]);
}

TEST_F(BrandFiles, DefaultDataSeedsMarketSectorAndPrice) {
  Default("7203,1,16\r\n");
  EXPECT_EQ(ApplyDefaultData(folder, table, prompt), 1);
  EXPECT_TRUE(prompt.calls.empty());
  const std::string view = ReadBytes(dir / "data/view.dat");
  ASSERT_EQ(view.size(), kViewBytes);
  EXPECT_EQ(RecordBytes(view, 7203), SeededRecord(1, 16));
  EXPECT_EQ(MarketName(table[7203].market), "東証1部");
  EXPECT_EQ(SectorName(table[7203].sector), "電気機器");
  EXPECT_EQ(view.find_first_not_of('\0', 7204 * 256), std::string::npos);
  EXPECT_EQ(view.find_first_not_of('\0'), 7203u * 256 + 64);

  // A second run changes nothing more; a quoted price stays.
  ASSERT_EQ(SaveBrandTable(folder, table), 1);
  BrandTable quoted;
  LoadBrandTable(folder, quoted);
  quoted[7203].price = 3500;
  ASSERT_EQ(SaveBrandTable(folder, quoted), 1);
  BrandTable again;
  EXPECT_EQ(ApplyDefaultData(folder, again, prompt), 1);
  EXPECT_EQ(again[7203].price, 3500);
  EXPECT_EQ(ApplyDefaultData(folder, again, prompt), 1);
  EXPECT_EQ(again[7203].price, 3500);
  EXPECT_EQ(again[7203].market, 1);
}

TEST_F(BrandFiles, DefaultDataNamesCodesAndOddLines) {
  const std::string toyota = Utf8ToSjis("トヨタ自動車");
  std::string longName;
  for (int i = 0; i < 40; ++i) longName += Utf8ToSjis("株");  // 80 bytes
  table[6758].price = 2000;
  SetField(table[6758].name, "KEEP");
  Default("7203,1,17," + toyota + "\r\n" +                  // CRLF
          "6758,1,16,Other\n" +                             // a record with a name keeps it
          "1301,2,1," + longName + "\n" +                   // cut to 62 bytes: no half character
          "1332,1,1,A,B Co\n" +                             // the rest of the line is the name
          "\r\n" +                                          // blank line: not code 0
          "-5,1,1,neg\n10000,1,1,big\n99999999999,1,1\n" +  // outside the table: ignored
          "1333,12,35");                                    // last line without a line end
  EXPECT_EQ(ApplyDefaultData(folder, table, prompt), 5);
  EXPECT_EQ(FieldText(table[7203].name), toyota);
  EXPECT_EQ(table[7203].sector, 17);
  EXPECT_EQ(FieldText(table[6758].name), "KEEP");
  EXPECT_EQ(table[6758].price, 2000);
  EXPECT_EQ(FieldText(table[1301].name), longName.substr(0, 62));
  EXPECT_EQ(FieldText(table[1332].name), "A,B Co");
  EXPECT_EQ(table[1333].market, 12);
  EXPECT_EQ(table[1333].price, 1);
  EXPECT_EQ(table[0].price, 0);
  EXPECT_EQ(table[9999].price, 0);
}

TEST_F(BrandFiles, MissingOrEmptyDefaultDataChangesNothing) {
  WriteBytes(dir / "data/view.dat", SeededRecord(2, 2));
  EXPECT_EQ(ApplyDefaultData(folder, table, prompt), -1);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "ファイルを開けませんでした");
  EXPECT_EQ(prompt.calls[0].caption, "エラー");
  EXPECT_EQ(ReadBytes(dir / "data/view.dat").size(), 256u);  // not rewritten

  Default("");
  EXPECT_EQ(ApplyDefaultData(folder, table, prompt), 0);
  EXPECT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(ReadBytes(dir / "data/view.dat").size(), 256u);
}

TEST_F(BrandFiles, SaveFailureIsReported) {
  WriteBytes(dir / "data/view.dat/inside", "a folder where view.dat should be");
  EXPECT_EQ(SaveBrandTable(folder, table), 0);
  Default("7203,1,16\n");
  EXPECT_EQ(ApplyDefaultData(folder, table, prompt), -1);
  EXPECT_EQ(table[7203].market, 1);  // applied in memory, but not reported as saved
}

TEST_F(BrandFiles, SaveUnderTheLockNeverSeesAHalfUpdatedRecord) {
  std::atomic<bool> stop = false;
  std::thread worker([&] {
    for (int32_t v = 1; !stop; ++v) {
      std::lock_guard lock(table.mutex());
      table[7203].price = v;
      table[7203].volume = v;
    }
  });
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(SaveBrandTable(folder, table), 1);
    const std::string rec = RecordBytes(ReadBytes(dir / "data/view.dat"), 7203);
    EXPECT_EQ(rec.substr(84, 4), rec.substr(128, 4));
  }
  stop = true;
  worker.join();
}

TEST(MarketSector, NamesAndNumbers) {
  EXPECT_EQ(MarketName(0), "");
  EXPECT_EQ(MarketName(3), "東証外国部");
  EXPECT_EQ(MarketName(12), "マザーズ");
  EXPECT_EQ(MarketName(13), "");
  EXPECT_EQ(MarketName(-1), "");
  EXPECT_EQ(SectorName(21), "倉庫・運輸関連業");
  EXPECT_EQ(SectorName(22), "陸運業");
  EXPECT_EQ(SectorName(34), "上場投信");
  EXPECT_EQ(SectorName(35), "不明");
  EXPECT_EQ(SectorName(36), "");
  EXPECT_EQ(MarketNameSjis(10), "JASDAQ");
  EXPECT_EQ(SectorNameSjis(2), "\x8d\x7a\x8b\xc6");  // 鉱業
  EXPECT_EQ(SectorNameSjis(99), "");
  EXPECT_EQ(MarketNumber("ヘラクレス"), 11);
  EXPECT_EQ(SectorNumber("輸送用機器"), 17);
  EXPECT_EQ(SectorNumber(""), -1);
  EXPECT_EQ(SectorNumber("情報・通信業"), -1);
}

}  // namespace
}  // namespace sorano
