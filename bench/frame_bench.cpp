// One whole frame of the chart area: the price chart and the technical pane of a 1920 x 1080 client
// laid out by the default splitters, with every overlay and chart type on and every indicator in
// multiple display, over a 12000-bar series showing its newest bars, at each chart width 1 ... 10.
//
//  BM_Frame/W        both panes painted on their QtCanvas back buffers (the aim: 16 ms at every W);
//                    counter x_fill is the frame as a multiple of a bare QImage fill of the same two
//                    areas, measured in the same run, both in CPU time of this process;
//  BM_PriceChart/W, BM_TechnicalPane/W   the two halves of the frame;
//  BM_Painters/W     the frame on a canvas that draws nothing: overlays, indicators and text layout;
//  BM_Fill           the bare fill itself.
//
// Run with `make bench` (a Release build in build-release, minimum of several repetitions).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "core/app/pane_layout.h"
#include "core/chart/chart_painter.h"
#include "core/technical/technical_pane.h"
#include "null_canvas.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {
namespace {

// The panes of a 1920 x 1080 client with the default splitters (the bands and the status bar lie
// outside the client, as in the program); the price chart loses its scroll bar's height.
struct FrameGeometry {
  int width = 0;
  int chartHeight = 0;
  int technicalHeight = 0;
};

FrameGeometry Geometry() {
  LayoutInput in;
  in.clientWidth = 1920;
  in.clientHeight = 1080;
  in.tabHeight = 24;
  const PaneLayout layout = ComputePaneLayout(in);
  constexpr int kScrollBarHeight = 16;
  return {layout.priceChart.width, layout.priceChart.height - kScrollBarHeight, layout.technical.height};
}

// Daily bars on the weekdays from 6 January 1975: a random walk with volumes and a 1:2 split half way.
const PriceSeries& Series() {
  static const PriceSeries series = [] {
    std::vector<PriceBar> bars;
    std::mt19937 rng(12000);
    int32_t close = 1500;
    int y = 1975, m = 1, d = 6, weekday = 1;  // Monday
    const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    while (bars.size() < static_cast<size_t>(PriceSeries::kCapacity)) {
      if (weekday >= 1 && weekday <= 5) {
        PriceBar b;
        b.year = y, b.month = m, b.day = d;
        b.open = close;
        close = std::max(10, close + static_cast<int32_t>(rng() % 61) - 30);
        b.close = close;
        b.high = std::max(b.open, b.close) + static_cast<int32_t>(rng() % 20);
        b.low = std::max(1, std::min(b.open, b.close) - static_cast<int32_t>(rng() % 20));
        b.volume = 50000 + static_cast<int32_t>(rng() % 2000000);
        b.factor = bars.size() < PriceSeries::kCapacity / 2 ? 0.5 : 1.0;
        bars.push_back(b);
      }
      weekday = (weekday + 1) % 7;
      const bool leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
      if (++d > days[m - 1] + (m == 2 && leap ? 1 : 0)) d = 1, m = m % 12 + 1, y += m == 1;
    }
    PriceSeries s;
    s.Assign(bars);
    return s;
  }();
  return series;
}

ChartSettings ChartEverything(int chsize) {
  ChartSettings s;
  s.check_chsize = chsize;
  s.check_soku_check = 1;
  s.check_sokup.fill(1);
  s.check_line_w_x = 1;
  for (int32_t* on :
       {&s.check_shi_sma,       &s.check_shi_nakati,   &s.check_shi_wma,      &s.check_shi_tma,
        &s.check_shi_ema,       &s.check_shi_lma,      &s.check_shi_epma,     &s.check_shi_swma,
        &s.check_shi_enbe_sma,  &s.check_shi_enbe_wma, &s.check_shi_bori_sma, &s.check_shi_bori_wma,
        &s.check_shi_itimoku,   &s.check_shi_para,     &s.check_shi_zigzag,   &s.check_shi_tenpen,
        &s.check_shi_kakakutai, &s.check_hikakuline,   &s.check_adjuston,     &s.baseLines})
    *on = 1;
  s.para_shi_zigzag = 0.02;
  return s;
}

TechnicalSettings TechnicalEverything() {
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

// CPU seconds of this process: a ratio of two of them does not depend on what else the machine runs.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One bare fill of both areas: the least of several rounds, like the frame figures.
double SecondsPerFill() {
  static const double seconds = [] {
    const FrameGeometry g = Geometry();
    QImage chart(g.width, g.chartHeight, QImage::Format_RGB32);
    QImage technical(g.width, g.technicalHeight, QImage::Format_RGB32);
    double best = 1e9;
    for (int round = 0; round < 20; ++round) {
      constexpr int kFills = 50;
      const double start = CpuSeconds();
      for (int i = 0; i < kFills; ++i) {
        chart.fill(static_cast<uint>(i));
        technical.fill(static_cast<uint>(i));
        benchmark::DoNotOptimize(chart.constBits());
        benchmark::DoNotOptimize(technical.constBits());
      }
      best = std::min(best, (CpuSeconds() - start) / kFills);
    }
    return best;
  }();
  return seconds;
}

// The two panes of one frame and what they draw with.
template <class CanvasType>
struct Frame {
  explicit Frame(int chsize)
      : g(Geometry()),
        chartCanvas(g.width, g.chartHeight),
        technicalCanvas(g.width, g.technicalHeight),
        chart(ChartEverything(chsize)),
        technical(TechnicalEverything()) {
    extras.code = 7203;
    extras.comparison = &Series();
    extras.brand = &brand;
    // As the pane does: a layout, then a first paint that measures the label width for the next fit;
    // the layout again and the paint that fits the window the technical pane follows.
    for (int i = 0; i < 2; ++i) {
      LayoutChartWindow(window, chsize, g.width, Series().count());
      PaintChart();
    }
  }
  void PaintChart() {
    PaintPriceChart(chartCanvas, chart, Series(), window, extras);
    Flush(chartCanvas);
  }
  void PaintTechnical() {
    PaintTechnicalPane(technicalCanvas, technical, Series(), window);
    Flush(technicalCanvas);
  }
  static void Flush(QtCanvas& c) { benchmark::DoNotOptimize(c.image().constBits()); }
  static void Flush(bench::NullCanvas&) {}

  FrameGeometry g;
  CanvasType chartCanvas;
  CanvasType technicalCanvas;
  ChartSettings chart;
  TechnicalSettings technical;
  BaseLineInputs brand{2500, 40, 1000000};
  ChartExtras extras;
  ChartWindow window;
};

template <class CanvasType, class PaintStep>
void Run(benchmark::State& state, PaintStep paint) {
  Frame<CanvasType> frame(static_cast<int>(state.range(0)));
  double cpu = 0;
  for (auto _ : state) {
    const double start = CpuSeconds();
    paint(frame);
    cpu += CpuSeconds() - start;
  }
  state.counters["bars"] = frame.window.visible;
  state.counters["x_fill"] = cpu / static_cast<double>(state.iterations()) / SecondsPerFill();
}

void BM_Frame(benchmark::State& state) {
  Run<QtCanvas>(state, [](auto& f) {
    f.PaintChart();
    f.PaintTechnical();
  });
}
void BM_PriceChart(benchmark::State& state) {
  Run<QtCanvas>(state, [](auto& f) { f.PaintChart(); });
}
void BM_TechnicalPane(benchmark::State& state) {
  Run<QtCanvas>(state, [](auto& f) { f.PaintTechnical(); });
}
void BM_Painters(benchmark::State& state) {
  Run<bench::NullCanvas>(state, [](auto& f) {
    f.PaintChart();
    f.PaintTechnical();
  });
}

void BM_Fill(benchmark::State& state) {
  const FrameGeometry g = Geometry();
  QImage chart(g.width, g.chartHeight, QImage::Format_RGB32);
  QImage technical(g.width, g.technicalHeight, QImage::Format_RGB32);
  uint v = 0;
  for (auto _ : state) {
    chart.fill(v);
    technical.fill(v++);
    benchmark::DoNotOptimize(chart.constBits());
    benchmark::DoNotOptimize(technical.constBits());
  }
}

double Min(const std::vector<double>& v) {
  return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

void Widths(benchmark::internal::Benchmark* b) {
  b->DenseRange(1, 10)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);
}

BENCHMARK(BM_Fill)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);
BENCHMARK(BM_Frame)->Apply(Widths);
BENCHMARK(BM_PriceChart)->Apply(Widths);
BENCHMARK(BM_TechnicalPane)->Apply(Widths);
BENCHMARK(BM_Painters)->Apply(Widths);

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
