// The paint of a 1920 x 800 price chart pane over a 12000-bar series, through the Qt canvas and
// through a canvas that draws nothing, with everything switched on and with candles and the three
// SMAs. Each paint also reports its time as a multiple of a bare QImage fill of the same size measured
// in the same run ("x_fill"). Aims: everything within 100 fills, candles with the SMAs within 10.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <chrono>
#include <cmath>
#include <memory>

#include "core/chart/chart_painter.h"
#include "null_canvas.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 800;

// A random-walk-like daily series of 12000 bars with a split in the middle.
const PriceSeries& Series() {
  static const std::unique_ptr<PriceSeries> series = [] {
    auto s = std::make_unique<PriceSeries>();
    std::vector<PriceBar> bars;
    double price = 3000;
    int y = 1960, m = 1, d = 4;
    for (int i = 0; i < PriceSeries::kCapacity; ++i) {
      PriceBar b;
      b.year = y, b.month = m, b.day = d;
      const double change = std::sin(i * 0.37) * 0.02 + std::sin(i * 0.011) * 0.01;
      b.open = static_cast<int>(price);
      price = std::max(50.0, price * (1 + change));
      b.close = static_cast<int>(price);
      b.high = std::max(b.open, b.close) + static_cast<int>(price * 0.01);
      b.low = std::min(b.open, b.close) - static_cast<int>(price * 0.01);
      b.volume = 100000 + (i * 7919) % 500000;
      b.factor = i < 6000 ? 0.5 : 1.0;
      bars.push_back(b);
      if (++d > 28) d = 1, m = m % 12 + 1, y += m == 1;
    }
    s->Assign(bars);
    return s;
  }();
  return *series;
}

ChartSettings CandlesAndSma() {
  ChartSettings s;
  s.check_soku = 0;
  s.check_shi_sma = 1;
  return s;
}

ChartSettings Everything() {
  ChartSettings s;
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

double g_fillSeconds = 0;  // one bare fill, measured before the paints

void MeasureFill() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const int rounds = 200;
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    image.fill(static_cast<uint>(i));
    benchmark::DoNotOptimize(image.constBits());
  }
  g_fillSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / rounds;
}

void BM_QImageFill(benchmark::State& state) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  uint v = 0;
  for (auto _ : state) {
    image.fill(v++);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_QImageFill);

template <typename MakeCanvas>
void Paint(benchmark::State& state, const ChartSettings& settings, MakeCanvas make) {
  auto canvas = make();
  const PriceSeries& series = Series();
  BaseLineInputs brand{2500, 40, 1000000};
  ChartExtras extras;
  extras.code = 7203;
  extras.comparison = &series;
  extras.brand = &brand;
  ChartWindow w;
  LayoutChartWindow(w, settings.check_chsize, kWidth, series.count());
  PaintPriceChart(*canvas, settings, series, w, extras);  // label width, as after a first paint
  LayoutChartWindow(w, settings.check_chsize, kWidth, series.count());
  const auto t0 = std::chrono::steady_clock::now();
  for (auto _ : state) {
    PaintPriceChart(*canvas, settings, series, w, extras);
    if constexpr (std::is_same_v<decltype(canvas), std::unique_ptr<QtCanvas>>) {
      benchmark::DoNotOptimize(canvas->image().constBits());  // flush the painter
    }
  }
  const double perPaint = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() /
                          static_cast<double>(state.iterations());
  state.counters["x_fill"] = g_fillSeconds > 0 ? perPaint / g_fillSeconds : 0;
  state.counters["bars"] = w.visible;
}

void BM_PaintQt_Everything(benchmark::State& state) {
  Paint(state, Everything(), [] { return std::make_unique<QtCanvas>(kWidth, kHeight); });
}
void BM_PaintQt_CandlesSma(benchmark::State& state) {
  Paint(state, CandlesAndSma(), [] { return std::make_unique<QtCanvas>(kWidth, kHeight); });
}
void BM_PaintNull_Everything(benchmark::State& state) {
  Paint(state, Everything(), [] { return std::make_unique<bench::NullCanvas>(kWidth, kHeight); });
}
void BM_PaintNull_CandlesSma(benchmark::State& state) {
  Paint(state, CandlesAndSma(), [] { return std::make_unique<bench::NullCanvas>(kWidth, kHeight); });
}
BENCHMARK(BM_PaintQt_Everything)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintQt_CandlesSma)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintNull_Everything)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintNull_CandlesSma)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sorano

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  sorano::MeasureFill();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
