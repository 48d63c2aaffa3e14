// The brand list: filling "すべて" from the shipped brand list (about 4000 brands; aim 1 ms) and
// sorting 4000 rows on each column of the price and performance pages (aim 5 ms), in core; and in the
// main window offscreen, a tree click and a header click until the list is painted (aim 50 ms) and a
// page of scrolling until it is painted again (aim 16 ms a frame).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <cstdio>
#include <memory>
#include <random>

#include "core/app/lists_area.h"
#include "shipped_brands.h"
#include "ui/app/main_window.h"
#include "ui/lists/list_pane.h"
#include "ui/lists/lists_controller.h"
#include "ui/lists/tree_pane.h"

namespace sorano {
namespace {

// A data folder seeded from the shipped brand list, quotes filled with random figures.
struct Data {
  bench::ShippedDataFolder folder;
  std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();

  Data() {
    std::snprintf(ws->settings.runtime.data_path, sizeof ws->settings.runtime.data_path, "%s",
                  folder.path().c_str());
    folder.Load(ws->brands);
    std::mt19937 rng(4000);
    for (BrandRecord& r : ws->brands.records()) {
      if (r.price == 0) continue;
      r.price = 100 + static_cast<int32_t>(rng() % 20000);
      r.change = static_cast<int32_t>(rng() % 401) - 200;
      r.changePercent = static_cast<double>(r.change) * 100.0 / r.price;
      r.volume = static_cast<int32_t>(rng() % 10000000);
      r.marketCap = static_cast<int32_t>(rng() % 50000000);
      r.dividendYield = static_cast<double>(rng() % 800) / 100.0;
      r.dividendPerShare = static_cast<double>(rng() % 100);
      r.eps = static_cast<double>(rng() % 50000) / 100.0 - 50;
      r.per = static_cast<double>(rng() % 5000) / 100.0;
    }
  }
  ListTables Tables() const {
    return {ws->brands, ws->folders.table(), ws->portfolio.holdings(), ws->portfolio.trades(),
            ws->sizeClasses};
  }
};

Data& Shared() {
  static Data data;
  return data;
}

void BM_FillAll(benchmark::State& state) {
  Data& d = Shared();
  BrandList list;
  const ListSource all = SourceOf(kDefaultNode);
  for (auto _ : state) {
    list.Fill(all, d.Tables());
    benchmark::DoNotOptimize(list.rows().data());
  }
  state.counters["rows"] = static_cast<double>(list.rows().size());
}
BENCHMARK(BM_FillAll)->Unit(benchmark::kMicrosecond);

// Arg 0: the set (0 price, 2 performance), arg 1: the column.
void BM_Sort(benchmark::State& state) {
  Data& d = Shared();
  BrandList list;
  list.Fill(SourceOf(kDefaultNode), d.Tables());
  const auto set = static_cast<ColumnSet>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(list.Sort(set, static_cast<int>(state.range(1))));
  state.counters["rows"] = static_cast<double>(list.rows().size());
}
BENCHMARK(BM_Sort)
    ->ArgsProduct({{0}, benchmark::CreateDenseRange(0, 11, 1)})
    ->ArgsProduct({{2}, benchmark::CreateDenseRange(2, 12, 1)})
    ->Unit(benchmark::kMicrosecond);

// The main window on the shared data, the list showing "すべて".
struct Window {
  std::unique_ptr<MainWindow> window;
  TreePane* tree;
  ListPane* list;
  Window() {
    Data& d = Shared();
    d.ws->settings.check_tree_hItem = NodeKey(kDefaultNode);
    window = std::make_unique<MainWindow>(*d.ws, nullptr, "");
    window->resize(1280, 900);
    window->show();
    QApplication::processEvents();
    tree = window->lists()->tree();
    list = window->lists()->list();
    tree->expandAll();
  }
};

void BM_TreeClickToPaintedList(benchmark::State& state) {
  Window w;
  // Alternately "すべて" and "東証1部": both long lists.
  const QModelIndex nodes[] = {w.tree->IndexOf(kDefaultNode),
                               w.tree->IndexOf(NodeId{tree_root::kMarkets, 0})};
  int i = 0;
  for (auto _ : state) {
    const QModelIndex node = nodes[i++ % 2];
    QTest::mouseClick(w.tree->viewport(), Qt::LeftButton, {}, w.tree->visualRect(node).center());
    w.list->table()->viewport()->repaint();
  }
  state.counters["rows"] = static_cast<double>(Shared().ws->list.rows().size());
}
BENCHMARK(BM_TreeClickToPaintedList)->Unit(benchmark::kMillisecond);

void BM_HeaderClickToPaintedList(benchmark::State& state) {
  Window w;
  QHeaderView* header = w.list->table()->horizontalHeader();
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    w.list->table()->viewport()->repaint();
  }
}
BENCHMARK(BM_HeaderClickToPaintedList)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_ScrollFrame(benchmark::State& state) {
  Window w;
  QScrollBar* bar = w.list->table()->verticalScrollBar();
  for (auto _ : state) {
    bar->setValue(bar->value() + bar->pageStep() > bar->maximum() ? 0 : bar->value() + bar->pageStep());
    w.list->table()->viewport()->repaint();
  }
}
BENCHMARK(BM_ScrollFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sorano

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
