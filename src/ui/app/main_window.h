#pragma once
// The main window: menus, toolbar bands, status bar and panes built from core's tables, every command
// carried out by ExecuteCommand, and the Shell through which command handling acts on the widgets.
#include <QHash>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>
#include <array>
#include <memory>
#include <span>
#include <string>

#include "core/app/command_handler.h"
#include "core/app/commands.h"
#include "core/app/pane_layout.h"
#include "core/settings/registry_backend.h"
#include "ui/app/about_box.h"
#include "ui/app/completion_sound.h"
#include "ui/app/qt_prompt.h"
#include "ui/chart/chart_model.h"
#include "ui/intraday/intraday_window.h"
#include "ui/portfolio/portfolio_dialogs.h"
#include "ui/settings/settings_dialog.h"

class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QSlider;
class QTabBar;
class QToolBar;

namespace sorano {

class ChartPaneWidget;
class ListsController;
class SearchBand;
class TechnicalPaneWidget;
class TimeSeriesPaneWidget;
class ComparisonPaneWidget;
class OutputController;
class SplitterBar;
class ProgressDialog;

class MainWindow : public QMainWindow, public Shell {
  Q_OBJECT
 public:
  // registry and key: where the exit sequence saves the settings (registry may be null: nothing saved).
  MainWindow(Workspace& ws, RegistryBackend* registry, std::string key, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Places and shows the window from check_rc, check_window and check_sizing.
  void ShowAtSavedPlace();
  // Another start asked this one to come forward.
  void BringForward();
  // The start-up version check (check_version), when nothing else is busy.
  void StartVersionCheckIfWanted();

  // Runs a command as a menu choice does; false when it is disabled or unknown.
  bool RunCommand(int id);

  // For the tests and the window's own wiring.
  QAction* Action(int id) const { return actions_.value(id, nullptr); }
  QAction* ToolbarAction(int id) const { return toolbarActions_.value(id, nullptr); }
  QMenu* ContextMenu(int index) const;
  QMenu* WindowMenu() const { return windowMenu_; }
  ChartPaneWidget* chartPane() const { return chart_; }
  ListsController* lists() const { return lists_; }
  TechnicalPaneWidget* technicalPane() const { return technical_; }
  TimeSeriesPaneWidget* timeSeriesPane() const { return timeSeries_; }
  ComparisonPaneWidget* comparisonPane() const { return comparison_; }
  QWidget* pane(Pane p) const;
  SplitterBar* splitter(Splitter s) const;
  QWidget* backFrame() const { return back_; }
  QTabBar* chartTabs() const { return tabs_; }
  const PaneLayout& lastLayout() const { return layout_; }
  SearchBand* searchBand() const { return searchBand_; }
  QLineEdit* codeBox() const;
  QSlider* widthSlider() const { return widthSlider_; }
  QString StatusPart(int i) const;

  // ---- Shell ----
  void Repaint(Pane pane) override;
  void Refresh(Pane pane) override;
  void LayOut() override;
  void UpdateMenuMarks() override;
  void ReloadSettingsView() override;
  void SetCaption(std::string_view utf8) override;
  void SelectChartTab(int index) override;
  void ShowToolbar(bool shown) override;
  void ShowStatusBar(bool shown) override;
  void ShowMenuBar(bool shown) override;
  void RemoveTrayIcon() override;
  void RestoreFromTray() override;
  void Exit() override;
  bool OpenUrl(const std::string& url) override;
  bool OpenFile(const std::string& path) override;
  bool StartWebBrowser() override;
  bool RunDialog(DialogId dialog) override;
  void StartDownload(SingleBrandJob job) override;
  SettingsSheetView& settingsSheet() override { return settingsSheet_; }
  AboutBoxView& aboutBox() override { return aboutBox_; }
  IntradayView& intraday() override { return intraday_; }
  SearchView& Search() override;
  PortfolioView& Portfolio() override { return portfolio_; }
  IntradayWindow* intradayWindow() const { return intraday_.window(); }
  ListsView& Lists() override;
  OutputShell& output() override;

 protected:
  void closeEvent(QCloseEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void changeEvent(QEvent*) override;
  QMenu* createPopupMenu() override;

 Q_SIGNALS:
  // The first chart frame is on the screen (the paint that drew it has been flushed). The list is
  // filled and the sound library loaded right after it (AfterFirstFrame).
  void FirstFrameShown();

 private:
  // Once: the list of the remembered node is filled and the sound library loaded.
  void AfterFirstFrame();
  void BuildActions();
  QMenu* BuildMenu(std::span<const MenuEntry> entries, size_t& i, QMenu* menu);
  void BuildMenus();
  void BuildBands();
  void BuildStatusBar();
  void BuildPanes();
  void ApplyLayout(bool updateStatusParts);
  void ShowReadout(const QStringList& parts);
  void MoveToTray();
  JobContext MakeJobContext() const;
  void ApplyTemporaryBar(int index, const ChartRecord& bar, const VolumeRecord& volume);
  void FinishJobs();
  void StoreBandRecords();
  void RestoreBandOrder();

  Workspace& ws_;
  RegistryBackend* registry_;
  std::string key_;
  QtPrompt prompt_;
  CompletionSound sound_;
  bool afterFirstFrameDone_ = false;
  Crosshair crosshair_;

  QHash<int, QAction*> actions_;         // one per command, shared by the menu bar and the context menus
  QHash<int, QAction*> toolbarActions_;  // the toolbar's own (its radio groups differ from the menus)
  QList<QMenu*> contextMenus_;           // menu 203's five pop-ups
  QMenu* windowMenu_ = nullptr;          // the window's own menu with "メニューバーの表示(&M)"
  std::array<QToolBar*, 3> bands_{};
  QSlider* widthSlider_ = nullptr;
  SearchBand* searchBand_ = nullptr;
  std::array<QLabel*, 11> statusParts_{};

  QWidget* client_ = nullptr;  // the central widget: everything below the bands and above the status bar
  QFrame* separator_ = nullptr;
  QWidget* back_ = nullptr;
  ListsController* lists_ = nullptr;
  QWidget* tree_ = nullptr;
  QWidget* list_ = nullptr;
  TimeSeriesPaneWidget* timeSeries_ = nullptr;
  ComparisonPaneWidget* comparison_ = nullptr;
  ChartPaneWidget* chart_ = nullptr;
  TechnicalPaneWidget* technical_ = nullptr;
  std::unique_ptr<OutputController> output_;
  SplitterBar* splitterV_ = nullptr;
  SplitterBar* splitterHT_ = nullptr;
  SplitterBar* splitterHB_ = nullptr;
  QTabBar* tabs_ = nullptr;
  PaneLayout layout_;
  bool layingOut_ = false;

  QSystemTrayIcon* tray_ = nullptr;
  QPointer<ProgressDialog> progress_;
  bool fetchBands_ = true;  // false after the exit command: the band layout read at start is kept
  bool closed_ = false;

  // The windows of the option and help menus; the intraday window closes before the rest goes.
  SettingsSheetRunner settingsSheet_{this};
  AboutBoxRunner aboutBox_{this};
  PortfolioDialogs portfolio_{this};
  IntradayController intraday_{ws_, this, [this] { UpdateMenuMarks(); }};
};

}  // namespace sorano
