#include "core/portfolio/portfolio_operations.h"

#include <gtest/gtest.h>

#include <string>

#include "core/fs/file_io.h"
#include "core/portfolio/portfolio_files.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

class PortfolioOps : public ::testing::Test {
 protected:
  test::TempDir dir;
  DataFolder folder{dir.path()};
  test::FakePrompt prompt;
  HoldingTable holdings;
  TradeTable trades;

  std::string HoldingsFile() { return test::ReadBytes(dir / "data/myproperty.dat"); }
  std::string HistoryFile() { return test::ReadBytes(dir / "data/myhistory.dat"); }

  // One holding of 1000 shares bought at 500 on 2003-10-10, in slot 0 and on disk.
  void BuyStandard() {
    ASSERT_EQ(BuyHolding(folder, holdings, {7203, 2003, 10, 10, 1000, 500}, prompt), PortfolioStatus::Done);
  }
};

TEST_F(PortfolioOps, BuyIntoEmptyTableUsesFirstFreeSlotAndSaves) {
  int slot = -1;
  ASSERT_EQ(BuyHolding(folder, holdings, {7203, 2003, 10, 10, 1000, 500}, prompt, &slot),
            PortfolioStatus::Done);
  EXPECT_EQ(slot, 0);
  EXPECT_EQ(HoldingsFile(), "7203,2003,10,10,1000,500\r\n");
  // A freed slot in the middle is reused before the end.
  holdings.slots[0] = {};
  holdings.slots[1] = {1301, 2000, 1, 1, 1, 1};
  ASSERT_EQ(BuyHolding(folder, holdings, {6758, 2004, 2, 29, 100, 4000}, prompt, &slot),
            PortfolioStatus::Done);
  EXPECT_EQ(slot, 0);
  EXPECT_EQ(HoldingsFile(), "6758,2004,2,29,100,4000\r\n1301,2000,1,1,1,1\r\n");
  EXPECT_TRUE(prompt.calls.empty());
}

TEST_F(PortfolioOps, BuyIntoFullTableReportsAndWritesNothing) {
  for (int i = 0; i < kPortfolioSlots; ++i) holdings.slots[i] = {1000 + i, 2000, 1, 1, 100, 10};
  HoldingTable before = holdings;
  int slot = 123;
  EXPECT_EQ(BuyHolding(folder, holdings, {7203, 2003, 10, 10, 1000, 500}, prompt, &slot),
            PortfolioStatus::TableFull);
  EXPECT_EQ(slot, 123);
  EXPECT_EQ(holdings.slots, before.slots);
  EXPECT_EQ(FileExists(dir / "data/myproperty.dat", 0), 0);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "口座の登録数が上限に達しました。");
  EXPECT_EQ(prompt.calls[0].caption, "エラー");
}

TEST_F(PortfolioOps, SellChecksDateThenQuantity) {
  BuyStandard();
  const std::string file = HoldingsFile();
  // One day before the purchase.
  EXPECT_EQ(SellHolding(folder, holdings, 0, {2003, 10, 9, 400, 600, 0, 20}, prompt),
            PortfolioStatus::BadDate);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "日付に誤りがあります。");
  EXPECT_EQ(prompt.calls[0].caption, "Error");
  // A wrong date is reported even when the quantity is wrong too.
  EXPECT_EQ(SellHolding(folder, holdings, 0, {2002, 12, 31, 5000, 600, 0, 20}, prompt),
            PortfolioStatus::BadDate);
  // More than held, none, and a negative number.
  for (int32_t q : {1001, 0, -5}) {
    prompt.calls.clear();
    EXPECT_EQ(SellHolding(folder, holdings, 0, {2003, 10, 10, q, 600, 0, 20}, prompt),
              PortfolioStatus::BadQuantity)
        << q;
    ASSERT_EQ(prompt.calls.size(), 1u);
    EXPECT_EQ(prompt.calls[0].text, "売却数量に誤りがあります。");
    EXPECT_EQ(prompt.calls[0].caption, "Error");
  }
  // Nothing changed anywhere.
  EXPECT_EQ(holdings.slots[0], (Holding{7203, 2003, 10, 10, 1000, 500}));
  EXPECT_EQ(HoldingsFile(), file);
  EXPECT_EQ(FileExists(dir / "data/myhistory.dat", 0), 0);
  // A year so large that year * 10000 leaves 32 bits is still a later date, not a wrapped earlier one.
  EXPECT_EQ(SellHolding(folder, holdings, 0, {2147483647, 1, 1, 0, 600, 0, 20}, prompt),
            PortfolioStatus::BadQuantity);
}

TEST_F(PortfolioOps, PartialSellOnThePurchaseDateKeepsTheRest) {
  BuyStandard();
  ASSERT_EQ(SellHolding(folder, holdings, 0, {2003, 10, 10, 400, 600, 1050, 20}, prompt),
            PortfolioStatus::Done);
  EXPECT_TRUE(prompt.calls.empty());
  EXPECT_EQ(holdings.slots[0], (Holding{7203, 2003, 10, 10, 600, 500}));
  EXPECT_EQ(HoldingsFile(), "7203,2003,10,10,600,500\r\n");
  // The trade carries the quantity held before the sale (1000) and the quantity sold (400).
  EXPECT_EQ(HistoryFile(), "7203,2003,10,10,1000,500,2003,10,10,400,600,1050,20\r\n");
  // The in-memory history is read again when it is shown.
  EXPECT_TRUE(trades.SlotsInUse().empty());
  ASSERT_EQ(LoadHistory(folder, trades, prompt), 1);
  EXPECT_EQ(trades.slots[0].sellQuantity, 400);
}

TEST_F(PortfolioOps, WholeSellFreesTheSlotAndAppends) {
  BuyStandard();
  ASSERT_EQ(BuyHolding(folder, holdings, {6758, 2004, 1, 5, 200, 3000}, prompt), PortfolioStatus::Done);
  test::WriteBytes(dir / "data/myhistory.dat", "1,2,3,4,5,6,7,8,9,10,11,12,13\r\n");
  ASSERT_EQ(SellHolding(folder, holdings, 0, {2005, 1, 4, 1000, 450, 0, 10}, prompt), PortfolioStatus::Done);
  EXPECT_EQ(holdings.slots[0], Holding{});
  EXPECT_EQ(HoldingsFile(), "6758,2004,1,5,200,3000\r\n");
  EXPECT_EQ(HistoryFile(),
            "1,2,3,4,5,6,7,8,9,10,11,12,13\r\n"
            "7203,2003,10,10,1000,500,2005,1,4,1000,450,0,10\r\n");
  // The freed slot cannot be sold again.
  EXPECT_EQ(SellHolding(folder, holdings, 0, {2005, 1, 4, 1, 450, 0, 10}, prompt),
            PortfolioStatus::NoSuchSlot);
}

TEST_F(PortfolioOps, SellThatCannotSaveHoldingsUndoesTheTrade) {
  BuyStandard();
  test::WriteBytes(dir / "data/myhistory.dat", "old\r\n");
  // A folder in place of the holdings file: the history is appended, then the holdings save fails.
  std::string holdingsPath = dir / "data/myproperty.dat";
  ASSERT_EQ(std::remove(holdingsPath.c_str()), 0);
  ASSERT_TRUE(EnsureFolder(holdingsPath));
  EXPECT_EQ(SellHolding(folder, holdings, 0, {2003, 11, 4, 400, 600, 0, 20}, prompt),
            PortfolioStatus::NotWritten);
  EXPECT_EQ(holdings.slots[0], (Holding{7203, 2003, 10, 10, 1000, 500}));
  EXPECT_EQ(HistoryFile(), "old\r\n");

  // With no history before, none is left behind.
  ASSERT_EQ(std::remove((dir / "data/myhistory.dat").c_str()), 0);
  EXPECT_EQ(SellHolding(folder, holdings, 0, {2003, 11, 4, 400, 600, 0, 20}, prompt),
            PortfolioStatus::NotWritten);
  EXPECT_EQ(FileExists(dir / "data/myhistory.dat", 0), 0);

  // A history that cannot be written stops the sale before anything changes.
  ASSERT_TRUE(EnsureFolder(dir / "data/myhistory.dat"));
  EXPECT_EQ(SellHolding(folder, holdings, 0, {2003, 11, 4, 400, 600, 0, 20}, prompt),
            PortfolioStatus::NotWritten);
  EXPECT_EQ(holdings.slots[0].quantity, 1000);
}

TEST_F(PortfolioOps, EditReplacesEveryFieldAndSaves) {
  BuyStandard();
  ASSERT_EQ(EditHolding(folder, holdings, 0, {6501, 2002, 2, 3, 3000, 880}, prompt), PortfolioStatus::Done);
  EXPECT_EQ(HoldingsFile(), "6501,2002,2,3,3000,880\r\n");
  EXPECT_EQ(EditHolding(folder, holdings, 1, {1, 1, 1, 1, 1, 1}, prompt), PortfolioStatus::NoSuchSlot);
  EXPECT_EQ(EditHolding(folder, holdings, -1, {1, 1, 1, 1, 1, 1}, prompt), PortfolioStatus::NoSuchSlot);
  EXPECT_EQ(EditHolding(folder, holdings, kPortfolioSlots, {1, 1, 1, 1, 1, 1}, prompt),
            PortfolioStatus::NoSuchSlot);

  test::WriteBytes(dir / "data/myhistory.dat", "7203,2003,10,10,1000,500,2003,11,4,400,600,1050,20\r\n");
  ASSERT_EQ(LoadHistory(folder, trades, prompt), 1);
  TradeRecord t{7203, 2003, 10, 10, 1000, 500, 2003, 11, 5, 300, 610, 900, 10};
  ASSERT_EQ(EditTrade(folder, trades, 0, t, prompt), PortfolioStatus::Done);
  EXPECT_EQ(HistoryFile(), "7203,2003,10,10,1000,500,2003,11,5,300,610,900,10\r\n");
  EXPECT_EQ(EditTrade(folder, trades, 5, t, prompt), PortfolioStatus::NoSuchSlot);

  // A failed save is reported and leaves the record as it was.
  test::TempDir other;
  test::WriteBytes(other / "data", "x");
  prompt.calls.clear();
  EXPECT_EQ(EditTrade(DataFolder(other.path()), trades, 0, TradeRecord{1}, prompt),
            PortfolioStatus::NotWritten);
  EXPECT_EQ(trades.slots[0], t);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, kMsgHistoryNotWritten);
}

TEST_F(PortfolioOps, CodesOutsideTheTableAndNegativeAmountsAreRefused) {
  BuyStandard();
  test::WriteBytes(dir / "data/myhistory.dat", "7203,2003,10,10,1000,500,2003,11,4,400,600,1050,20\r\n");
  ASSERT_EQ(LoadHistory(folder, trades, prompt), 1);
  const std::string holdingsFile = HoldingsFile(), historyFile = HistoryFile();
  const Holding good{7203, 2003, 10, 10, 1000, 500};
  const TradeRecord trade = trades.slots[0];
  struct Case {
    Holding h;
    TradeRecord t;
    std::string_view message;
  };
  const Case cases[] = {
      {{0, 2003, 10, 10, 1000, 500},
       {0, 2003, 10, 10, 1000, 500, 2003, 11, 4, 400, 600, 0, 20},
       kMsgBadPortfolioCode},
      {{10000, 2003, 10, 10, 1000, 500},
       {10000, 2003, 10, 10, 1, 1, 2003, 11, 4, 1, 1, 0, 20},
       kMsgBadPortfolioCode},
      {{-7203, 2003, 10, 10, 1000, 500},
       {-1, 2003, 10, 10, 1, 1, 2003, 11, 4, 1, 1, 0, 20},
       kMsgBadPortfolioCode},
      {{7203, 2003, 10, 10, -1, 500},
       {7203, 2003, 10, 10, -1, 1, 2003, 11, 4, 1, 1, 0, 20},
       kMsgNegativeValue},
      {{7203, 2003, 10, 10, 1000, -500},
       {7203, 2003, 10, 10, 1, 1, 2003, 11, 4, 1, -1, 0, 20},
       kMsgNegativeValue},
  };
  for (const Case& c : cases) {
    prompt.calls.clear();
    EXPECT_EQ(BuyHolding(folder, holdings, c.h, prompt), PortfolioStatus::BadValue) << c.h.code;
    EXPECT_EQ(EditHolding(folder, holdings, 0, c.h, prompt), PortfolioStatus::BadValue) << c.h.code;
    EXPECT_EQ(EditTrade(folder, trades, 0, c.t, prompt), PortfolioStatus::BadValue) << c.t.code;
    ASSERT_EQ(prompt.calls.size(), 3u);
    for (const auto& call : prompt.calls) EXPECT_EQ(call.text, c.message);
  }
  // A negative sale price is refused like a negative purchase price.
  EXPECT_EQ(SellHolding(folder, holdings, 0, {2004, 1, 1, 100, -1, 0, 20}, prompt),
            PortfolioStatus::BadValue);
  // The edit of code 0 did not free the slot; nothing was written.
  EXPECT_EQ(holdings.slots[0], good);
  EXPECT_EQ(trades.slots[0], trade);
  EXPECT_EQ(HoldingsFile(), holdingsFile);
  EXPECT_EQ(HistoryFile(), historyFile);
  // 1 and 9999 are codes; 0 shares at 0 yen are not refused.
  EXPECT_EQ(BuyHolding(folder, holdings, {1, 2003, 1, 1, 0, 0}, prompt), PortfolioStatus::Done);
  EXPECT_EQ(BuyHolding(folder, holdings, {9999, 2003, 1, 1, 1, 1}, prompt), PortfolioStatus::Done);
}

TEST_F(PortfolioOps, DeleteTheMiddleOfThreeKeepsTheOthersInOrder) {
  ASSERT_EQ(BuyHolding(folder, holdings, {1111, 2001, 1, 1, 100, 10}, prompt), PortfolioStatus::Done);
  ASSERT_EQ(BuyHolding(folder, holdings, {2222, 2002, 2, 2, 200, 20}, prompt), PortfolioStatus::Done);
  ASSERT_EQ(BuyHolding(folder, holdings, {3333, 2003, 3, 3, 300, 30}, prompt), PortfolioStatus::Done);
  ASSERT_EQ(DeleteHolding(folder, holdings, 1, prompt), PortfolioStatus::Done);
  EXPECT_EQ(DeleteHolding(folder, holdings, 1, prompt), PortfolioStatus::NoSuchSlot);
  EXPECT_EQ(HoldingsFile(), "1111,2001,1,1,100,10\r\n3333,2003,3,3,300,30\r\n");
  // Entering the account view again shows the two remaining once each.
  HoldingTable reloaded;
  ASSERT_EQ(LoadHoldings(folder, reloaded, prompt), 2);
  EXPECT_EQ(reloaded.SlotsInUse(), (std::vector<int>{0, 1}));
  EXPECT_EQ(reloaded.slots[0].code, 1111);
  EXPECT_EQ(reloaded.slots[1].code, 3333);

  test::WriteBytes(dir / "data/myhistory.dat",
                   "1,0,0,0,0,0,0,0,0,0,0,0,0\r\n2,0,0,0,0,0,0,0,0,0,0,0,0\r\n3,0,0,0,0,0,0,0,0,0,0,0,0\r\n");
  ASSERT_EQ(LoadHistory(folder, trades, prompt), 3);
  ASSERT_EQ(DeleteTrade(folder, trades, 1, prompt), PortfolioStatus::Done);
  EXPECT_EQ(HistoryFile(), "1,0,0,0,0,0,0,0,0,0,0,0,0\r\n3,0,0,0,0,0,0,0,0,0,0,0,0\r\n");
  EXPECT_TRUE(prompt.calls.empty());
}

}  // namespace
}  // namespace sorano
