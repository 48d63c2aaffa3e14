#include "core/portfolio/portfolio_files.h"

#include <gtest/gtest.h>

#include <string>

#include "core/fs/file_io.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

const char kHoldingsBytes[] =
    "7203,2003,10,10,1000,500\r\n"
    "6758,2004,1,5,200,-3\r\n"
    "1301,1999,12,31,5000000,2147483647\r\n";

const char kHistoryBytes[] =
    "7203,2003,10,10,1000,500,2003,11,4,400,600,1050,20\r\n"
    "9984,2001,2,3,100,7000,2005,6,7,100,6500,0,10\r\n";

TEST(PortfolioFiles, HoldingsRoundTripByteExact) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  EXPECT_EQ(HoldingsPath(folder), dir / "data/myproperty.dat");
  test::WriteBytes(dir / "data/myproperty.dat", kHoldingsBytes);

  HoldingTable table;
  test::FakePrompt prompt;
  ASSERT_EQ(LoadHoldings(folder, table, prompt), 3);
  EXPECT_TRUE(prompt.calls.empty());
  EXPECT_EQ(table.slots[0], (Holding{7203, 2003, 10, 10, 1000, 500}));
  EXPECT_EQ(table.slots[1], (Holding{6758, 2004, 1, 5, 200, -3}));
  EXPECT_EQ(table.slots[2], (Holding{1301, 1999, 12, 31, 5000000, 2147483647}));
  EXPECT_EQ(table.FirstFree(), 3);

  // Saved into a fresh folder: the folder "data" is made and the bytes come back exactly.
  test::TempDir out;
  ASSERT_TRUE(SaveHoldings(DataFolder(out.path()), table));
  EXPECT_EQ(test::ReadBytes(out / "data/myproperty.dat"), kHoldingsBytes);
}

TEST(PortfolioFiles, HistoryRoundTripByteExact) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  EXPECT_EQ(HistoryPath(folder), dir / "data/myhistory.dat");
  test::WriteBytes(dir / "data/myhistory.dat", kHistoryBytes);

  TradeTable table;
  test::FakePrompt prompt;
  ASSERT_EQ(LoadHistory(folder, table, prompt), 2);
  EXPECT_EQ(table.slots[0], (TradeRecord{7203, 2003, 10, 10, 1000, 500, 2003, 11, 4, 400, 600, 1050, 20}));
  EXPECT_EQ(table.slots[1], (TradeRecord{9984, 2001, 2, 3, 100, 7000, 2005, 6, 7, 100, 6500, 0, 10}));
  ASSERT_TRUE(SaveHistory(folder, table));
  EXPECT_EQ(test::ReadBytes(dir / "data/myhistory.dat"), kHistoryBytes);
}

TEST(PortfolioFiles, FreeSlotsAreNotWrittenAndOrderIsKept) {
  HoldingTable table;
  table.slots[4] = {1111, 2000, 1, 2, 3, 4};
  table.slots[0] = {2222, 2001, 5, 6, 7, 8};
  table.slots[998] = {3333, 2002, 9, 10, 11, 12};
  EXPECT_EQ(HoldingsText(table),
            "2222,2001,5,6,7,8\r\n"
            "1111,2000,1,2,3,4\r\n"
            "3333,2002,9,10,11,12\r\n");
  EXPECT_EQ(table.SlotsInUse(), (std::vector<int>{0, 4, 998}));
}

TEST(PortfolioFiles, ParsingToleratesHandEditedAndGarbledLines) {
  HoldingTable table;
  std::string text =
      "7203,2003,10,10,1000,500\n"                   // "\n" alone ends a line too
      "6758, 2004,abc,5\r\n"                         // a blank before a number, text, missing fields
      "\r\n"                                         // an empty line takes a slot and leaves it free
      "1,2,3,4,5,6,7,8\r\n"                          // extra fields are ignored
      "99999999999,-99999999999,2,3,\x82\xA0,4\r\n"  // beyond int32 saturates; Shift_JIS is 0
      "8000,2010,1,1,100,900";                       // the last line without a line end is kept
  ASSERT_EQ(ParseHoldings(text, table), 6);
  EXPECT_EQ(table.slots[0], (Holding{7203, 2003, 10, 10, 1000, 500}));
  EXPECT_EQ(table.slots[1], (Holding{6758, 2004, 0, 5, 0, 0}));
  EXPECT_EQ(table.slots[2], Holding{});
  EXPECT_EQ(table.slots[3], (Holding{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(table.slots[4], (Holding{2147483647, -2147483647 - 1, 2, 3, 0, 4}));
  EXPECT_EQ(table.slots[5], (Holding{8000, 2010, 1, 1, 100, 900}));
  EXPECT_EQ(table.overflow, "");
  EXPECT_EQ(table.SlotsInUse(), (std::vector<int>{0, 1, 3, 4, 5}));

  // Loading again empties the table first; an empty text leaves it empty.
  ASSERT_EQ(ParseHoldings("", table), 0);
  EXPECT_TRUE(table.SlotsInUse().empty());
}

TEST(PortfolioFiles, MoreThan999LinesReads999AndSavingKeepsTheRest) {
  std::string text;
  for (int i = 1; i <= 1002; ++i) text += std::to_string(i) + ",2000,1,1,1,1,2000,1,2,1,1,0,0\r\n";
  text += "garbage without end";
  TradeTable table;
  ASSERT_EQ(ParseHistory(text, table), 999);
  EXPECT_EQ(table.slots[998].code, 999);
  EXPECT_EQ(table.FirstFree(), -1);
  EXPECT_EQ(table.overflow,
            "1000,2000,1,1,1,1,2000,1,2,1,1,0,0\r\n"
            "1001,2000,1,1,1,1,2000,1,2,1,1,0,0\r\n"
            "1002,2000,1,1,1,1,2000,1,2,1,1,0,0\r\n"
            "garbage without end");
  // Nothing is lost when the full table is written back...
  EXPECT_EQ(HistoryText(table), text);
  // ...and a freed slot lets the next line move up into the table on the next load.
  table.slots[0] = {};
  TradeTable again;
  ASSERT_EQ(ParseHistory(HistoryText(table), again), 999);
  EXPECT_EQ(again.slots[0].code, 2);
  EXPECT_EQ(again.slots[998].code, 1000);
}

TEST(PortfolioFiles, AMissingFileIsAnEmptyAccountAnUnreadableOneIsReported) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  HoldingTable holdings;
  holdings.slots[3] = {1, 2, 3, 4, 5, 6};
  holdings.overflow = "x";
  test::FakePrompt prompt;
  // Nothing bought or sold yet: no message.
  EXPECT_EQ(LoadHoldings(folder, holdings, prompt), 0);
  EXPECT_TRUE(holdings.SlotsInUse().empty());
  EXPECT_EQ(holdings.overflow, "");
  TradeTable trades;
  EXPECT_EQ(LoadHistory(folder, trades, prompt), 0);
  EXPECT_TRUE(prompt.calls.empty());

  // A file that is there but cannot be read (a folder in its place).
  holdings.slots[3] = {1, 2, 3, 4, 5, 6};
  ASSERT_TRUE(EnsureFolder(dir / "data/myproperty.dat"));
  EXPECT_EQ(LoadHoldings(folder, holdings, prompt), -1);
  EXPECT_TRUE(holdings.SlotsInUse().empty());
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "ファイルを開けませんでした");
  EXPECT_EQ(prompt.calls[0].caption, "エラー");
}

TEST(PortfolioFiles, SaveIntoUnwritablePlaceFailsAndLeavesOldFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "data", "a file where the folder belongs");
  HoldingTable table;
  table.slots[0] = {1, 2, 3, 4, 5, 6};
  EXPECT_FALSE(SaveHoldings(DataFolder(dir.path()), table));
  EXPECT_EQ(test::ReadBytes(dir / "data"), "a file where the folder belongs");
}

TEST(PortfolioFiles, AppendTradeCreatesAndExtendsTheHistory) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  TradeRecord t{7203, 2003, 10, 10, 1000, 500, 2003, 11, 4, 400, 600, 1050, 20};
  ASSERT_TRUE(AppendTrade(folder, t));
  EXPECT_EQ(test::ReadBytes(dir / "data/myhistory.dat"),
            "7203,2003,10,10,1000,500,2003,11,4,400,600,1050,20\r\n");

  // A hand-edited last line without a line end stays a line of its own.
  test::WriteBytes(dir / "data/myhistory.dat", "1,2,3,4,5,6,7,8,9,10,11,12,13");
  ASSERT_TRUE(AppendTrade(folder, TradeRecord{9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0}));
  EXPECT_EQ(test::ReadBytes(dir / "data/myhistory.dat"),
            "1,2,3,4,5,6,7,8,9,10,11,12,13\r\n"
            "9,0,0,0,0,0,0,0,0,0,0,-1,0\r\n");

  // A history that is there but cannot be read is not replaced.
  test::TempDir dir2;
  ASSERT_TRUE(EnsureFolder(dir2 / "data/myhistory.dat"));
  EXPECT_FALSE(AppendTrade(DataFolder(dir2.path()), t));
  EXPECT_EQ(FileExists(dir2 / "data/myhistory.dat", 1), 1);
}

}  // namespace
}  // namespace sorano
