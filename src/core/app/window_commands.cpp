// The window area of the command set: the chart and technical-pane switches, periods, chart types,
// pane arrangement, bars, downloads of the shown brand, brand browsing, the monochrome switch and the
// key links.
#include <algorithm>
#include <array>
#include <mutex>

#include "core/app/command_area.h"
#include "core/app/commands.h"
#include "core/app/first_start.h"
#include "core/app/lists_area.h"
#include "core/net/net_config.h"
#include "core/net/version_check.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

using Flag = int32_t SettingsStore::*;

struct FlagCommand {
  int id;
  Flag flag;
};

// The price-chart overlay switches: each command toggles its flag and repaints the price chart.
constexpr FlagCommand kOverlayCommands[] = {
    {32778, &SettingsStore::check_shi_sma},      {32837, &SettingsStore::check_shi_nakati},
    {32838, &SettingsStore::check_shi_wma},      {32844, &SettingsStore::check_shi_tma},
    {32845, &SettingsStore::check_shi_ema},      {33008, &SettingsStore::check_shi_lma},
    {33006, &SettingsStore::check_shi_epma},     {33007, &SettingsStore::check_shi_swma},
    {32780, &SettingsStore::check_shi_enbe_sma}, {32859, &SettingsStore::check_shi_enbe_wma},
    {32781, &SettingsStore::check_shi_bori_sma}, {32863, &SettingsStore::check_shi_bori_wma},
    {32796, &SettingsStore::check_shi_itimoku},  {32791, &SettingsStore::check_shi_para},
    {32885, &SettingsStore::check_shi_zigzag},   {32897, &SettingsStore::check_shi_kakakutai},
    {32890, &SettingsStore::check_shi_tenpen},   {32974, &SettingsStore::check_hikakuline},
    {32967, &SettingsStore::check_adjuston},
};

// The technical-pane switches: each command toggles its flag and repaints the technical pane.
constexpr FlagCommand kIndicatorCommands[] = {
    {32876, &SettingsStore::check_tec_dpo},         {32984, &SettingsStore::check_tec_kairi_sma01},
    {32982, &SettingsStore::check_tec_kairi_sma02}, {32983, &SettingsStore::check_tec_kairi_sma03},
    {33005, &SettingsStore::check_tec_aroon},       {32793, &SettingsStore::check_tec_rsi},
    {32797, &SettingsStore::check_tec_dmi},         {32786, &SettingsStore::check_tec_william},
    {32792, &SettingsStore::check_tec_stochastic},  {32877, &SettingsStore::check_tec_momentamu},
    {32880, &SettingsStore::check_tec_roc},         {32805, &SettingsStore::check_tec_rci},
    {32975, &SettingsStore::check_tec_macd_sma},    {32794, &SettingsStore::check_tec_volume},
    {32858, &SettingsStore::check_tec_volume_sma},  {33004, &SettingsStore::check_tec_mfi},
    {32787, &SettingsStore::check_tec_vr},          {32788, &SettingsStore::check_tec_wvr},
    {32875, &SettingsStore::check_tec_dvr},         {32841, &SettingsStore::check_tec_psy},
};

// Every indicator switch of the technical pane, the display mode check_tec_dc excluded: what
// "選択解除(&C)" turns off (the credit-balance switch has no menu item but is cleared too).
constexpr Flag kAllIndicatorFlags[] = {
    &SettingsStore::check_tec_kairi_sma01, &SettingsStore::check_tec_kairi_sma02,
    &SettingsStore::check_tec_kairi_sma03, &SettingsStore::check_tec_dpo,
    &SettingsStore::check_tec_volume,      &SettingsStore::check_tec_volume_sma,
    &SettingsStore::check_tec_shinyouu,    &SettingsStore::check_tec_aroon,
    &SettingsStore::check_tec_mfi,         &SettingsStore::check_tec_rsi,
    &SettingsStore::check_tec_dmi,         &SettingsStore::check_tec_william,
    &SettingsStore::check_tec_stochastic,  &SettingsStore::check_tec_momentamu,
    &SettingsStore::check_tec_roc,         &SettingsStore::check_tec_rci,
    &SettingsStore::check_tec_macd_sma,    &SettingsStore::check_tec_vr,
    &SettingsStore::check_tec_wvr,         &SettingsStore::check_tec_dvr,
    &SettingsStore::check_tec_psy,
};

// Chart types 0..12 in check_soku / check_sokup order; 13 (check_soku only) is "なし(&N)".
constexpr std::array<int, 13> kChartTypeCommands = {32782, 32783, 32784, 32790, 33013, 33014, 32839,
                                                    32840, 32868, 32976, 33010, 33011, 33012};
constexpr int32_t kNoPriceGraph = 13;

constexpr std::array<int, 3> kPeriodCommands = {cmd::kDaily, cmd::kWeekly, cmd::kMonthly};
constexpr std::array<int, 4> kLineModeCommands = {cmd::kLineFree, cmd::kLineHorizontal, cmd::kLineVertical,
                                                  cmd::kLineSnap};
constexpr std::array<int, 4> kChartModeCommands = {cmd::kStandardChart, cmd::kPercentageChart,
                                                   cmd::kComparisonChart, cmd::kTimeSeriesChart};

// Codes the next/previous brand commands walk: upwards while below 9999, downwards while at least 1301.
constexpr int32_t kBrowseCodeBelow = 9999;
constexpr int32_t kBrowseCodeFrom = 1301;

bool On(int32_t flag) {
  return flag > 0;
}
// Any value > 0 counts as on, so a toggle always lands on 0 or 1.
int32_t Toggled(int32_t flag) {
  return On(flag) ? 0 : 1;
}

}  // namespace

int LineModeIndex(int id) {
  const auto it = std::find(kLineModeCommands.begin(), kLineModeCommands.end(), id);
  return it == kLineModeCommands.end() ? -1 : static_cast<int>(it - kLineModeCommands.begin());
}

namespace {

template <size_t N>
int IndexOf(const std::array<int, N>& ids, int id) {
  auto it = std::find(ids.begin(), ids.end(), id);
  return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
}

const FlagCommand* FindFlag(std::span<const FlagCommand> table, int id) {
  for (const FlagCommand& f : table)
    if (f.id == id) return &f;
  return nullptr;
}

bool SlotInUse(const Workspace& ws, int32_t code) {
  std::lock_guard lock(ws.brands.mutex());
  const BrandRecord* r = ws.brands.Find(code);
  return r && r->price != 0;
}

// The next (step +1) or previous (step -1) code in use from check_code, or check_code when none.
int32_t BrowseCode(const Workspace& ws, int step) {
  const int32_t code = ws.settings.check_code;
  // A stored code outside the table starts the walk at the table's edge: never a walk over billions
  // of codes, never an overflow of code + 1.
  if (step > 0) {
    for (int32_t c = std::clamp<int32_t>(code, -1, kBrowseCodeBelow) + 1; c < kBrowseCodeBelow; ++c)
      if (SlotInUse(ws, c)) return c;
  } else {
    for (int32_t c = std::clamp<int32_t>(code, kBrowseCodeFrom, kBrowseCodeBelow + 1) - 1;
         c >= kBrowseCodeFrom; --c)
      if (SlotInUse(ws, c)) return c;
  }
  return code;
}

void RepaintVisibleCharts(const Workspace& ws, Shell& shell) {
  switch (ws.settings.check_bview) {
    case 1:
    case 2:
      shell.Repaint(Pane::kComparison);
      break;
    case 3:
      shell.Repaint(Pane::kTimeSeries);
      break;
    default:
      shell.Repaint(Pane::kPriceChart);
      shell.Repaint(Pane::kTechnical);
      break;
  }
}

}  // namespace

// The "not initialised" question is asked by the two commands that need stored data.
void RunChartDataCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  if (ws.busy()) {
    prompt.Message(kMsgOtherBrandBusy, kCaptionWarning, PromptIcon::Warning);
    return;
  }
  SingleBrandJob job = static_cast<SingleBrandJob>(id);
  if (job == SingleBrandJob::kChartUpdate || job == SingleBrandJob::kTemporaryUpdate) {
    // An update needs the stored days it continues from; an empty file counts as no data.
    if (ws.series.count() <= 0) {
      PromptAnswer answer = prompt.Ask(kMsgChartNotInitialised, kCaptionWarning, PromptButtons::YesNo,
                                       PromptIcon::Question, PromptAnswer::No);
      if (answer != PromptAnswer::Yes) return;
      job = SingleBrandJob::kInitialise;
    }
  } else if (job == SingleBrandJob::kRangeInitialise) {
    if (!shell.RunDialog(DialogId::kRangeInitialise)) return;
  }
  shell.StartDownload(job);
}

namespace {

void SetPeriod(Workspace& ws, Shell& shell, int32_t period) {
  ws.settings.check_ymd = period;
  ReloadSeries(ws);
  RefreshVisibleCharts(ws, shell);
}

void SetChartMode(Workspace& ws, Shell& shell, int32_t mode) {
  if (ws.settings.check_bview == mode) return;
  ws.settings.check_bview = mode;
  if (mode < 4) shell.SelectChartTab(mode);
  shell.LayOut();
}

void SetArrangement(Workspace& ws, Shell& shell, Arrangement arrangement) {
  ws.arrangement = arrangement;
  shell.LayOut();
}

void SetTreeView(Workspace& ws, Shell& shell, int32_t value) {
  if (ws.settings.check_tree_view == value) return;
  ws.settings.check_tree_view = value;
  shell.LayOut();
}

void OpenKeyLink(std::span<const char> field, Shell& shell) {
  std::string address = SjisToUtf8(FieldText(field));
  if (!address.empty()) shell.OpenUrl(address);
}

}  // namespace

bool ExecuteWindowCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  SettingsStore& s = ws.settings;

  if (const FlagCommand* f = FindFlag(kOverlayCommands, id)) {
    s.*(f->flag) = Toggled(s.*(f->flag));
    shell.Repaint(Pane::kPriceChart);
    return true;
  }
  if (const FlagCommand* f = FindFlag(kIndicatorCommands, id)) {
    s.*(f->flag) = Toggled(s.*(f->flag));
    shell.Repaint(Pane::kTechnical);
    return true;
  }
  if (int type = IndexOf(kChartTypeCommands, id); type >= 0) {
    if (On(s.check_soku_check))
      s.check_sokup[type] = Toggled(s.check_sokup[type]);
    else
      s.check_soku = type;
    shell.Repaint(Pane::kPriceChart);
    return true;
  }
  if (int period = IndexOf(kPeriodCommands, id); period >= 0) {
    SetPeriod(ws, shell, period);
    return true;
  }
  if (int mode = IndexOf(kLineModeCommands, id); mode >= 0) {
    s.check_wline = mode;  // the toolbar buttons follow at the menu-mark update
    return true;
  }
  if (int mode = IndexOf(kChartModeCommands, id); mode >= 0) {
    SetChartMode(ws, shell, mode);
    return true;
  }

  switch (id) {
    case cmd::kNoPriceGraph:
      s.check_soku = kNoPriceGraph;
      shell.Repaint(Pane::kPriceChart);
      return true;
    case cmd::kMultipleTypes:
      s.check_soku_check = Toggled(s.check_soku_check);
      shell.Repaint(Pane::kPriceChart);
      return true;
    case cmd::kCrosshair:
      s.check_cross = Toggled(s.check_cross);
      shell.Repaint(Pane::kPriceChart);  // a crosshair drawn before is gone with the repaint
      shell.Repaint(Pane::kTechnical);
      return true;
    case cmd::kBaseLines:
      s.runtime.base_line = Toggled(s.runtime.base_line);
      shell.Repaint(Pane::kPriceChart);
      return true;
    case cmd::kSplitAdjustment:
      s.check_adjustment = Toggled(s.check_adjustment);
      ReloadSeries(ws);
      RefreshVisibleCharts(ws, shell);
      return true;
    case cmd::kClearIndicators:
      for (Flag f : kAllIndicatorFlags) s.*f = 0;
      shell.Repaint(Pane::kTechnical);
      return true;
    case cmd::kSingleDisplay:
    case cmd::kMultipleDisplay:
      s.check_tec_dc = id == cmd::kMultipleDisplay ? 1 : 0;
      shell.Repaint(Pane::kTechnical);
      return true;

    case cmd::kEmptyChartArea:
      SetChartMode(ws, shell, 4);
      return true;
    case cmd::kChartTabsShown:
      s.check_btab = Toggled(s.check_btab);
      shell.LayOut();
      return true;
    case cmd::kChartFull:
      SetArrangement(ws, shell, Arrangement::kChartOnly);
      return true;
    case cmd::kTechnicalFull:
      SetArrangement(ws, shell, Arrangement::kTechnicalOnly);
      return true;
    case cmd::kListFull:
      SetArrangement(ws, shell, Arrangement::kListOnly);
      return true;
    case cmd::kStandardScreen:
      SetArrangement(ws, shell, Arrangement::kNormal);
      return true;
    case cmd::kTreeViewUp:
      SetTreeView(ws, shell, 0);
      return true;
    case cmd::kTreeViewDown:
      SetTreeView(ws, shell, 1);
      return true;

    case cmd::kToolbarShown:
      s.check_tool = Toggled(s.check_tool);
      shell.ShowToolbar(On(s.check_tool));
      shell.LayOut();
      return true;
    case cmd::kStatusBarShown:
      if (!On(s.check_status)) {
        shell.ShowStatusBar(true);
        s.check_status = 1;
      } else {
        s.check_status = 0;
        shell.ShowStatusBar(false);
      }
      shell.LayOut();
      return true;
    case cmd::kMenuBarShown:
      s.check_menu = Toggled(s.check_menu);
      shell.ShowMenuBar(On(s.check_menu));
      return true;
    case cmd::kTray:
      s.check_task = Toggled(s.check_task);
      if (!On(s.check_task)) shell.RemoveTrayIcon();
      return true;
    case cmd::kRestore:
      shell.RestoreFromTray();
      return true;
    case cmd::kExit:
      shell.Exit();
      return true;

    case cmd::kMonochromeOn:
    case cmd::kMonochromeOff:
      ws.monochrome = id == cmd::kMonochromeOn;
      RepaintVisibleCharts(ws, shell);
      return true;

    case cmd::kChartUpdate:
    case cmd::kChartTemporaryUpdate:
    case cmd::kChartInitialise:
    case cmd::kChartRangeInitialise:
      RunChartDataCommand(ws, shell, prompt, id);
      return true;
    case cmd::kAllBrandsDownload:
      // Greyed while busy; should it arrive anyway, the all-brands job must not run beside a
      // single-brand job on the same files.
      if (ws.busy()) {
        prompt.Message(kMsgOtherBrandBusy, kCaptionWarning, PromptIcon::Warning);
        return true;
      }
      shell.RunDialog(DialogId::kAllBrandsDownload);
      // The list shows the quotes stored, also those of a job cancelled half way.
      RefillList(ws, shell, prompt);
      return true;
    case cmd::kUpdateInitialData:
      ApplyDefaultData(s.data_folder(), ws.brands, prompt);
      shell.SetCaption(BrandCaption(ws));  // the shown brand may have got its name
      RefillList(ws, shell, prompt);
      return true;
    case cmd::kResetSettings:
      if (s.reset_to_defaults(prompt)) {
        // The shown brand is a reset value too.
        ShowBrandTitle(ws, shell);
        ReloadSeries(ws);
        shell.ReloadSettingsView();
        if (s.check_bview >= 0 && s.check_bview < 4) shell.SelectChartTab(s.check_bview);
        shell.LayOut();
        RefreshVisibleCharts(ws, shell);
      }
      return true;

    case cmd::kNextBrand:
      ShowBrand(ws, shell, prompt, BrowseCode(ws, +1));
      return true;
    case cmd::kPreviousBrand:
      ShowBrand(ws, shell, prompt, BrowseCode(ws, -1));
      return true;

    case cmd::kWebBrowser:
      shell.StartWebBrowser();
      return true;
    case 32801:  // ホームページ: the maker's site, on the configured host
      shell.OpenUrl(MakerSiteUrl(NetConfigFromSettings(s)));
      return true;
    case cmd::kKeyLink1:
      OpenKeyLink(s.check_key_link01, shell);
      return true;
    case cmd::kKeyLink2:
      OpenKeyLink(s.check_key_link02, shell);
      return true;
    case cmd::kKeyLink3:
      OpenKeyLink(s.check_key_link03, shell);
      return true;
  }
  return false;
}

void MarkWindowCommand(const Workspace& ws, int id, MenuItemState& state) {
  const SettingsStore& s = ws.settings;
  if (const FlagCommand* f = FindFlag(kOverlayCommands, id)) {
    state.checked = On(s.*(f->flag));
  } else if (const FlagCommand* f = FindFlag(kIndicatorCommands, id)) {
    state.checked = On(s.*(f->flag));
  } else if (int type = IndexOf(kChartTypeCommands, id); type >= 0) {
    state.checked = On(s.check_soku_check) ? On(s.check_sokup[type]) : s.check_soku == type;
  } else if (int period = IndexOf(kPeriodCommands, id); period >= 0) {
    state.checked = s.check_ymd == period;
  } else if (int mode = IndexOf(kLineModeCommands, id); mode >= 0) {
    state.checked = s.check_wline == mode;
  } else if (int mode = IndexOf(kChartModeCommands, id); mode >= 0) {
    state.checked = s.check_bview == mode;
  } else {
    switch (id) {
      case cmd::kNoPriceGraph:
        state.checked = !On(s.check_soku_check) && s.check_soku == kNoPriceGraph;
        break;
      case cmd::kMultipleTypes:
        state.checked = On(s.check_soku_check);
        break;
      case cmd::kCrosshair:
        state.checked = On(s.check_cross);
        break;
      case cmd::kSplitAdjustment:
        state.checked = On(s.check_adjustment);
        break;
      case cmd::kBaseLines:
        // The chart draws the base lines when either the run-time switch or the stored check_shi_pf
        // is on; the mark says whether they are drawn.
        state.checked = On(s.runtime.base_line) || On(s.check_shi_pf);
        break;
      case cmd::kSingleDisplay:
        state.checked = !On(s.check_tec_dc);
        break;
      case cmd::kMultipleDisplay:
        state.checked = On(s.check_tec_dc);
        break;
      case cmd::kToolbarShown:
        state.checked = On(s.check_tool);
        break;
      case cmd::kStatusBarShown:
        state.checked = On(s.check_status);
        break;
      case cmd::kTray:
        state.checked = On(s.check_task);
        break;
    }
  }
}

}  // namespace sorano
