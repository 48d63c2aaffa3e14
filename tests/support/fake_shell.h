#pragma once
// A Shell that records what command handling asked of the window, as one line per call.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/about_box.h"
#include "core/app/intraday_view.h"
#include "core/app/portfolio_view.h"
#include "core/app/search_view.h"
#include "core/app/settings_sheet_view.h"
#include "core/app/shell.h"
#include "support/fake_output_shell.h"

namespace sorano::test {

// The panes of the tree and the list as a recording: each call is a line "Lists.<name> ..." in the
// shell's own list of calls.
class FakeListsView : public ListsView {
 public:
  explicit FakeListsView(std::vector<std::string>& calls) : calls_(calls) {}
  std::vector<int> selectedRows;    // what SelectedRows reports
  std::optional<std::string> code;  // what AskCode answers
  bool programStarts = true;        // what StartProgram reports

  void ShowFolders() override { calls_.push_back("Lists.ShowFolders"); }
  void ShowTreeNode() override { calls_.push_back("Lists.ShowTreeNode"); }
  void ShowList(ListChange change) override {
    calls_.push_back(change == ListChange::kNewRows ? "Lists.ShowList new" : "Lists.ShowList same");
  }
  void ShowMemo() override { calls_.push_back("Lists.ShowMemo"); }
  void ShowPage() override { calls_.push_back("Lists.ShowPage"); }
  std::vector<int> SelectedRows() const override { return selectedRows; }
  void EditFolderName(NodeId node) override {
    calls_.push_back("Lists.EditFolderName " + std::to_string(node.child));
  }
  void ExpandNode(NodeId node) override {
    calls_.push_back("Lists.ExpandNode " + std::to_string(node.root) + "/" + std::to_string(node.child));
  }
  std::optional<std::string> AskCode() override {
    calls_.push_back("Lists.AskCode");
    return code;
  }
  void EditMemo(MemoAction action) override {
    calls_.push_back("Lists.EditMemo " + std::to_string(static_cast<int>(action)));
  }
  void OpenMemoWindow() override { calls_.push_back("Lists.OpenMemoWindow"); }
  bool StartProgram(const std::string& program, const std::string& argument) override {
    calls_.push_back("Lists.StartProgram " + program + " " + argument);
    return programStarts;
  }

 private:
  std::vector<std::string>& calls_;
};

// The search and portfolio dialogs as a recording: each run is a line "<dialog title>" in the shell's
// list of calls (the code box: "Search.ShowCode <text>"), and the test says what the user does in it. A
// portfolio dialog's `on...` function gets the boxes shown and the dialog's OK (which returns whether the
// dialog closes) and returns whether the dialog closed after OK; unset, the user cancels.
class FakeDialogs : public SearchView, public PortfolioView {
 public:
  explicit FakeDialogs(std::vector<std::string>& calls) : calls_(calls) {}
  std::optional<SearchBoxes> search;          // OK with these boxes, or キャンセル
  std::optional<ScreeningSelections> screen;  // OK with these entries, or キャンセル
  ScreeningSelections screenShown{};          // the entries the screening dialog opened with
  std::function<bool(const HoldingBoxes&, const AcceptBoxes<HoldingBoxes>&)> onHolding;
  std::function<bool(const SellBoxes&, const AcceptBoxes<SellBoxes>&)> onSell;
  std::function<bool(const TradeBoxes&, const AcceptBoxes<TradeBoxes>&)> onTrade;

  std::optional<SearchBoxes> RunSearchDialog() override {
    calls_.push_back("コード・企業名から検索");
    return search;
  }
  bool RunScreeningDialog(ScreeningSelections& selections) override {
    calls_.push_back("銘柄スクリーニング");
    screenShown = selections;
    if (!screen) return false;
    selections = *screen;
    return true;
  }
  void ShowCode(std::string_view text) override { calls_.push_back("Search.ShowCode " + std::string(text)); }
  bool RunHoldingDialog(const Form<HoldingBoxes>& form, const HoldingBoxes& boxes,
                        const AcceptBoxes<HoldingBoxes>& accept) override {
    calls_.push_back(std::string(form.title));
    return onHolding && onHolding(boxes, accept);
  }
  bool RunSellDialog(const SellBoxes& boxes, const AcceptBoxes<SellBoxes>& accept) override {
    calls_.push_back(std::string(SellForm().title));
    return onSell && onSell(boxes, accept);
  }
  bool RunTradeDialog(const TradeBoxes& boxes, const AcceptBoxes<TradeBoxes>& accept) override {
    calls_.push_back(std::string(TradeEditForm().title));
    return onTrade && onTrade(boxes, accept);
  }

 private:
  std::vector<std::string>& calls_;
};

class FakeShell : public Shell, public SettingsSheetView, public AboutBoxView, public IntradayView {
 public:
  std::vector<std::string> calls;
  bool dialogAnswer = true;  // what RunDialog reports
  FakeOutputShell out;       // output()
  // What the user does on the settings sheet; the result is OK (true) or Cancel.
  std::function<bool(SettingsSheet&)> onSheet = [](SettingsSheet&) { return true; };
  std::optional<AboutContent> about;  // the last About box shown
  FakeListsView lists{calls};
  FakeDialogs dialogs{calls};

  static std::string Name(Pane p) {
    switch (p) {
      case Pane::kPriceChart:
        return "chart";
      case Pane::kTechnical:
        return "technical";
      case Pane::kTimeSeries:
        return "timeseries";
      case Pane::kComparison:
        return "comparison";
      case Pane::kTree:
        return "tree";
      case Pane::kList:
        return "list";
    }
    return "?";
  }
  // The calls other than the menu-mark update, which follows every command.
  std::vector<std::string> Work() const {
    std::vector<std::string> out;
    for (const std::string& c : calls)
      if (c != "UpdateMenuMarks") out.push_back(c);
    return out;
  }

  void Repaint(Pane p) override { calls.push_back("Repaint " + Name(p)); }
  void Refresh(Pane p) override { calls.push_back("Refresh " + Name(p)); }
  void LayOut() override { calls.push_back("LayOut"); }
  void UpdateMenuMarks() override { calls.push_back("UpdateMenuMarks"); }
  void ReloadSettingsView() override { calls.push_back("ReloadSettingsView"); }
  void SetCaption(std::string_view utf8) override { calls.push_back("SetCaption " + std::string(utf8)); }
  void SelectChartTab(int index) override { calls.push_back("SelectChartTab " + std::to_string(index)); }
  void ShowToolbar(bool shown) override {
    calls.push_back(std::string("ShowToolbar ") + (shown ? "1" : "0"));
  }
  void ShowStatusBar(bool shown) override {
    calls.push_back(std::string("ShowStatusBar ") + (shown ? "1" : "0"));
  }
  void ShowMenuBar(bool shown) override {
    calls.push_back(std::string("ShowMenuBar ") + (shown ? "1" : "0"));
  }
  void RemoveTrayIcon() override { calls.push_back("RemoveTrayIcon"); }
  void RestoreFromTray() override { calls.push_back("RestoreFromTray"); }
  void Exit() override { calls.push_back("Exit"); }
  bool OpenUrl(const std::string& url) override {
    calls.push_back("OpenUrl " + url);
    return true;
  }
  bool openFileAnswer = true;  // what OpenFile reports
  bool OpenFile(const std::string& path) override {
    calls.push_back("OpenFile " + path);
    return openFileAnswer;
  }
  bool StartWebBrowser() override {
    calls.push_back("StartWebBrowser");
    return true;
  }
  bool RunDialog(DialogId d) override {
    calls.push_back("RunDialog " + std::to_string(static_cast<int>(d)));
    return dialogAnswer;
  }
  void StartDownload(SingleBrandJob job) override {
    calls.push_back("StartDownload " + std::to_string(static_cast<int>(job)));
  }
  ListsView& Lists() override { return lists; }
  SearchView& Search() override { return dialogs; }
  PortfolioView& Portfolio() override { return dialogs; }

  SettingsSheetView& settingsSheet() override { return *this; }
  AboutBoxView& aboutBox() override { return *this; }
  IntradayView& intraday() override { return *this; }
  bool RunSettingsSheet(SettingsSheet& sheet) override {
    calls.push_back("RunSettingsSheet");
    return onSheet(sheet);
  }
  void ShowAboutBox(const AboutContent& content) override {
    calls.push_back("ShowAboutBox");
    about = content;
  }
  void OpenIntradayWindow() override { calls.push_back("OpenIntradayWindow"); }
  OutputShell& output() override { return out; }
};

}  // namespace sorano::test
