#pragma once
// The command set of the main window as data: every command identifier with its menu text, key and
// help sentence; the layout of menu 202 (the main menu) and menu 203 (the context menus); the toolbar.
// The desktop layer builds its menus, toolbar and accelerators by walking these tables.
#include <span>
#include <string_view>

namespace sorano {

// Command identifiers used by name in code. Every identifier has one row in Commands().
namespace cmd {
inline constexpr int kAbout = 104;
inline constexpr int kExit = 105;
inline constexpr int kSettingsDialog = 32771;
inline constexpr int kHelp = 32773;
inline constexpr int kResetSettings = 32804;
inline constexpr int kDaily = 32812;
inline constexpr int kWeekly = 32813;
inline constexpr int kMonthly = 32814;
inline constexpr int kToolbarShown = 32817;
inline constexpr int kChartFull = 32849;
inline constexpr int kTechnicalFull = 32850;
inline constexpr int kListFull = 32851;
inline constexpr int kStandardScreen = 32852;
inline constexpr int kReadMe = 32854;
inline constexpr int kChartUpdate = 32855;
inline constexpr int kChartInitialise = 32856;
inline constexpr int kChartTemporaryUpdate = 32867;
inline constexpr int kCrosshair = 32892;
inline constexpr int kMenuBarShown = 32919;
inline constexpr int kStatusBarShown = 32920;
inline constexpr int kAllBrandsDownload = 32921;
inline constexpr int kCopyChart = 32923;
inline constexpr int kCopyTechnical = 32924;
inline constexpr int kMonochromeOn = 32933;
inline constexpr int kMonochromeOff = 32934;
inline constexpr int kWebBrowser = 32937;
inline constexpr int kStandardChart = 32942;
inline constexpr int kTimeSeriesChart = 32943;
inline constexpr int kEmptyChartArea = 32945;
inline constexpr int kUpdateInitialData = 32946;
inline constexpr int kMultipleTypes = 32952;
inline constexpr int kNoPriceGraph = 32953;
inline constexpr int kKeyLink1 = 32954;
inline constexpr int kKeyLink2 = 32955;
inline constexpr int kKeyLink3 = 32956;
inline constexpr int kLineFree = 32957;
inline constexpr int kLineHorizontal = 32958;
inline constexpr int kLineSnap = 32959;
inline constexpr int kSplitAdjustment = 32962;
inline constexpr int kTreeViewUp = 32963;
inline constexpr int kTreeViewDown = 32964;
inline constexpr int kChartRangeInitialise = 32970;
inline constexpr int kComparisonChart = 32972;
inline constexpr int kPercentageChart = 32977;
inline constexpr int kChartTabsShown = 32978;
inline constexpr int kSelectionChartUpdate = 32979;
inline constexpr int kClearIndicators = 33009;
inline constexpr int kBaseLines = 33015;
inline constexpr int kSingleDisplay = 33016;
inline constexpr int kMultipleDisplay = 33017;
inline constexpr int kIntraday = 33018;
inline constexpr int kTray = 33019;
inline constexpr int kRestore = 33020;
inline constexpr int kNextBrand = 33021;
inline constexpr int kPreviousBrand = 33023;
inline constexpr int kLineVertical = 33024;
// The system-menu (window context menu) item "メニューバーの表示(&M)"; it works like kMenuBarShown.
inline constexpr int kSysMenuMenuBar = 10007;
}  // namespace cmd

// The area of the program that carries a command out (command_area.h). An area that is not built yet
// is not in the area table, and its commands are shown disabled until it is.
enum class Work {
  kWindow,          // the window, its bars and panes, the charts and the downloads of the shown brand
  kSearch,          // code/name search and screening dialogs
  kTree,            // brand tree commands
  kList,            // list pane commands, links and editors
  kPortfolio,       // holdings and trade history
  kMemo,            // memo window and memo editing
  kExport,          // time-series export
  kPrint,           // capture: pane pictures to the clipboard, bitmap files and the printer
  kIntraday,        // intraday chart window
  kSettingsDialog,  // the settings dialog
  kAbout,           // About box
  kHelpFiles,       // help file and ReadMe shipped with the program
};

struct CommandInfo {
  int id;
  // The menu text exactly as menus show it; a "\t" separates the key shown at the right. Empty for a
  // command without a menu item.
  std::string_view text;
  // The key that sends the command, in the portable "Ctrl+PgDown" notation; empty when none.
  std::string_view shortcut;
  // The help sentence shown as tool tip and as status-bar help (UTF-8, Japanese).
  std::string_view help;
  Work work;
  // One of the data commands that are greyed while the busy flag is set.
  bool dataCommand;
};

// Every command, each identifier once, ordered by identifier.
std::span<const CommandInfo> Commands();
// nullptr for an unknown identifier.
const CommandInfo* FindCommand(int id);

enum class MenuEntryKind {
  kCommand,  // id, text (empty: the command's text)
  kSeparator,
  kPopup,     // a submenu begins; text is its title
  kEnd,       // the innermost open submenu ends
  kInactive,  // an item with text and no command, always disabled
};

struct MenuEntry {
  MenuEntryKind kind;
  int id = 0;
  std::string_view text = {};
};

// Menu 202: the seven top-level pop-ups of the menu bar, each a kPopup ... kEnd run.
std::span<const MenuEntry> MainMenu();
// Menu 203: five pop-ups in this order (index = position among the top-level kPopup entries).
namespace context_menu {
inline constexpr int kTree = 0;       // "ツリー側"
inline constexpr int kList = 1;       // "リストビュー側": four submenus, below
inline constexpr int kChart = 2;      // "チャート側"
inline constexpr int kTechnical = 3;  // "テクニカル側"
inline constexpr int kTray = 4;       // "タスクバー側"
// Submenus of kList.
inline constexpr int kListBrands = 0;   // "銘柄メニュー"
inline constexpr int kListMemo = 1;     // "メモメニュー"
inline constexpr int kListAccount = 2;  // "口座メニュー"
inline constexpr int kListHistory = 3;  // "履歴メニュー"
}  // namespace context_menu
std::span<const MenuEntry> ContextMenus();

// The toolbar of rebar band 0: 21 entries, id 0 for a separator; bitmap is the resource number of
// the button's 24 x 24 image.
struct ToolbarButton {
  int id;
  int bitmap;
};
std::span<const ToolbarButton> ToolbarButtons();

// The help sentence of a command; empty for an unknown identifier.
std::string_view CommandHelp(int id);

}  // namespace sorano
