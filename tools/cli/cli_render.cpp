// sorano-cli render CODE --out FILE.png|FILE.bmp [--width W --height H] [--period d|w|m] [--first N]
//                       [--set name=value ...] [--tech-height H]
// Paints the price chart pane of a brand offscreen through the Qt canvas, with the overlays the
// settings (or the --set overrides) switch on, and writes it as a PNG, or as a 24-bit BMP when the
// file name ends in ".bmp".
#ifdef SORANO_HAVE_QT_CANVAS

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "commands.h"
#include "core/chart/chart_painter.h"
#include "core/chart/price_series_load.h"
#include "core/fs/file_io.h"
#include "core/output/bmp_file.h"
#include "core/settings/settings_store.h"
#include "core/store/brand_table.h"
#include "render_technical.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano::cli {
namespace {

int RunRender(Context& ctx, std::span<const std::string> args) {
  auto store = std::make_unique<SettingsStore>(ctx.settings);  // --set changes this copy only
  std::optional<int32_t> code;
  std::string out;
  int width = 1200, height = 600;
  std::optional<int> first;
  std::vector<std::string> sets;
  int techHeight = 200;  // the technical pane below the chart; 0 leaves it out
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string v;
    if (IsOption(a, "--out")) {
      if (!OptionValue("render", args, i, out, ctx.err)) return kExitUsage;
    } else if (IsOption(a, "--width") || IsOption(a, "--height") || IsOption(a, "--first")) {
      if (!OptionValue("render", args, i, v, ctx.err)) return kExitUsage;
      int n = 0;
      if (!ParseWhole(v, n)) {
        ctx.err << "sorano-cli render: " << a << " needs a whole number\n";
        return kExitUsage;
      }
      if (a.starts_with("--first")) {
        first = n;
      } else if (n < 16 || n > 16384) {
        ctx.err << "sorano-cli render: width and height must lie between 16 and 16384\n";
        return kExitUsage;
      } else {
        (a.starts_with("--width") ? width : height) = n;
      }
    } else if (IsOption(a, "--tech-height")) {
      if (!OptionValue("render", args, i, v, ctx.err)) return kExitUsage;
      if (!ParseWhole(v, techHeight) || techHeight < 0 || techHeight > 16384) {
        ctx.err << "sorano-cli render: --tech-height must lie between 0 and 16384\n";
        return kExitUsage;
      }
    } else if (IsOption(a, "--period")) {
      if (!OptionValue("render", args, i, v, ctx.err)) return kExitUsage;
      const std::optional<int> period = ParsePeriod(v);
      if (!period) {
        ctx.err << "sorano-cli render: bad period '" << v << "' (d, w or m)\n";
        return kExitUsage;
      }
      store->check_ymd = *period;
    } else if (IsOption(a, "--set")) {
      if (!OptionValue("render", args, i, v, ctx.err)) return kExitUsage;
      sets.push_back(v);
    } else if (a.starts_with("-") || code) {
      ctx.err << "sorano-cli render: unexpected argument '" << a << "'\n";
      return kExitUsage;
    } else {
      code = ParseBrandCode(a);
      if (!code) {
        ctx.err << "sorano-cli render: bad brand code '" << a << "' (0 to 9999)\n";
        return kExitUsage;
      }
    }
  }
  if (!code || out.empty()) {
    ctx.err << "sorano-cli render: usage: render CODE --out FILE.png|FILE.bmp [--width W --height H] "
               "[--period d|w|m] "
               "[--first N] [--set name=value ...] [--tech-height H]\n";
    return kExitUsage;
  }
  for (const std::string& s : sets)
    if (!ApplySetting("render", *store, s, ctx.err)) return kExitUsage;
  store->check_code = *code;

  const ChartSettings settings = ChartSettingsFrom(*store);
  auto series = std::make_unique<PriceSeries>();
  const int count = LoadPriceSeries(*series, ctx.data, *code, settings.check_ymd, settings.check_adjustment);
  std::unique_ptr<PriceSeries> comparison;
  ChartExtras extras;
  extras.code = *code;
  if (settings.check_hikakuline > 0) {
    comparison = std::make_unique<PriceSeries>();
    LoadPriceSeries(*comparison, ctx.data, settings.check_hikakulinecode, settings.check_ymd,
                    settings.check_adjustment);
    extras.comparison = comparison.get();
  }
  auto brands = std::make_unique<BrandTable>();
  BaseLineInputs brand;
  if (LoadBrandTable(ctx.data, *brands) >= 0 && brands->Find(*code) != nullptr) {
    brand = BaseLineInputsFrom(*brands->Find(*code));
    extras.brand = &brand;
  }

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qargc = 1;
  char qname[] = "sorano-cli";
  char* qargv[] = {qname, nullptr};
  QGuiApplication app(qargc, qargv);

  QtCanvas canvas(width, height);
  ChartWindow window;
  // As the pane does: a first paint measures the label width, a re-layout then shows the newest bars.
  LayoutChartWindow(window, settings.check_chsize, width, count);
  PaintPriceChart(canvas, settings, *series, window, extras);
  LayoutChartWindow(window, settings.check_chsize, width, count);
  if (first) window.first = std::max(0, *first);
  PaintPriceChart(canvas, settings, *series, window, extras);
  const QImage picture = WithTechnicalPane(canvas.image(), *store, *series, window, techHeight);
  // A .bmp goes through the program's own bitmap writer (the bytes its bitmap save commands write).
  std::string bytes;
  if (QString::fromStdString(out).endsWith(".bmp", Qt::CaseInsensitive)) {
    bytes = EncodeBmp(ToRgbImage(picture));
  } else {
    QByteArray png;
    QBuffer buffer(&png);
    if (buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG")) bytes = png.toStdString();
  }
  if (bytes.empty() || !WriteFileAtomic(out, bytes)) {
    ctx.err << "sorano-cli render: cannot write " << out << '\n';
    return kExitFailure;
  }
  if (count < 0) {
    ctx.err << "sorano-cli render: no chart data for " << *code << " (the picture shows the pane's notice)\n";
    return kExitFailure;
  }
  ctx.out << out << ": " << width << "x" << picture.height() << ", bars " << window.first << " to "
          << window.first + window.visible - 1 << " of " << count << '\n';
  return kExitOk;
}

}  // namespace

static const CommandRegistration kRender{
    {"render",
     "render CODE --out FILE.png|FILE.bmp [--width W --height H] [--period d|w|m] [--first N] [--set "
     "name=value ...] "
     "[--tech-height H]",
     "Paint the price chart of a brand (settings' overlays, or --set check_shi_itimoku=1 ...) into a PNG or "
     "BMP, "
     "with the technical pane (--set check_tec_rsi=1, check_tec_dc=1 ...) H pixels high below it.",
     RunRender}};

}  // namespace sorano::cli

#endif  // SORANO_HAVE_QT_CANVAS
