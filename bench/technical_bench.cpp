// The technical pane's paint with every indicator on, in multiple display, over a full 12000-bar
// series showing its newest bars: on a QImage canvas as a multiple of a bare fill of the same pane
// (counter x_fill; the aim is below 60), and on a canvas that draws nothing, which leaves the
// indicator computation and the painter's own work.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <random>

#include "core/chart/chart_window.h"
#include "core/chart/price_series.h"
#include "core/technical/technical_pane.h"
#include "null_canvas.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 400;

// A random walk of 12000 daily bars with volumes.
const PriceSeries& Series() {
  static const PriceSeries series = [] {
    PriceSeries s;
    std::mt19937 rng(12000);
    std::vector<PriceBar> bars(PriceSeries::kCapacity);
    int32_t close = 1500;
    for (size_t i = 0; i < bars.size(); ++i) {
      PriceBar& b = bars[i];
      b.year = 1980 + static_cast<int32_t>(i / 250);
      b.month = 1 + static_cast<int32_t>(i / 21 % 12);
      b.day = 1 + static_cast<int32_t>(i % 21);
      b.open = close;
      close = std::max(10, close + static_cast<int32_t>(rng() % 61) - 30);
      b.close = close;
      b.high = std::max(b.open, b.close) + static_cast<int32_t>(rng() % 20);
      b.low = std::max(1, std::min(b.open, b.close) - static_cast<int32_t>(rng() % 20));
      b.volume = 50000 + static_cast<int32_t>(rng() % 2000000);
    }
    s.Assign(bars);
    return s;
  }();
  return series;
}

TechnicalSettings AllOn() {
  TechnicalSettings s;
  s.check_tec_dc = 1;
  for (int32_t* f :
       {&s.check_tec_kairi_sma01, &s.check_tec_kairi_sma02, &s.check_tec_kairi_sma03, &s.check_tec_dpo,
        &s.check_tec_volume,      &s.check_tec_volume_sma,  &s.check_tec_shinyouu,    &s.check_tec_aroon,
        &s.check_tec_mfi,         &s.check_tec_rsi,         &s.check_tec_dmi,         &s.check_tec_william,
        &s.check_tec_stochastic,  &s.check_tec_momentamu,   &s.check_tec_roc,         &s.check_tec_rci,
        &s.check_tec_macd_sma,    &s.check_tec_vr,          &s.check_tec_wvr,         &s.check_tec_dvr,
        &s.check_tec_psy})
    *f = 1;
  s.check_line_w_x = 1;
  return s;
}

// The window of the newest bars at chart width chsize.
ChartWindow NewestWindow(int chsize) {
  ChartWindow w;
  w.labelWidth = 40;
  LayoutChartWindow(w, chsize, kWidth, Series().count());
  FitChartWindow(w, kWidth, Series().count(), 0);
  return w;
}

// CPU seconds of this process: the ratio to the fill should not depend on what else the machine runs.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double SecondsPerFill(QtCanvas& canvas) {
  constexpr int kRounds = 500;
  const double start = CpuSeconds();
  for (int i = 0; i < kRounds; ++i) {
    canvas.FillRect(0, 0, kWidth, kHeight, 0x001E00);
    benchmark::DoNotOptimize(canvas.image().constBits());
  }
  return (CpuSeconds() - start) / kRounds;
}

void BM_TechnicalFill(benchmark::State& state) {
  QtCanvas canvas(kWidth, kHeight);
  for (auto _ : state) {
    canvas.FillRect(0, 0, kWidth, kHeight, 0x001E00);
    benchmark::DoNotOptimize(canvas.image().constBits());
  }
}
BENCHMARK(BM_TechnicalFill);

void BM_TechnicalPaneAllOn(benchmark::State& state) {
  QtCanvas canvas(kWidth, kHeight);
  const TechnicalSettings s = AllOn();
  const ChartWindow w = NewestWindow(static_cast<int>(state.range(0)));
  const double fill = SecondsPerFill(canvas);
  double total = 0;
  for (auto _ : state) {
    const double start = CpuSeconds();
    PaintTechnicalPane(canvas, s, Series(), w);
    benchmark::DoNotOptimize(canvas.image().constBits());
    total += CpuSeconds() - start;
  }
  state.counters["bars"] = w.visible;
  state.counters["x_fill"] = total / static_cast<double>(state.iterations()) / fill;
}
BENCHMARK(BM_TechnicalPaneAllOn)->Arg(5)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_TechnicalIndicatorsNullCanvas(benchmark::State& state) {
  bench::NullCanvas canvas(kWidth, kHeight);
  const TechnicalSettings s = AllOn();
  const ChartWindow w = NewestWindow(static_cast<int>(state.range(0)));
  for (auto _ : state) PaintTechnicalPane(canvas, s, Series(), w);
  state.counters["bars"] = w.visible;
}
BENCHMARK(BM_TechnicalIndicatorsNullCanvas)->Arg(5)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sorano

int main(int argc, char** argv) {
  // Fonts need a GUI application; no display is needed.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
