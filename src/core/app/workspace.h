#pragma once
// The process-wide state of the running program: one Workspace per process (main() makes it, every
// test makes its own). Panes, commands and download jobs all read and change this one object; there
// are no other mutable globals.
#include <cstdint>
#include <memory>
#include <optional>

#include "core/chart/chart_window.h"
#include "core/chart/comparison_series.h"
#include "core/chart/price_series.h"
#include "core/lists/brand_list.h"
#include "core/lists/brand_tree.h"
#include "core/lists/folder_book.h"
#include "core/memo/memo_session.h"
#include "core/net/download_job.h"
#include "core/portfolio/portfolio_book.h"
#include "core/settings/settings_store.h"
#include "core/store/brand_table.h"

namespace sorano {

// The temporary full-screen arrangements of the view menu. They are never stored: a new start shows
// the normal arrangement, and the arrangement chosen lasts (through window resizes) until another one
// is chosen.
enum class Arrangement : int32_t {
  kNormal = 0,     // 標準画面
  kChartOnly,      // チャート全画面
  kTechnicalOnly,  // テクニカル全画面
  kListOnly,       // リスト全画面
};

struct Workspace {
  Workspace() = default;
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // Every stored value; the base-line switch of the price chart is settings.runtime.base_line.
  SettingsStore settings;
  BrandTable brands;
  // The user's folders with their file data/mybrand.dat.
  FolderBook folders;
  // The account and the trade history with their files.
  PortfolioBook portfolio;

  // The shown brand (settings.check_code) in the period settings.check_ymd, split-adjusted as
  // settings.check_adjustment says, and the window both chart panes show onto it.
  PriceSeries series;
  ChartWindow window;
  // The comparison chart's brands (check_hikaku_code00-02), kept between paints; forgotten whenever
  // the shown series is read again, which is also how every download job ends.
  ComparisonSeriesSet comparisons;

  // The brand tree's selected node (check_tree_hItem remembers it); none before the tree is built.
  std::optional<NodeId> treeNode;
  // What the list pane shows, and the index membership its 指標別 categories list.
  BrandList list;
  SizeClasses sizeClasses;
  // The memo of the memo tab, with its brand.
  MemoSession memo;

  // Print mode: every chart-like pane paints in black and white while it is set. Off at start.
  bool monochrome = false;
  Arrangement arrangement = Arrangement::kNormal;

  // Modeless windows the check marks follow; the desktop layer sets them as it opens and closes them.
  bool memoWindowOpen = false;
  bool intradayWindowOpen = false;

  // The busy flag (downloads.busy) and the job threads. Declared last so that it is destroyed first:
  // a running job is stopped and joined while the tables it writes still exist.
  DownloadState downloads;

  int32_t code() const { return settings.check_code; }
  // A single-brand download job or the new-version check runs.
  bool busy() const { return downloads.busy.load() != 0; }
};

// Reads the shown brand's series again (check_code, check_ymd, check_adjustment) into ws.series and
// moves the chart window to its end, so that the next paint shows the newest bars (a temporary bar is
// dropped); the comparison brands are read again at their next paint. Returns the bar count, -1 when
// the brand has no price file.
int ReloadSeries(Workspace& ws);

}  // namespace sorano
