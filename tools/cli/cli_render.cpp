// sorano-cli render CODE --out FILE.png [--width W --height H] [--period d|w|m] [--first N]
//                       [--set name=value ...] [--tech-height H]
// Paints the price chart pane of a brand offscreen through the Qt canvas, with the overlays the
// settings (or the --set overrides) switch on, and writes it as a PNG.
#ifdef SORANO_HAVE_QT_CANVAS

#include <QGuiApplication>
#include <QImage>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ostream>

#include "commands.h"
#include "core/chart/chart_painter.h"
#include "core/chart/price_series_load.h"
#include "core/settings/settings_store.h"
#include "core/settings/settings_table.h"
#include "core/store/brand_table.h"
#include "core/text/sjis.h"
#include "render_technical.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano::cli {
namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && p == end;
}

// name=value onto the store: DWORD and 4-byte values as integers (0x... allowed), 8-byte values as
// doubles, texts as UTF-8. "base_line" is the run-time base-line switch. False for an unknown name or
// a value of the wrong form.
bool ApplySet(SettingsStore& store, std::string_view assignment, std::ostream& err) {
  const size_t eq = assignment.find('=');
  if (eq == std::string_view::npos) {
    err << "sorano-cli render: --set needs name=value, not '" << assignment << "'\n";
    return false;
  }
  const std::string_view name = assignment.substr(0, eq);
  const std::string_view value = assignment.substr(eq + 1);
  if (name == "base_line") {
    int32_t v = 0;
    if (!ParseNumber(value, v)) {
      err << "sorano-cli render: bad value for base_line\n";
      return false;
    }
    store.runtime.base_line = v;
    return true;
  }
  const SettingValue* setting = FindSetting(name);
  if (setting == nullptr) {
    err << "sorano-cli render: unknown setting '" << name << "'\n";
    return false;
  }
  std::span<uint8_t> bytes = FieldBytes(store, *setting);
  if (setting->type == RegType::Sz) {
    const std::string sjis = Utf8ToSjis(value);
    std::fill(bytes.begin(), bytes.end(), 0);
    std::memcpy(bytes.data(), sjis.data(), std::min(sjis.size(), bytes.size() - 1));
    return true;
  }
  if (bytes.size() == 8) {
    double d = 0;
    if (!ParseNumber(value, d)) {
      err << "sorano-cli render: " << name << " needs a number\n";
      return false;
    }
    std::memcpy(bytes.data(), &d, 8);
    return true;
  }
  if (bytes.size() == 4) {
    int64_t v = 0;
    bool ok = value.starts_with("0x")
                  ? std::from_chars(value.data() + 2, value.data() + value.size(), v, 16).ec == std::errc()
                  : ParseNumber(value, v);
    if (!ok || v < INT32_MIN || v > UINT32_MAX) {
      err << "sorano-cli render: " << name << " needs a 32-bit integer\n";
      return false;
    }
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(u >> (8 * i));
    return true;
  }
  err << "sorano-cli render: " << name << " cannot be set from the command line\n";
  return false;
}

bool NextValue(std::span<const std::string> args, size_t& i, std::string& value, std::ostream& err) {
  const std::string& a = args[i];
  const size_t eq = a.find('=');
  if (eq != std::string::npos) {
    value = a.substr(eq + 1);
    return true;
  }
  if (i + 1 == args.size()) {
    err << "sorano-cli render: " << a << " needs a value\n";
    return false;
  }
  value = args[++i];
  return true;
}

bool IsOption(const std::string& a, std::string_view name) {
  return a == name || (a.starts_with(name) && a.size() > name.size() && a[name.size()] == '=');
}

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
      if (!NextValue(args, i, out, ctx.err)) return kExitUsage;
    } else if (IsOption(a, "--width") || IsOption(a, "--height") || IsOption(a, "--first")) {
      if (!NextValue(args, i, v, ctx.err)) return kExitUsage;
      int n = 0;
      if (!ParseNumber(std::string_view(v), n)) {
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
      if (!NextValue(args, i, v, ctx.err)) return kExitUsage;
      if (!ParseNumber(std::string_view(v), techHeight) || techHeight < 0 || techHeight > 16384) {
        ctx.err << "sorano-cli render: --tech-height must lie between 0 and 16384\n";
        return kExitUsage;
      }
    } else if (IsOption(a, "--period")) {
      if (!NextValue(args, i, v, ctx.err)) return kExitUsage;
      if (v == "d") {
        store->check_ymd = kPeriodDaily;
      } else if (v == "w") {
        store->check_ymd = kPeriodWeekly;
      } else if (v == "m") {
        store->check_ymd = kPeriodMonthly;
      } else {
        ctx.err << "sorano-cli render: bad period '" << v << "' (d, w or m)\n";
        return kExitUsage;
      }
    } else if (IsOption(a, "--set")) {
      if (!NextValue(args, i, v, ctx.err)) return kExitUsage;
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
    ctx.err << "sorano-cli render: usage: render CODE --out FILE.png [--width W --height H] [--period d|w|m] "
               "[--first N] [--set name=value ...] [--tech-height H]\n";
    return kExitUsage;
  }
  for (const std::string& s : sets)
    if (!ApplySet(*store, s, ctx.err)) return kExitUsage;
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
  if (!picture.save(QString::fromStdString(out), "PNG")) {
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
     "render CODE --out FILE.png [--width W --height H] [--period d|w|m] [--first N] [--set name=value ...] "
     "[--tech-height H]",
     "Paint the price chart of a brand (settings' overlays, or --set check_shi_itimoku=1 ...) into a PNG, "
     "with the technical pane (--set check_tec_rsi=1, check_tec_dc=1 ...) H pixels high below it.",
     RunRender}};

}  // namespace sorano::cli

#endif  // SORANO_HAVE_QT_CANVAS
