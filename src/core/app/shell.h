#pragma once
// The Shell seam: what command handling needs from the main window. Core decides what happens; the
// desktop layer carries it out on its widgets; tests record the calls.
#include <string>
#include <string_view>

#include "core/app/lists_view.h"
#include "core/net/download_job.h"

namespace sorano {

class AboutBoxView;
class IntradayView;
class PortfolioView;
class SearchView;
class SettingsSheetView;
class OutputShell;

// The panes of the main window.
enum class Pane {
  kPriceChart,  // mychild2
  kTechnical,   // mychild3
  kTimeSeries,  // mychild4
  kComparison,  // mychild5
  kTree,        // mychild1
  kList,        // mychild0
};

// Modal dialogs command handling opens, by their resource numbers.
enum class DialogId {
  kAllBrandsDownload = 227,  // "ヤフーファイナンスからダウンロード"
  kRangeInitialise = 247,    // "選択銘柄の指定初期化"
};

class Shell {
 public:
  virtual ~Shell() = default;

  // Repaint a pane from the current state (no geometry change).
  virtual void Repaint(Pane pane) = 0;
  // Send the pane a size notification and repaint it: for the price chart and the technical pane
  // this lays the ChartWindow out again, so the newest bars show (LayoutChartWindow).
  virtual void Refresh(Pane pane) = 0;
  // Lay the main window out again from the settings and the workspace (ComputePaneLayout).
  virtual void LayOut() = 0;
  // Recompute every menu item's check mark and enabled state (MenuState) and the toolbar buttons'
  // states (ToolbarButtonEnabled). Called after every command.
  virtual void UpdateMenuMarks() = 0;
  // Every bar and control that shows a setting reads it again (after the settings reset): the width
  // track bar, the toolbar and status bar visibility, the menu bar, the chart tab.
  virtual void ReloadSettingsView() = 0;

  // The main window's caption (UTF-8).
  virtual void SetCaption(std::string_view utf8) = 0;
  // Select the chart tab of check_bview 0..3.
  virtual void SelectChartTab(int index) = 0;
  // Show or hide the three rebar bands together.
  virtual void ShowToolbar(bool shown) = 0;
  virtual void ShowStatusBar(bool shown) = 0;
  virtual void ShowMenuBar(bool shown) = 0;
  // Remove the notification-area icon if it is shown.
  virtual void RemoveTrayIcon() = 0;
  // Restore the window from the notification area, as a left click on the icon does.
  virtual void RestoreFromTray() = 0;
  // Save the settings and end the program (the exit command: the band layout is not fetched).
  virtual void Exit() = 0;

  // Open an address in the web browser / a file with its program. False when nothing could be opened.
  virtual bool OpenUrl(const std::string& url) = 0;
  virtual bool OpenFile(const std::string& path) = 0;
  // Start the user's web browser on its start page.
  virtual bool StartWebBrowser() = 0;

  // Run a modal dialog; true when it was closed with OK (for kRangeInitialise: AcceptRange took the
  // period into ws.downloads and check_downloadday).
  virtual bool RunDialog(DialogId dialog) = 0;
  // Start a single-brand download job on the shown brand (StartSingleBrandJob with the window's
  // listener) and show the modal progress dialog "銘柄チャートデータダウンロード" until it ends. Called
  // only when the busy flag is clear.
  virtual void StartDownload(SingleBrandJob job) = 0;

  // The areas that need more of the window than the methods above (settings_sheet_view.h,
  // about_box.h, intraday_view.h, search_view.h, portfolio_view.h).
  virtual SettingsSheetView& settingsSheet() = 0;
  virtual AboutBoxView& aboutBox() = 0;
  virtual IntradayView& intraday() = 0;
  virtual SearchView& Search() = 0;
  virtual PortfolioView& Portfolio() = 0;

  // The brand tree, the list pane and the memo windows.
  virtual ListsView& Lists() = 0;

  // What the export and capture commands need of the desktop (output_shell.h).
  virtual OutputShell& output() = 0;
};

}  // namespace sorano
