// The chart area's other views and the output paths over 12000-bar series, in a Release build:
//  - the time-series export of every column: text, CSV and HTML (aim: 50 ms each), the .xlsx (1 s);
//  - the time-series table pane, 1000 x 1200 pixels (aim: 5 ms, whatever the series length);
//  - the comparison pane, 1920 x 800, with three comparison brands of 12000 days (aim: 30 ms);
//  - a 1920 x 1200 picture as a BMP file's bytes, with and without taking it out of a QImage (100 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <array>
#include <cmath>
#include <memory>

#include "core/chart/comparison_painter.h"
#include "core/chart/time_series_painter.h"
#include "core/output/bmp_file.h"
#include "core/output/time_series_export.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {
namespace {

// Daily bars on days 1 ... 28 of each month from 1960, a wave around `level`; `skip` leaves out every
// skip-th day (another brand's holidays), so the comparison has dates to match.
std::unique_ptr<PriceSeries> Series(double level, int skip) {
  auto s = std::make_unique<PriceSeries>();
  std::vector<PriceBar> bars;
  int y = 1960, m = 1, d = 1;
  for (int i = 0; static_cast<int>(bars.size()) < PriceSeries::kCapacity; ++i) {
    if (++d > 28) d = 1, m = m % 12 + 1, y += m == 1;
    if (skip > 0 && i % skip == 0) continue;
    const double p = level * (1.5 + std::sin(i * 0.013) * 0.4 + std::sin(i * 0.41) * 0.03);
    PriceBar b{y, m, d, static_cast<int>(p), static_cast<int>(p * 1.01), static_cast<int>(p * 0.99),
               static_cast<int>(p * 1.002), 100000 + (i * 7919) % 900000, 1.0};
    bars.push_back(b);
  }
  s->Assign(bars);
  return s;
}

const PriceSeries& Main() {
  static const auto s = Series(3000, 0);
  return *s;
}

void Export(benchmark::State& state, ExportFormat format) {
  const ExportOptions everything;  // every column, the header, no range
  size_t bytes = 0;
  for (auto _ : state) {
    const std::optional<std::string> file = ExportFile(Main(), everything, format);
    bytes = file ? file->size() : 0;
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
void BM_ExportText(benchmark::State& state) {
  Export(state, ExportFormat::kText);
}
void BM_ExportCsv(benchmark::State& state) {
  Export(state, ExportFormat::kCsv);
}
void BM_ExportHtml(benchmark::State& state) {
  Export(state, ExportFormat::kHtml);
}
void BM_ExportXlsx(benchmark::State& state) {
  Export(state, ExportFormat::kSpreadsheet);
}
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond);

void BM_TimeSeriesPane(benchmark::State& state) {
  QtCanvas canvas(1000, 1200);
  const TimeSeriesStyle style;
  for (auto _ : state) {
    PaintTimeSeriesTable(canvas, style, Main());
    benchmark::DoNotOptimize(canvas.image().constBits());  // flush the painter
  }
}
BENCHMARK(BM_TimeSeriesPane)->Unit(benchmark::kMicrosecond);

void BM_ComparisonPane(benchmark::State& state) {
  static const std::array<std::unique_ptr<PriceSeries>, 3> others = {Series(1500, 7), Series(9000, 11),
                                                                     Series(400, 0)};
  const std::array<const PriceSeries*, 3> pointers = {others[0].get(), others[1].get(), others[2].get()};
  QtCanvas canvas(1920, 800);
  const ChartSettings settings;
  ChartWindow w;
  SetChartSize(w, settings.check_chsize);
  w.first = Main().count();
  for (auto _ : state) {
    PaintComparisonChart(canvas, settings, ComparisonMode::kComparison, Main(), w, pointers);
    benchmark::DoNotOptimize(canvas.image().constBits());
  }
  state.counters["bars"] = w.visible;
}
BENCHMARK(BM_ComparisonPane)->Unit(benchmark::kMicrosecond);

void BM_Bitmap(benchmark::State& state) {
  QImage picture(1920, 1200, QImage::Format_RGB32);
  picture.fill(0x123456);
  const RgbImage image = ToRgbImage(picture);
  for (auto _ : state) {
    // With the range argument 1 the picture is taken out of the pane's QImage first, as a capture does.
    const std::string bmp = state.range(0) != 0 ? EncodeBmp(ToRgbImage(picture)) : EncodeBmp(image);
    benchmark::DoNotOptimize(bmp.data());
  }
}
BENCHMARK(BM_Bitmap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sorano

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
