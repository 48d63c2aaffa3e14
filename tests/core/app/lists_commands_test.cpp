// The tree, list and memo areas on a Workspace with a recording Shell and lists view: what a tree
// click lists, where a sorted order or a code goes, the folder commands, the memo that follows its own
// brand, and the commands on the selected brand.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "core/app/command_handler.h"
#include "core/app/commands.h"
#include "core/app/lists_area.h"
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
constexpr NodeId kFolder0{tree_root::kFavourites, 0};

class ListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memcpy(ws->settings.runtime.data_path, dir.path().data(), dir.path().size() + 1);
    std::strcpy(ws->settings.check_editer, "xdg-open");
    std::strcpy(ws->settings.host_profile, "h:1");
    for (int32_t code : {1301, 6758, 7203, 9984}) {
      BrandRecord& r = ws->brands[static_cast<size_t>(code)];
      r.price = 1000;
      SetField(r.name, Utf8ToSjis("銘柄" + std::to_string(code)));
    }
    ws->settings.check_code = 7203;
    test::WriteBytes(MyBrand(), Utf8ToSjis("株,0,7203,6758\r\n"));
    ws->settings.check_tree_hItem = NodeKey(kFolder0);
    OpenLists(*ws, prompt, "");
    FillFirstList(*ws, shell, prompt);
    shell.calls.clear();
  }
  std::string MyBrand() const { return dir / "data/mybrand.dat"; }
  std::string Memo(int32_t code) const {
    return test::ReadBytes(dir / ("data/memo/" + std::to_string(code) + ".txt"));
  }
  bool Run(int id) { return ExecuteCommand(*ws, shell, prompt, id); }

  test::TempDir dir;
  std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
  FakeShell shell;
  FakePrompt prompt;
};

TEST_F(ListsTest, TheRememberedNodeAndTreeClicksFillTheList) {
  EXPECT_EQ(ws->treeNode, kFolder0);
  EXPECT_EQ(ws->list.Codes(), (Codes{7203, 6758}));
  SelectTreeNode(*ws, shell, prompt, NodeId{tree_root::kCodes, 0});
  EXPECT_EQ(ws->list.Codes(), (Codes{1301, 6758, 7203, 9984}));
  EXPECT_EQ(ws->settings.check_tree_hItem, NodeKey(NodeId{tree_root::kCodes, 0}));
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"Lists.ShowList new"}));
  // The fill at start, when it comes late, leaves a list the user chose first.
  FillFirstList(*ws, shell, prompt);
  EXPECT_EQ(ws->list.Codes(), (Codes{1301, 6758, 7203, 9984}));
  EXPECT_EQ(shell.calls.size(), 1u);
  // After a download of every brand's quote the list shows the figures stored.
  ws->brands[6758].price = 2345;
  ASSERT_TRUE(Run(cmd::kAllBrandsDownload));
  EXPECT_EQ(ws->list.rows()[1].brand.price, 2345);
  EXPECT_THAT(shell.calls, Contains("Lists.ShowList same"));
  // A remembered node that is gone (a deleted folder) gives the default node.
  ws->settings.check_tree_hItem = NodeKey(NodeId{tree_root::kFavourites, 5});
  OpenLists(*ws, prompt, "");
  EXPECT_EQ(ws->treeNode, kDefaultNode);
  EXPECT_TRUE(prompt.calls.empty());
}

TEST_F(ListsTest, OrderAndCodesGoOnlyToTheFolderTheListCameFrom) {
  SortList(*ws, shell, prompt, 0);
  EXPECT_EQ(test::ReadBytes(MyBrand()), Utf8ToSjis("株,0,6758,7203\r\n"));
  EXPECT_EQ(shell.calls.back(), "Lists.ShowList same");

  shell.lists.code = "1301";
  ASSERT_TRUE(Run(32901));
  shell.lists.selectedRows = {0};  // 6758
  ASSERT_TRUE(Run(32900));
  EXPECT_EQ(test::ReadBytes(MyBrand()), Utf8ToSjis("株,0,7203,1301\r\n"));
  EXPECT_EQ(ws->list.Codes(), (Codes{7203, 1301}));
  shell.lists.code = "0";
  Run(32901);
  EXPECT_EQ(prompt.calls.back().text, kMsgBadCode);

  // A search result replaces the folder's list: a sort writes nothing and the folder commands are off.
  const std::string before = test::ReadBytes(MyBrand());
  ShowListSource(*ws, shell, prompt, ListSource{SourceKind::kCodes, 0, 0, 0, {9984, 1301, 6758}});
  SortList(*ws, shell, prompt, 0);  // the code column's second click: descending
  EXPECT_EQ(ws->list.Codes(), (Codes{9984, 6758, 1301}));
  EXPECT_EQ(test::ReadBytes(MyBrand()), before);
  EXPECT_FALSE(MenuState(*ws, 32901).enabled);
  shell.calls.clear();
  Run(32901);
  Run(32900);
  EXPECT_EQ(shell.Work(), (std::vector<std::string>{}));
  EXPECT_EQ(test::ReadBytes(MyBrand()), before);
  EXPECT_EQ(ListDeleteCommand(*ws), 32900);
}

TEST_F(ListsTest, FolderCommandsOfTheTree) {
  ASSERT_TRUE(Run(32893));  // 新規作成 from a folder: a new folder under お気に入り
  EXPECT_EQ(ws->treeNode, (NodeId{0, 1}));
  EXPECT_THAT(shell.calls, Contains("Lists.EditFolderName 1"));
  EXPECT_TRUE(RenameFolder(*ws, shell, prompt, NodeId{0, 1}, "銀行"));
  EXPECT_FALSE(RenameFolder(*ws, shell, prompt, NodeId{tree_root::kMarkets, 0}, "x"));
  EXPECT_EQ(test::ReadBytes(MyBrand()), Utf8ToSjis("株,0,7203,6758\r\n銀行,0,\r\n"));

  ws->treeNode = kFolder0;
  ASSERT_TRUE(Run(32895));  // the first folder goes; お気に入り becomes the selected node
  EXPECT_EQ(test::ReadBytes(MyBrand()), Utf8ToSjis("銀行,0,\r\n"));
  EXPECT_EQ(ws->treeNode, (NodeId{tree_root::kFavourites, -1}));
  EXPECT_EQ(ws->list.Codes(), (Codes{1010, 1020, 1030}));

  // A category node: no folder command applies; without a node, rename and delete say so.
  ws->treeNode = NodeId{tree_root::kMarkets, 0};
  EXPECT_FALSE(MenuState(*ws, 32893).enabled);
  EXPECT_FALSE(MenuState(*ws, 32895).enabled);
  // Only the arrangement item that changes the arrangement is offered.
  ws->settings.check_tree_view = 0;
  EXPECT_EQ(TreeMenuCommands(*ws, ws->treeNode), (std::vector<int>{32965, 0, 32964}));
  EXPECT_EQ(TreeMenuCommands(*ws, kFolder0), (std::vector<int>{32965, 0, 32893, 32894, 32895, 0, 32964}));
  ws->settings.check_tree_view = 1;
  EXPECT_EQ(TreeMenuCommands(*ws, std::nullopt), (std::vector<int>{32963}));
  ws->treeNode.reset();
  prompt.calls.clear();
  Run(32894);
  Run(32895);
  ASSERT_EQ(prompt.calls.size(), 2u);
  EXPECT_EQ(prompt.calls[1].text, kMsgNoItemSelected);
  EXPECT_EQ(test::ReadBytes(MyBrand()), Utf8ToSjis("銀行,0,\r\n"));
}

TEST_F(ListsTest, TheMemoIsSavedToItsOwnBrandBeforeEveryChange) {
  ws->memo.Edit("toyota");
  ASSERT_TRUE(CodeBoxChanged(*ws, shell, prompt, "6758"));  // code box
  EXPECT_EQ(Memo(7203), "toyota");
  EXPECT_EQ(ws->memo.code(), 6758);
  ws->memo.Edit("sony");
  Run(cmd::kNextBrand);  // next brand
  EXPECT_EQ(Memo(6758), "sony");
  ws->memo.Edit("tree");
  SelectTreeNode(*ws, shell, prompt, NodeId{tree_root::kCodes, 0});  // tree
  EXPECT_EQ(Memo(ws->code()), "tree");
  ws->memo.Edit("page");
  Run(32948);  // page
  EXPECT_EQ(Memo(ws->code()), "page");
  EXPECT_EQ(ws->settings.check_tab_num, 1);
  EXPECT_TRUE(MenuState(*ws, 32948).checked);
  shell.lists.selectedRows = {0};  // list row: 1301
  ws->memo.Edit("row");
  const int32_t before = ws->code();
  SelectListRow(*ws, shell, prompt, 0);
  EXPECT_EQ(Memo(before), "row");
  EXPECT_EQ(ws->code(), 1301);

  // A write that fails keeps the edit with its own brand and in the editor; the brand still changes.
  ws->memo.Edit("unsaved");
  std::filesystem::remove(dir / "data/memo/1301.txt");
  std::filesystem::create_directory(dir / "data/memo/1301.txt");
  shell.calls.clear();
  CodeBoxChanged(*ws, shell, prompt, "9984");
  EXPECT_EQ(prompt.calls.back().text, kMsgMemoNotSaved);
  EXPECT_EQ(ws->code(), 9984);
  EXPECT_EQ(ws->memo.code(), 1301);
  EXPECT_EQ(ws->memo.text(), "unsaved");
  EXPECT_THAT(shell.calls, testing::Not(Contains("Lists.ShowMemo")));
  // At exit the user chooses: No stays, Yes ends without the memo.
  prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
  EXPECT_FALSE(ReadyToExit(*ws, prompt));
  EXPECT_TRUE(ReadyToExit(*ws, prompt));
  std::filesystem::remove(dir / "data/memo/1301.txt");
  EXPECT_TRUE(ReadyToExit(*ws, prompt));
  EXPECT_EQ(Memo(1301), "unsaved");
}

TEST_F(ListsTest, CommandsOnTheSelectedBrand) {
  shell.lists.selectedRows = {1};  // 6758
  Run(32914);
  shell.lists.selectedRows = {};  // the toolbar's button without a selected row: the shown brand
  Run(32914);
  Run(32951);
  shell.lists.programStarts = false;
  Run(33001);
  EXPECT_EQ(shell.Work(),
            (std::vector<std::string>{"OpenUrl http://h:1/biz/fundamental/6758.html",
                                      "OpenUrl http://h:1/biz/fundamental/7203.html",
                                      "Lists.StartProgram xdg-open " + dir / "data/mybrand.dat",
                                      "Lists.StartProgram xdg-open " + dir / "data/myproperty.dat"}));
  EXPECT_EQ(prompt.calls.back().text, kMsgEditorNotStarted);

  // 32871 fetches the selected brand's quote on the worker, then fills the list again; never while busy.
  shell.calls.clear();
  shell.lists.selectedRows = {1};
  Run(32871);
  EXPECT_EQ(ws->code(), 6758);
  EXPECT_THAT(shell.calls, Contains("StartDownload 32871"));
  EXPECT_EQ(shell.calls.back(), "UpdateMenuMarks");
  EXPECT_THAT(shell.calls, Contains("Lists.ShowList same"));
  ws->downloads.busy = 1;
  shell.calls.clear();
  Run(32871);
  EXPECT_EQ(prompt.calls.back().text, kMsgOtherBrandBusy);
  EXPECT_THAT(shell.calls, testing::Not(Contains("StartDownload 32871")));
  EXPECT_FALSE(MenuState(*ws, 32979).enabled);
  ws->downloads.busy = 0;

  shell.calls.clear();
  Run(32896);
  EXPECT_EQ(ws->settings.check_tab, 1);
  Run(32997);
  Run(33022);
  EXPECT_EQ(shell.Work(),
            (std::vector<std::string>{"Lists.ShowPage", "Lists.EditMemo 1", "Lists.OpenMemoWindow"}));
  ws->memoWindowOpen = true;
  EXPECT_TRUE(MenuState(*ws, 33022).checked);
}

}  // namespace
}  // namespace sorano
