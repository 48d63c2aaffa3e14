// Command semantics on a Workspace with a recording Shell and a scripted Prompt.
#include "core/app/command_handler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/app/about_box.h"
#include "core/app/commands.h"
#include "core/fs/file_io.h"
#include "core/net/net_config.h"
#include "core/store/chart_file.h"
#include "core/text/sjis.h"
#include "support/fake_prompt.h"
#include "support/fake_shell.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using test::FakePrompt;
using test::FakeShell;
using Calls = std::vector<std::string>;

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsStore& s = ws->settings;
    std::memcpy(s.runtime.data_path, dir.path().data(), dir.path().size() + 1);
    s.check_code = 7203;
    AddBrand(1301, "極洋", 1);
    AddBrand(7203, "トヨタ自動車", 1);
    AddBrand(9984, "ソフトバンク", 0);
    // Fifteen trading days, Monday 2024-01-08 to Friday 2024-01-26: three weeks in one month.
    std::vector<ChartRecord> days;
    std::vector<VolumeRecord> volumes;
    for (int week = 0; week < 3; ++week)
      for (int d = 0; d < 5; ++d) {
        const int day = 8 + week * 7 + d;
        days.push_back({2024, 1, day, 100 + day, 110 + day, 90 + day, 105 + day});
        volumes.push_back(VolumeRecord{1000 + day});
      }
    ASSERT_EQ(WriteChart(ws->settings.data_folder(), days, 7203), 1);
    ASSERT_EQ(WriteVolumes(ws->settings.data_folder(), volumes, 7203), 1);
    ASSERT_EQ(ReloadSeries(*ws), 15);
  }

  void AddBrand(int32_t code, std::string_view utf8Name, int32_t market) {
    BrandRecord& r = ws->brands[static_cast<size_t>(code)];
    const std::string sjis = Utf8ToSjis(utf8Name);
    std::memcpy(r.name, sjis.data(), std::min(sjis.size(), sizeof r.name - 1));
    r.market = market;
    r.price = 1000;
  }

  bool Run(int id) { return ExecuteCommand(*ws, shell, prompt, id); }
  bool Checked(int id) const { return MenuState(*ws, id).checked; }
  bool Enabled(int id) const { return MenuState(*ws, id).enabled; }

  test::TempDir dir;
  std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
  FakeShell shell;
  FakePrompt prompt;
};

TEST_F(CommandTest, WeeklyReloadsTheSeriesAndMovesTheRadioMarksAndButtons) {
  ASSERT_TRUE(Run(cmd::kWeekly));
  EXPECT_EQ(ws->settings.check_ymd, 1);
  EXPECT_EQ(ws->series.count(), 3);
  EXPECT_EQ(ws->series[0].day, 8);
  EXPECT_EQ(ws->series[2].close, 105 + 26);
  EXPECT_EQ(ws->window.first, 3);  // the newest bars show at the next paint
  EXPECT_EQ(shell.calls, (Calls{"Refresh chart", "Refresh technical", "UpdateMenuMarks"}));

  EXPECT_FALSE(Checked(cmd::kDaily));
  EXPECT_TRUE(Checked(cmd::kWeekly));
  EXPECT_FALSE(Checked(cmd::kMonthly));
  EXPECT_TRUE(ToolbarButtonEnabled(*ws, cmd::kDaily));
  EXPECT_FALSE(ToolbarButtonEnabled(*ws, cmd::kWeekly));
  EXPECT_TRUE(ToolbarButtonEnabled(*ws, cmd::kMonthly));
  EXPECT_TRUE(Enabled(cmd::kWeekly));  // the menu item stays enabled

  ASSERT_TRUE(Run(cmd::kMonthly));
  EXPECT_EQ(ws->series.count(), 1);
  ASSERT_TRUE(Run(cmd::kDaily));
  EXPECT_EQ(ws->series.count(), 15);

  // In the time-series mode only that pane is refreshed.
  ws->settings.check_bview = 3;
  shell.calls.clear();
  Run(cmd::kWeekly);
  EXPECT_EQ(shell.Work(), (Calls{"Refresh timeseries"}));
}

TEST_F(CommandTest, ChartTypesSelectInSingleModeAndToggleInMultipleMode) {
  SettingsStore& s = ws->settings;
  s.check_soku_check = 0;
  s.check_soku = 2;
  Run(32783);  // バー
  EXPECT_EQ(s.check_soku, 1);
  EXPECT_TRUE(Checked(32783));
  EXPECT_FALSE(Checked(32782));
  Run(cmd::kNoPriceGraph);
  EXPECT_EQ(s.check_soku, 13);
  EXPECT_TRUE(Checked(cmd::kNoPriceGraph));

  const auto before = std::to_array(s.check_sokup);
  Run(cmd::kMultipleTypes);
  EXPECT_EQ(s.check_soku_check, 1);
  EXPECT_TRUE(Checked(cmd::kMultipleTypes));
  EXPECT_FALSE(Checked(cmd::kNoPriceGraph));  // no "なし" mark in multiple mode
  const int32_t candles = s.check_sokup[0];
  Run(32782);  // ローソク足
  EXPECT_EQ(s.check_sokup[0], candles > 0 ? 0 : 1);
  EXPECT_EQ(Checked(32782), s.check_sokup[0] == 1);
  Run(32782);
  EXPECT_EQ(s.check_sokup[0], candles > 0 ? 1 : 0);
  EXPECT_EQ(std::to_array(s.check_sokup), before);  // the other types were never touched
  EXPECT_EQ(s.check_soku, 13);                      // nor the single-mode choice
  EXPECT_EQ(shell.Work(), (Calls(5, "Repaint chart")));

  Run(cmd::kMultipleTypes);
  EXPECT_EQ(s.check_soku_check, 0);
  Run(32782);
  EXPECT_EQ(s.check_soku, 0);
  EXPECT_EQ(std::to_array(s.check_sokup), before);
}

TEST_F(CommandTest, ClearIndicatorsTurnsOffVolumeAndEveryOtherIndicatorButKeepsTheDisplayMode) {
  SettingsStore& s = ws->settings;
  Run(32793);  // RSI on
  EXPECT_EQ(s.check_tec_rsi, 1);
  EXPECT_TRUE(Checked(32793));
  s.check_tec_volume = 1;
  s.check_tec_volume_sma = 1;
  s.check_tec_shinyouu = 1;
  s.check_tec_macd_sma = 1;
  s.check_tec_kairi_sma03 = 1;
  Run(cmd::kMultipleDisplay);
  EXPECT_EQ(s.check_tec_dc, 1);
  EXPECT_TRUE(Checked(cmd::kMultipleDisplay));
  EXPECT_FALSE(Checked(cmd::kSingleDisplay));

  shell.calls.clear();
  ASSERT_TRUE(Run(cmd::kClearIndicators));
  for (int32_t v : {s.check_tec_rsi, s.check_tec_volume, s.check_tec_volume_sma, s.check_tec_shinyouu,
                    s.check_tec_macd_sma, s.check_tec_kairi_sma03})
    EXPECT_EQ(v, 0);
  EXPECT_FALSE(Checked(32794));  // 出来高グラフ
  EXPECT_FALSE(Checked(32858));  // 出来高移動平均線
  EXPECT_EQ(s.check_tec_dc, 1);
  EXPECT_EQ(shell.calls, (Calls{"Repaint technical", "UpdateMenuMarks"}));
}

TEST_F(CommandTest, OverlayTogglesLandOnZeroOrOneAndRepaintThePriceChart) {
  SettingsStore& s = ws->settings;
  s.check_shi_bori_wma = 7;  // any positive value is on
  Run(32863);
  EXPECT_EQ(s.check_shi_bori_wma, 0);
  Run(32863);
  EXPECT_EQ(s.check_shi_bori_wma, 1);
  EXPECT_TRUE(Checked(32863));
  EXPECT_FALSE(Checked(32859));  // the envelope item of the same text is another flag
  EXPECT_EQ(shell.Work(), (Calls(2, "Repaint chart")));

  // The base lines: a run-time switch, not stored, which the reset clears.
  Run(cmd::kBaseLines);
  EXPECT_EQ(s.runtime.base_line, 1);
  EXPECT_TRUE(Checked(cmd::kBaseLines));
  Run(cmd::kBaseLines);
  EXPECT_FALSE(Checked(cmd::kBaseLines));
  // The stored flag draws them too, so it marks the item even with the switch off.
  s.check_shi_pf = 1;
  EXPECT_TRUE(Checked(cmd::kBaseLines));
  EXPECT_EQ(s.runtime.base_line, 0);
}

TEST_F(CommandTest, SplitAdjustmentReloadsTheSeriesAdjusted) {
  std::vector<VolumeRecord> volumes(15, VolumeRecord{1000});
  volumes[0].factor = 0.5;  // the first day was before a 1:2 split
  ASSERT_EQ(WriteVolumes(ws->settings.data_folder(), volumes, 7203), 1);
  ws->settings.check_adjustment = 0;
  ReloadSeries(*ws);
  EXPECT_EQ(ws->series[0].close, 113);
  Run(cmd::kSplitAdjustment);
  EXPECT_EQ(ws->settings.check_adjustment, 1);
  EXPECT_TRUE(Checked(cmd::kSplitAdjustment));
  EXPECT_EQ(ws->series[0].close, 56);
  EXPECT_EQ(shell.Work(), (Calls{"Refresh chart", "Refresh technical"}));
}

TEST_F(CommandTest, RadioGroupsDoNothingWhenTheValueIsAlreadyChosen) {
  SettingsStore& s = ws->settings;
  s.check_wline = 0;
  Run(cmd::kLineVertical);
  EXPECT_EQ(s.check_wline, 2);
  EXPECT_TRUE(Checked(cmd::kLineVertical));
  EXPECT_FALSE(ToolbarButtonEnabled(*ws, cmd::kLineVertical));
  EXPECT_TRUE(ToolbarButtonEnabled(*ws, cmd::kLineFree));

  s.check_bview = 0;
  shell.calls.clear();
  Run(cmd::kComparisonChart);
  EXPECT_EQ(s.check_bview, 2);
  EXPECT_EQ(shell.Work(), (Calls{"SelectChartTab 2", "LayOut"}));
  shell.calls.clear();
  Run(cmd::kComparisonChart);
  EXPECT_TRUE(shell.Work().empty());
  Run(cmd::kEmptyChartArea);
  EXPECT_EQ(s.check_bview, 4);
  EXPECT_EQ(shell.Work(), (Calls{"LayOut"}));  // mode 4 has no tab
  EXPECT_FALSE(Checked(cmd::kStandardChart) || Checked(cmd::kPercentageChart) ||
               Checked(cmd::kComparisonChart) || Checked(cmd::kTimeSeriesChart));

  shell.calls.clear();
  s.check_tree_view = 1;
  Run(cmd::kTreeViewDown);
  EXPECT_TRUE(shell.Work().empty());
  Run(cmd::kTreeViewUp);
  EXPECT_EQ(s.check_tree_view, 0);
  EXPECT_EQ(shell.Work(), (Calls{"LayOut"}));
}

TEST_F(CommandTest, BarsMenuBarTrayAndArrangements) {
  SettingsStore& s = ws->settings;
  s.check_status = 1;
  s.check_tool = 1;
  s.check_menu = 1;
  s.check_task = 1;
  Run(cmd::kStatusBarShown);
  Run(cmd::kStatusBarShown);
  Run(cmd::kToolbarShown);
  Run(cmd::kSysMenuMenuBar);  // the system-menu item works as 32919
  Run(cmd::kMenuBarShown);
  Run(cmd::kTray);
  Run(cmd::kTray);
  Run(cmd::kChartFull);
  EXPECT_EQ(ws->arrangement, Arrangement::kChartOnly);
  Run(cmd::kStandardScreen);
  EXPECT_EQ(ws->arrangement, Arrangement::kNormal);
  EXPECT_EQ(shell.Work(),
            (Calls{"ShowStatusBar 0", "LayOut", "ShowStatusBar 1", "LayOut", "ShowToolbar 0", "LayOut",
                   "ShowMenuBar 0", "ShowMenuBar 1", "RemoveTrayIcon", "LayOut", "LayOut"}));
  EXPECT_EQ(s.check_status, 1);
  EXPECT_EQ(s.check_tool, 0);
  EXPECT_FALSE(Checked(cmd::kToolbarShown));
  EXPECT_EQ(s.check_menu, 1);
  EXPECT_EQ(s.check_task, 1);
}

TEST_F(CommandTest, TogglesOutsideTheMenuMarkUpdateCarryNoCheckMark) {
  // The menu bar and the two tab-button items toggle their setting but show no check mark, whatever
  // the setting; the toolbar, status bar and tray items do.
  SettingsStore& s = ws->settings;
  for (int32_t on : {0, 1}) {
    s.check_menu = on;
    s.check_btab = on;
    s.check_tab = on;
    s.check_tool = on;
    s.check_status = on;
    s.check_task = on;
    for (int id : {cmd::kMenuBarShown, cmd::kSysMenuMenuBar, cmd::kChartTabsShown, 32896})
      EXPECT_FALSE(Checked(id)) << id << " " << on;
    for (int id : {cmd::kToolbarShown, cmd::kStatusBarShown, cmd::kTray})
      EXPECT_EQ(Checked(id), on == 1) << id;
  }
}

TEST_F(CommandTest, Monochrome) {
  Run(cmd::kMonochromeOn);
  EXPECT_TRUE(ws->monochrome);
  Run(cmd::kMonochromeOff);
  EXPECT_FALSE(ws->monochrome);
  EXPECT_EQ(shell.Work(),
            (Calls{"Repaint chart", "Repaint technical", "Repaint chart", "Repaint technical"}));
}

TEST_F(CommandTest, ChartDataCommandsAreRefusedWhileTheVersionCheckRuns) {
  ws->downloads.busy = 1;  // what StartVersionCheck sets while the check runs
  for (int id : {cmd::kChartUpdate, cmd::kChartTemporaryUpdate, cmd::kChartInitialise,
                 cmd::kChartRangeInitialise, cmd::kAllBrandsDownload, cmd::kSelectionChartUpdate})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(cmd::kWeekly));

  for (int id : {cmd::kChartUpdate, cmd::kChartTemporaryUpdate, cmd::kChartInitialise,
                 cmd::kChartRangeInitialise, cmd::kAllBrandsDownload})
    EXPECT_TRUE(Run(id)) << id;
  ASSERT_EQ(prompt.calls.size(), 5u);
  for (const FakePrompt::Call& c : prompt.calls) {
    EXPECT_EQ(c.text, "ほかの銘柄がダウンロード中です。");
    EXPECT_EQ(c.caption, "警告");
  }
  EXPECT_TRUE(shell.Work().empty());  // no job, no dialog

  ws->downloads.busy = 0;  // the check ended
  EXPECT_TRUE(Enabled(cmd::kChartUpdate));
  Run(cmd::kChartUpdate);
  EXPECT_EQ(shell.Work(), (Calls{"StartDownload 32855"}));
}

TEST_F(CommandTest, ChartDataCommandsOnABrandWithoutDataOfferTheInitialisation) {
  ws->settings.check_code = 1301;  // no chart files
  ReloadSeries(*ws);
  prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
  Run(cmd::kChartUpdate);
  EXPECT_TRUE(shell.Work().empty());
  Run(cmd::kChartTemporaryUpdate);
  EXPECT_EQ(shell.Work(), (Calls{"StartDownload 32856"}));
  ASSERT_EQ(prompt.calls.size(), 2u);
  EXPECT_EQ(prompt.calls[0].text, "チャートデータが初期化されていません。\r\n初期化致しますか？");
  EXPECT_EQ(prompt.calls[0].caption, "警告");
  EXPECT_EQ(prompt.calls[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(prompt.calls[0].icon, PromptIcon::Question);
  EXPECT_EQ(prompt.calls[0].defaultAnswer, PromptAnswer::No);

  // The two initialisations ask nothing; the period one runs only when its dialog was accepted.
  shell.calls.clear();
  Run(cmd::kChartInitialise);
  shell.dialogAnswer = false;
  Run(cmd::kChartRangeInitialise);
  shell.dialogAnswer = true;
  Run(cmd::kChartRangeInitialise);
  EXPECT_EQ(shell.Work(),
            (Calls{"StartDownload 32856", "RunDialog 247", "RunDialog 247", "StartDownload 32970"}));
  EXPECT_EQ(prompt.calls.size(), 2u);
}

TEST_F(CommandTest, NextAndPreviousBrandWalkTheCodesInUse) {
  Run(cmd::kNextBrand);
  EXPECT_EQ(ws->settings.check_code, 9984);
  EXPECT_EQ(shell.Work(), (Calls{"Lists.ShowMemo", "SetCaption 9984 ソフトバンク - Sorano 2.04",
                                 "Search.ShowCode 9984", "Refresh chart", "Refresh technical"}));
  EXPECT_EQ(ws->series.count(), -1);  // no chart files for 9984

  // At the highest code in use the same brand stays and is loaded again.
  shell.calls.clear();
  Run(cmd::kNextBrand);
  EXPECT_EQ(ws->settings.check_code, 9984);
  EXPECT_EQ(shell.Work(), (Calls{"SetCaption 9984 ソフトバンク - Sorano 2.04", "Search.ShowCode 9984",
                                 "Refresh chart", "Refresh technical"}));

  Run(cmd::kPreviousBrand);
  EXPECT_EQ(ws->settings.check_code, 7203);
  EXPECT_EQ(ws->series.count(), 15);
  Run(cmd::kPreviousBrand);
  Run(cmd::kPreviousBrand);
  EXPECT_EQ(ws->settings.check_code, 1301);
}

TEST_F(CommandTest, NextAndPreviousBrandFromACodeOutsideTheTable) {
  ws->settings.check_code = -2000000000;
  Run(cmd::kNextBrand);
  EXPECT_EQ(ws->settings.check_code, 1301);
  ws->settings.check_code = 2147483647;
  Run(cmd::kPreviousBrand);
  EXPECT_EQ(ws->settings.check_code, 9984);
  ws->settings.check_code = 2147483647;
  shell.calls.clear();
  Run(cmd::kNextBrand);
  EXPECT_EQ(ws->settings.check_code, 2147483647);
  EXPECT_EQ(BrandCaption(*ws), kTitleText);
  EXPECT_THAT(shell.Work(), testing::Contains("SetCaption Sorano 2.04"));
  EXPECT_THAT(shell.Work(), testing::Contains("Search.ShowCode "));  // the box cannot hold it
}

TEST_F(CommandTest, CaptionNamesCodeBrandAndMarket) {
  EXPECT_EQ(BrandCaption(*ws), "7203 トヨタ自動車 (東証1部) - Sorano 2.04");
}

TEST_F(CommandTest, CodeBoxSwitchesTheBrandAtFourCharacters) {
  EXPECT_FALSE(CodeBoxChanged(*ws, shell, prompt, "998"));
  EXPECT_FALSE(CodeBoxChanged(*ws, shell, prompt, "99845"));
  EXPECT_EQ(ws->settings.check_code, 7203);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(CodeBoxChanged(*ws, shell, prompt, "9984"));
  EXPECT_EQ(ws->settings.check_code, 9984);
  EXPECT_EQ(ws->series.count(), -1);
  EXPECT_TRUE(CodeBoxChanged(*ws, shell, prompt, "0042"));  // no check that the code exists
  EXPECT_EQ(ws->settings.check_code, 42);
  EXPECT_THAT(shell.calls, testing::Contains("Search.ShowCode 0042"));
  EXPECT_EQ(shell.calls.back(), "Refresh technical");
}

TEST(CodeBoxText, FourDigitsInsideTheTableEmptyOutside) {
  const std::pair<int32_t, const char*> cases[] = {{0, "0000"}, {42, "0042"}, {7203, "7203"}, {9999, "9999"},
                                                   {-1, ""},    {10000, ""},  {INT32_MIN, ""}};
  for (const auto& [code, text] : cases) EXPECT_EQ(CodeBoxText(code), text) << code;
}

TEST_F(CommandTest, SettingsResetOnlyAfterYes) {
  SettingsStore& s = ws->settings;
  Run(32778);  // SMA off (on initially)
  Run(cmd::kBaseLines);
  s.check_ymd = 2;
  ReloadSeries(*ws);
  shell.calls.clear();

  prompt.answers = {PromptAnswer::No};
  ASSERT_TRUE(Run(cmd::kResetSettings));
  EXPECT_EQ(s.check_shi_sma, 0);
  EXPECT_EQ(s.runtime.base_line, 1);
  EXPECT_TRUE(shell.Work().empty());

  prompt.answers = {PromptAnswer::Yes};
  ASSERT_TRUE(Run(cmd::kResetSettings));
  EXPECT_EQ(s.check_shi_sma, 1);
  EXPECT_EQ(s.runtime.base_line, 0);
  EXPECT_EQ(s.check_ymd, 0);
  EXPECT_EQ(s.check_code, 7004);  // the reset shows the initial brand, which has no chart files here
  EXPECT_EQ(ws->series.count(), -1);
  EXPECT_EQ(shell.Work(),
            (Calls{"SetCaption 7004  - Sorano 2.04", "Search.ShowCode 7004", "ReloadSettingsView",
                   "SelectChartTab 0", "LayOut", "Refresh chart", "Refresh technical"}));
  EXPECT_EQ(prompt.calls.size(), 2u);
}

TEST_F(CommandTest, UpdateInitialDataAppliesDefaultDat) {
  test::WriteBytes(dir / "data/default.dat", "6758,1,16\r\n");
  ASSERT_TRUE(Run(cmd::kUpdateInitialData));
  EXPECT_EQ(ws->brands[6758].market, 1);
  EXPECT_GE(ws->brands[6758].price, 1);
  EXPECT_TRUE(prompt.calls.empty());
  ASSERT_FALSE(shell.Work().empty());
  EXPECT_EQ(shell.Work()[0], "SetCaption 7203 トヨタ自動車 (東証1部) - Sorano 2.04");
}

TEST_F(CommandTest, LinksAndBrowser) {
  SettingsStore& s = ws->settings;
  std::strcpy(s.check_key_link02, "http://127.0.0.1:47150/news");
  s.check_key_link01[0] = '\0';
  Run(cmd::kKeyLink1);  // nothing registered: nothing opens
  Run(cmd::kKeyLink2);
  Run(cmd::kWebBrowser);
  EXPECT_EQ(shell.Work(), (Calls{"OpenUrl http://127.0.0.1:47150/news", "StartWebBrowser"}));
}

TEST_F(CommandTest, SettingsSheetOkStoresAndAsksForARestartCancelKeepsEverything) {
  const std::string folder = ws->settings.data_folder().prefix();
  shell.onSheet = [](SettingsSheet& sheet) {
    sheet.SetText(SettingsSheet::FieldIndex("para_shi_sma01"), "0");
    sheet.SetText(SettingsSheet::FieldIndex("check_path"), "/elsewhere");
    sheet.SetColour(1, 0, 0x102030);
    return true;
  };
  ASSERT_TRUE(Run(cmd::kSettingsDialog));
  EXPECT_EQ(ws->settings.para_shi_sma01, 1);
  EXPECT_EQ(ws->settings.color_chart[0], 0x102030);
  EXPECT_STREQ(ws->settings.check_path, "/elsewhere/");
  // The new folder is for the next start: this run still reads the brand from the folder it began with.
  EXPECT_EQ(ws->settings.data_folder().prefix(), folder);
  EXPECT_EQ(ReloadSeries(*ws), 15);
  EXPECT_EQ(shell.Work(), (Calls{"RunSettingsSheet", "Refresh chart", "Refresh technical", "Repaint tree",
                                 "Repaint list"}));
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, kMsgRestart);
  EXPECT_EQ(prompt.calls[0].caption, "設定");
  EXPECT_EQ(prompt.calls[0].icon, PromptIcon::Information);

  shell.onSheet = [](SettingsSheet&) { return true; };  // OK without a change: the message all the same
  Run(cmd::kSettingsDialog);
  EXPECT_EQ(prompt.calls.size(), 2u);

  shell.onSheet = [](SettingsSheet& sheet) {
    sheet.SetColour(1, 0, 0x0000FF);
    sheet.SetText(SettingsSheet::FieldIndex("para_shi_sma02"), "99");
    return false;
  };
  shell.calls.clear();
  Run(cmd::kSettingsDialog);
  EXPECT_EQ(ws->settings.color_chart[0], 0x102030);
  EXPECT_EQ(ws->settings.para_shi_sma02, 25);
  EXPECT_EQ(shell.Work(), Calls{"RunSettingsSheet"});
  EXPECT_EQ(prompt.calls.size(), 2u);
}

TEST_F(CommandTest, AboutBoxNamesTheLibrariesTheProgramRunsOn) {
  ASSERT_TRUE(Run(cmd::kAbout));
  ASSERT_TRUE(shell.about);
  const AboutContent& about = *shell.about;
  EXPECT_EQ(about.title, "Sorano 2.04");
  EXPECT_EQ(about.site, "http://127.0.0.1:47150/");
  EXPECT_TRUE(about.libraries[0].starts_with("libcurl Version ")) << about.libraries[0];
  EXPECT_GT(about.libraries[0].size(), std::string_view("libcurl Version ").size());
  EXPECT_TRUE(about.libraries[3].starts_with("GNU C Library Version 2.")) << about.libraries[3];
  // A library whose version cannot be had shows its label alone.
  EXPECT_EQ(LoadedLibraryVersion("libsorano-not-loaded.so"), "");
  EXPECT_EQ(AboutLibraryLine("libcanberra.so Version ", ""), "libcanberra.so Version ");
  // The loaded file's version: libcurl.so.4.8.0 gives "4.8.0"; libc.so.6 names no version.
  EXPECT_NE(LoadedLibraryVersion("libcurl.so").find('.'), std::string::npos);
  EXPECT_EQ(LoadedLibraryVersion("libc.so"), "");
}

TEST_F(CommandTest, IntradayOpensOneWindowAndIsCheckedWhileItIsOpen) {
  ASSERT_TRUE(Run(cmd::kIntraday));
  EXPECT_EQ(shell.Work(), Calls{"OpenIntradayWindow"});
  EXPECT_FALSE(Checked(cmd::kIntraday));
  ws->intradayWindowOpen = true;
  EXPECT_TRUE(Checked(cmd::kIntraday));
}

TEST_F(CommandTest, HelpAndReadMeOpenTheShippedFilesOrSayWhyNot) {
  test::TempDir shipped;
  ASSERT_TRUE(EnsureFolder(shipped / "help"));
  ASSERT_TRUE(WriteFileAtomic(shipped / "help/index.html", "<html></html>"));
  ::setenv("SORANO_RESOURCES", shipped.path().c_str(), 1);
  Run(cmd::kHelp);
  EXPECT_EQ(shell.Work(), Calls{"OpenFile " + shipped.path() + "/help/index.html"});
  Run(cmd::kReadMe);  // not shipped in this folder
  ::unsetenv("SORANO_RESOURCES");
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "「ReadMe.txt」を開けませんでした。");
}

TEST_F(CommandTest, UnknownIdsDoNothing) {
  for (int id : {12345, 0}) {
    EXPECT_FALSE(Run(id)) << id;
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(prompt.calls.empty());
}

}  // namespace
}  // namespace sorano
