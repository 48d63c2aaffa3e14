// The search and portfolio areas on a Workspace with a recording Shell: what the search dialog, the
// search band and the screening list, and the account's dialogs with their checks, the history they
// write, and an editor's change to the files that a dialog must not write over.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/app/command_handler.h"
#include "core/app/lists_area.h"
#include "core/app/search_area.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "support/fake_prompt.h"
#include "support/fake_shell.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using test::FakePrompt;
using test::FakeShell;
using testing::Contains;
using Codes = std::vector<int32_t>;
using Calls = std::vector<std::string>;

class AreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memcpy(ws->settings.runtime.data_path, dir.path().data(), dir.path().size() + 1);
    const struct {
      int32_t code, price, market, sector;
      const char* name;
    } brands[] = {{1301, 300, 1, 1, "極洋"},
                  {6501, 900, 1, 16, "日立製作所"},
                  {6758, 520, 1, 16, "ソニー電子"},
                  {7203, 600, 1, 17, "トヨタ自動車"},
                  {9501, 700, 2, 20, "東京電力"}};
    for (const auto& b : brands) {
      BrandRecord& r = ws->brands[static_cast<size_t>(b.code)];
      r.price = b.price;
      r.market = b.market;
      r.sector = b.sector;
      r.unitShares = 100;
      SetField(r.name, Utf8ToSjis(b.name));
    }
    ws->settings.check_code = 7203;
    OpenLists(*ws, prompt, "");
    FillFirstList(*ws, shell, prompt);
    prompt.calls.clear();
    shell.calls.clear();
  }
  bool Run(int id) { return ExecuteCommand(*ws, shell, prompt, id); }
  std::string Holdings() const { return test::ReadBytes(dir / "data/myproperty.dat"); }
  std::string History() const { return test::ReadBytes(dir / "data/myhistory.dat"); }
  void ShowAccount() { SelectTreeNode(*ws, shell, prompt, NodeId{tree_root::kAccount, -1}); }
  void ShowHistory() { SelectTreeNode(*ws, shell, prompt, NodeId{tree_root::kHistory, -1}); }
  std::string Cell(int row, int column) const {
    return CellText(ShownColumns(*ws), ws->list.rows()[static_cast<size_t>(row)], column);
  }

  test::TempDir dir;
  std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
  FakeShell shell;
  FakePrompt prompt;
};

TEST_F(AreaTest, TheSearchDialogAndTheSearchBand) {
  ShowAccount();
  shell.calls.clear();
  shell.dialogs.search = SearchBoxes{"", "電"};
  ASSERT_TRUE(Run(32826));
  EXPECT_EQ(ws->list.Codes(), (Codes{6758, 9501}));
  EXPECT_EQ(ws->list.source().kind, SourceKind::kCodes);
  // No node of the tree stands for the result: the tree highlights none, so the account's node, clicked
  // again, is a new selection that fills the list with it.
  EXPECT_EQ(shell.Work(), (Calls{"コード・企業名から検索", "Lists.ShowTreeNode", "Lists.ShowList new"}));
  EXPECT_FALSE(ws->treeNode);
  EXPECT_EQ(ws->settings.check_tree_hItem, NodeKey(NodeId{tree_root::kAccount, -1}));

  // The code box wins over the name box and shows that brand, also one not in the table.
  shell.calls.clear();
  shell.dialogs.search = SearchBoxes{"6501", "電"};
  Run(32826);
  EXPECT_EQ(ws->code(), 6501);
  EXPECT_EQ(ws->list.Codes(), (Codes{6758, 9501}));
  shell.dialogs.search = SearchBoxes{"0042", ""};
  Run(32826);
  EXPECT_EQ(ws->code(), 42);

  // Empty boxes, a cancel, and an empty name box on the band change nothing.
  shell.calls.clear();
  for (std::optional<SearchBoxes> boxes :
       {std::optional<SearchBoxes>(SearchBoxes{}), std::optional<SearchBoxes>()}) {
    shell.dialogs.search = boxes;
    Run(32826);
  }
  NameSearch(*ws, shell, prompt, "");
  EXPECT_EQ(shell.Work(), (Calls{"コード・企業名から検索", "コード・企業名から検索"}));
  EXPECT_EQ(ws->code(), 42);

  // The band's "検索": the name box; "d" is not the second byte of 電.
  NameSearch(*ws, shell, prompt, "d");
  EXPECT_EQ(ws->list.Codes(), Codes{});
  NameSearch(*ws, shell, prompt, "日立");
  EXPECT_EQ(ws->list.Codes(), (Codes{6501}));
  // The code box takes four digits only.
  EXPECT_FALSE(CodeBoxChanged(*ws, shell, prompt, "12a4"));
  EXPECT_TRUE(prompt.calls.empty());
}

TEST_F(AreaTest, TheScreeningKeepsItsSelectionsAndListsWhatPasses) {
  // Cancel: the dialog showed the kept selections (東証1部, 電気機器) and nothing changed.
  Run(32969);
  EXPECT_EQ(shell.dialogs.screenShown, (ScreeningSelections{1, 0, 0, 16}));
  EXPECT_EQ(shell.Work(), (Calls{"銘柄スクリーニング"}));

  ScreeningSelections chosen{1, 2, 0, 16, 20};
  shell.dialogs.screen = chosen;
  Run(32969);
  EXPECT_EQ(ws->list.Codes(), (Codes{6501, 6758, 9501}));
  EXPECT_EQ(ws->settings.check_conditionsarch[1], 2);
  EXPECT_EQ(ws->settings.check_conditionsarch[4], 20);

  // The ratio selections are kept for the run: the next opening shows them.
  chosen[screening::kFirstRatio + 3] = 6;  // PER 10%以上: no brand has a PER
  shell.dialogs.screen = chosen;
  Run(32969);
  EXPECT_EQ(ws->list.Codes(), Codes{});
  shell.dialogs.screen.reset();
  Run(32969);
  EXPECT_EQ(shell.dialogs.screenShown, chosen);
}

TEST_F(AreaTest, BuySellAndTheHistoryRow) {
  // The first look at the account, before any file exists, is no error.
  ShowAccount();
  EXPECT_TRUE(prompt.calls.empty());
  EXPECT_TRUE(MenuState(*ws, 32990).enabled);
  EXPECT_FALSE(MenuState(*ws, 32994).enabled);

  // Buy: code 0 is refused with the dialog open, then 1000 shares of 7203 at 500.
  std::vector<bool> closes;
  HoldingBoxes shown;
  shell.dialogs.onHolding = [&](const HoldingBoxes& boxes, const AcceptBoxes<HoldingBoxes>& ok) {
    shown = boxes;
    HoldingBoxes b = boxes;
    b.price = "500";
    b.quantity = "1000";
    b.year = "2003";
    b.month = "10";
    b.day = "10";
    b.code = "0";
    closes.push_back(ok(b));
    b.code = "7203";
    closes.push_back(ok(b));
    return closes.back();
  };
  ASSERT_TRUE(Run(32990));
  EXPECT_EQ(closes, (std::vector<bool>{false, true}));
  EXPECT_EQ(shown.year, std::to_string(TodayLocal().year));
  EXPECT_EQ(prompt.calls.at(0).text, kMsgBadPortfolioCode);
  EXPECT_EQ(Holdings(), "7203,2003,10,10,1000,500\r\n");
  ASSERT_EQ(ws->list.rows().size(), 1u);
  EXPECT_EQ(Cell(0, 6), "100000");  // (600 - 500) * 1000

  // Sell: a day before the purchase and 1001 shares keep the dialog open and both files as they were.
  shell.lists.selectedRows = {0};
  closes.clear();
  SellBoxes sellShown;
  shell.dialogs.onSell = [&](const SellBoxes& boxes, const AcceptBoxes<SellBoxes>& ok) {
    sellShown = boxes;
    SellBoxes b = boxes;
    b.year = "2003";
    b.month = "10";
    b.day = "9";
    b.quantity = "400";
    b.taxRate = "20";
    closes.push_back(ok(b));
    b.day = "10";
    b.quantity = "1001";
    closes.push_back(ok(b));
    EXPECT_EQ(Holdings(), "7203,2003,10,10,1000,500\r\n");
    EXPECT_EQ(FileExists(dir / "data/myhistory.dat", 0), 0);
    b.quantity = "400";
    closes.push_back(ok(b));
    return closes.back();
  };
  prompt.calls.clear();
  ASSERT_TRUE(Run(33003));
  EXPECT_EQ(closes, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(sellShown.code, "7203");
  EXPECT_EQ(sellShown.price, "600");
  EXPECT_EQ(sellShown.quantity, "100");
  ASSERT_EQ(prompt.calls.size(), 2u);
  EXPECT_EQ(prompt.calls[0].text, kMsgBadDate);
  EXPECT_EQ(prompt.calls[1].text, kMsgBadQuantity);
  EXPECT_EQ(Holdings(), "7203,2003,10,10,600,500\r\n");
  EXPECT_EQ(History(), "7203,2003,10,10,1000,500,2003,10,10,400,600,0,20\r\n");
  EXPECT_EQ(Cell(0, 3), "600");

  // The history row: the 400 shares cost 200000円 and brought 240000円.
  ShowHistory();
  ASSERT_EQ(ws->list.rows().size(), 1u);
  const Calls row = {Cell(0, 4), Cell(0, 5), Cell(0, 6), Cell(0, 7), Cell(0, 9)};
  EXPECT_EQ(row, (Calls{"200000円", "240000円", "40000円", "20.00%", "8000円"}));
  EXPECT_EQ(RowImage(ColumnSet::kHistory, ws->list.rows()[0]), 0);
  EXPECT_TRUE(MenuState(*ws, 33002).enabled);
  EXPECT_FALSE(MenuState(*ws, 32991).enabled);

  // Without a selected row the commands say so.
  shell.lists.selectedRows = {};
  prompt.calls.clear();
  Run(32994);
  EXPECT_EQ(prompt.calls.at(0).text, kMsgNoItemSelected);
}

TEST_F(AreaTest, AChangeAfterAnEditorsChangeKeepsThatChange) {
  test::WriteBytes(dir / "data/myproperty.dat", "7203,2003,10,10,1000,500\r\n6758,2004,1,5,200,3000\r\n");
  ShowAccount();
  shell.lists.selectedRows = {1};  // 6758

  // The user adds a line at the top in the editor: 6758 is now in slot 2.
  test::WriteBytes(dir / "data/myproperty.dat",
                   "1301,2001,1,1,10,300\r\n7203,2003,10,10,1000,500\r\n6758,2004,1,5,200,3000\r\n");
  shell.dialogs.onHolding = [&](const HoldingBoxes& boxes, const AcceptBoxes<HoldingBoxes>& ok) {
    EXPECT_EQ(boxes.code, "6758");
    HoldingBoxes b = boxes;
    b.quantity = "300";
    return ok(b);
  };
  ASSERT_TRUE(Run(32992));
  EXPECT_EQ(Holdings(), "1301,2001,1,1,10,300\r\n7203,2003,10,10,1000,500\r\n6758,2004,1,5,300,3000\r\n");
  EXPECT_EQ(ws->list.Codes(), (Codes{1301, 7203, 6758}));

  // The editor removes the selected holding: the delete is refused, the file kept, the list read again.
  shell.lists.selectedRows = {0};  // 1301
  const std::string edited = "7203,2003,10,10,1000,500\r\n";
  test::WriteBytes(dir / "data/myproperty.dat", edited);
  prompt.calls.clear();
  Run(32991);
  EXPECT_EQ(prompt.calls.at(0).text, kMsgRecordChanged);
  EXPECT_EQ(Holdings(), edited);
  EXPECT_EQ(ws->list.Codes(), (Codes{7203}));

  // The history the editor changed behind an edited trade: the trade table reads it first.
  test::WriteBytes(dir / "data/myhistory.dat", "7203,2003,10,10,1000,500,2004,1,5,1000,600,0,20\r\n");
  ShowHistory();
  test::WriteBytes(dir / "data/myhistory.dat",
                   "9501,2000,1,1,100,700,2001,1,1,100,800,0,10\r\n"
                   "7203,2003,10,10,1000,500,2004,1,5,1000,600,0,20\r\n");
  shell.lists.selectedRows = {0};  // 7203 as listed
  Run(33002);
  EXPECT_EQ(History(), "9501,2000,1,1,100,700,2001,1,1,100,800,0,10\r\n");
  EXPECT_EQ(ws->list.Codes(), (Codes{9501}));
}

}  // namespace
}  // namespace sorano
