// The command table and the menu layouts built from it.
#include "core/app/commands.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/app/command_handler.h"

namespace sorano {
namespace {

struct Popup {
  std::string title;
  std::vector<int> ids;  // commands directly inside, in order
  std::vector<Popup> children;
};

// Rebuilds the tree of pop-ups the way a menu builder walks the table; fails on unbalanced runs.
std::vector<Popup> Tree(std::span<const MenuEntry> entries) {
  std::vector<Popup> roots;
  std::vector<Popup*> stack;
  for (const MenuEntry& e : entries) {
    switch (e.kind) {
      case MenuEntryKind::kPopup: {
        std::vector<Popup>& into = stack.empty() ? roots : stack.back()->children;
        into.push_back({std::string(e.text), {}, {}});
        stack.push_back(&into.back());
        break;
      }
      case MenuEntryKind::kEnd:
        EXPECT_FALSE(stack.empty());
        if (!stack.empty()) stack.pop_back();
        break;
      case MenuEntryKind::kCommand:
        EXPECT_FALSE(stack.empty());
        if (!stack.empty()) stack.back()->ids.push_back(e.id);
        break;
      case MenuEntryKind::kSeparator:
      case MenuEntryKind::kInactive:
        EXPECT_FALSE(stack.empty());
        break;
    }
  }
  EXPECT_TRUE(stack.empty());
  return roots;
}

void CollectIds(const Popup& p, std::multiset<int>& out) {
  out.insert(p.ids.begin(), p.ids.end());
  for (const Popup& c : p.children) CollectIds(c, out);
}

TEST(CommandTable, EveryIdentifierOnceWithTextAndHelp) {
  std::set<int> ids;
  for (const CommandInfo& c : Commands()) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    EXPECT_TRUE((c.id >= 32771 && c.id <= 33028) || c.id == 104 || c.id == 105) << c.id;
    EXPECT_FALSE(c.help.empty()) << c.id;
    EXPECT_EQ(FindCommand(c.id), &c);
    EXPECT_EQ(CommandHelp(c.id), c.help);
  }
  EXPECT_EQ(FindCommand(32772), nullptr);
  EXPECT_EQ(CommandHelp(1), "");

  // Spot checks of exact texts, including the ones that carry their key.
  EXPECT_EQ(FindCommand(32813)->text, "週足(&W)");
  EXPECT_EQ(FindCommand(105)->text, "終了(&E) \tF12");
  EXPECT_EQ(FindCommand(32773)->text, "ヘルプ...(&H) \tF1");
  EXPECT_EQ(FindCommand(32771)->text, "環境設定...(&S) ");
  EXPECT_EQ(FindCommand(32946)->text, "初期データ更新(G)");
  EXPECT_EQ(FindCommand(32984)->text, "乖離率×SMA-1次(&S)");
  EXPECT_EQ(FindCommand(32930)->text, "チャート画面をビートマップ(&C)");

  // Accelerator table 205 and our keys for next / previous brand.
  const std::map<int, std::string_view> keys = {{32773, "F1"},          {32937, "F8"},       {32954, "F9"},
                                                {32955, "F10"},         {32956, "F11"},      {105, "F12"},
                                                {33021, "Ctrl+PgDown"}, {33023, "Ctrl+PgUp"}};
  for (const CommandInfo& c : Commands()) {
    auto it = keys.find(c.id);
    EXPECT_EQ(c.shortcut, it == keys.end() ? "" : it->second) << c.id;
    // A text that names its key names it once, after the tab: the menu shows the shortcut there and
    // would show a key elsewhere in the text a second time.
    if (!c.shortcut.empty() && c.text.find(c.shortcut) != std::string_view::npos) {
      EXPECT_TRUE(c.text.ends_with("\t" + std::string(c.shortcut))) << c.id;
      EXPECT_EQ(c.text.find(c.shortcut), c.text.size() - c.shortcut.size()) << c.id;
    }
  }
}

TEST(CommandTable, MenusHoldEveryCommandThatHasAText) {
  const std::vector<Popup> main = Tree(MainMenu());
  const std::vector<Popup> context = Tree(ContextMenus());
  ASSERT_EQ(main.size(), 7u);
  const std::vector<std::string> titles = {"表示(&V)",       "チャート(&C)",   "指数(&F)",  "テクニカル(&T)",
                                           "データ管理(&D)", "オプション(&O)", "ヘルプ(&H)"};
  for (size_t i = 0; i < titles.size(); ++i) EXPECT_EQ(main[i].title, titles[i]);
  ASSERT_EQ(context.size(), 5u);
  EXPECT_EQ(context[context_menu::kTree].title, "ツリー側");
  EXPECT_EQ(context[context_menu::kChart].title, "チャート側");
  EXPECT_EQ(context[context_menu::kTechnical].title, "テクニカル側");
  EXPECT_EQ(context[context_menu::kTray].title, "タスクバー側");
  const Popup& list = context[context_menu::kList];
  ASSERT_EQ(list.children.size(), 4u);
  EXPECT_EQ(list.children[context_menu::kListBrands].title, "銘柄メニュー");
  EXPECT_EQ(list.children[context_menu::kListMemo].title, "メモメニュー");
  EXPECT_EQ(list.children[context_menu::kListAccount].title, "口座メニュー");
  EXPECT_EQ(list.children[context_menu::kListHistory].title, "履歴メニュー");

  std::multiset<int> inMenus;
  for (const Popup& p : main) CollectIds(p, inMenus);
  for (const Popup& p : context) CollectIds(p, inMenus);
  for (const CommandInfo& c : Commands()) {
    const bool hasItem = inMenus.count(c.id) > 0;
    EXPECT_EQ(hasItem, !c.text.empty()) << c.id;
  }
  for (int id : inMenus) EXPECT_NE(FindCommand(id), nullptr) << id;

  // The radio groups and the context menus' contents in their order.
  EXPECT_EQ(context[context_menu::kChart].ids,
            (std::vector<int>{32855, 32867, 32856, 32970, 33018, 32812, 32813, 32814, 32978, 32942, 32977,
                              32972, 32943}));
  EXPECT_EQ(context[context_menu::kTechnical].ids, (std::vector<int>{33016, 33017}));
  EXPECT_EQ(context[context_menu::kTray].ids, (std::vector<int>{33020, 105}));
  EXPECT_EQ(context[context_menu::kTree].ids, (std::vector<int>{32965, 32893, 32894, 32895, 32963, 32964}));

  // The overlay menu's envelope and Bollinger submenus, each holding its SMA and WMA items.
  const Popup& overlay = main[2];
  ASSERT_EQ(overlay.children.size(), 2u);
  EXPECT_EQ(overlay.children[0].title, "エンベロープ(&E)");
  EXPECT_EQ(overlay.children[0].ids, (std::vector<int>{32780, 32859}));
  EXPECT_EQ(overlay.children[1].title, "ボリジャーバンド(&V)");
  EXPECT_EQ(overlay.children[1].ids, (std::vector<int>{32781, 32863}));

  // The tray menu's exit item carries no key.
  for (const MenuEntry& e : ContextMenus()) {
    if (e.kind == MenuEntryKind::kCommand && e.id == 105) {
      EXPECT_EQ(e.text, "終了(&E)");
    }
  }
}

TEST(CommandTable, ToolbarHasTwentyOneEntriesWithTheirImages) {
  std::vector<int> ids, bitmaps;
  for (const ToolbarButton& b : ToolbarButtons()) {
    ids.push_back(b.id);
    if (b.id) bitmaps.push_back(b.bitmap);
  }
  EXPECT_EQ(ids, (std::vector<int>{32969, 0,     32851, 32849, 32850, 32852, 0,     32812, 32813, 32814, 0,
                                   32957, 32958, 33024, 32959, 0,     32914, 32915, 32916, 32869, 32980}));
  EXPECT_EQ(bitmaps, (std::vector<int>{278, 279, 288, 289, 290, 287, 283, 284, 285, 286, 294, 295, 296, 297,
                                       298, 299, 300}));
}

TEST(CommandTable, EnabledExactlyWhereTheWorkExists) {
  auto ws = std::make_unique<Workspace>();
  // The folder commands, which need a selected folder, and the account and history commands, which need
  // their list (neither is shown in a fresh workspace).
  const std::set<int> later = {32893, 32900, 32901, 32990, 32991, 32992, 32994, 33002, 33003};
  for (const CommandInfo& c : Commands()) EXPECT_EQ(MenuState(*ws, c.id).enabled, !later.count(c.id)) << c.id;
  // The data commands grey while busy; nothing else does.
  ws->downloads.busy = 1;
  const std::set<int> data = {32855, 32867, 32970, 32856, 32921, 32979};
  for (const CommandInfo& c : Commands())
    EXPECT_EQ(MenuState(*ws, c.id).enabled, !later.count(c.id) && !data.count(c.id)) << c.id;
}

}  // namespace
}  // namespace sorano
