// sorano-cli export CODE --format txt|csv|html|xlsx --out FILE [--period d|w|m] [--adjust]
//                       [--set check_to_dataNN=V ...]
// Writes a brand's time series as the desktop's export commands do, byte for byte: the bars in the
// period and adjustment given, the range, header and columns of the settings' export options
// (check_to_data00-12), which --set overrides.
#include <memory>
#include <ostream>

#include "commands.h"
#include "core/chart/price_series_load.h"
#include "core/fs/file_io.h"
#include "core/output/time_series_export.h"

namespace sorano::cli {
namespace {

struct FormatName {
  std::string_view name;
  ExportFormat format;
};
constexpr FormatName kFormats[] = {{"txt", ExportFormat::kText},
                                   {"csv", ExportFormat::kCsv},
                                   {"html", ExportFormat::kHtml},
                                   {"xlsx", ExportFormat::kSpreadsheet}};

int RunExport(Context& ctx, std::span<const std::string> args) {
  auto store = std::make_unique<SettingsStore>(ctx.settings);  // --set changes this copy only
  std::optional<int32_t> code;
  std::optional<ExportFormat> format;
  std::string out;
  int period = kPeriodDaily;
  int adjust = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string v;
    if (a == "--adjust") {
      adjust = 1;
    } else if (IsOption(a, "--out")) {
      if (!OptionValue("export", args, i, out, ctx.err)) return kExitUsage;
    } else if (IsOption(a, "--format")) {
      if (!OptionValue("export", args, i, v, ctx.err)) return kExitUsage;
      for (const FormatName& f : kFormats)
        if (f.name == v) format = f.format;
      if (!format) {
        ctx.err << "sorano-cli export: bad format '" << v << "' (txt, csv, html or xlsx)\n";
        return kExitUsage;
      }
    } else if (IsOption(a, "--period")) {
      if (!OptionValue("export", args, i, v, ctx.err)) return kExitUsage;
      const std::optional<int> p = ParsePeriod(v);
      if (!p) {
        ctx.err << "sorano-cli export: bad period '" << v << "' (d, w or m)\n";
        return kExitUsage;
      }
      period = *p;
    } else if (IsOption(a, "--set")) {
      if (!OptionValue("export", args, i, v, ctx.err)) return kExitUsage;
      if (!ApplySetting("export", *store, v, ctx.err)) return kExitUsage;
    } else if (a.starts_with("-") || code) {
      ctx.err << "sorano-cli export: unexpected argument '" << a << "'\n";
      return kExitUsage;
    } else if (!(code = ParseBrandCode(a))) {
      ctx.err << "sorano-cli export: bad brand code '" << a << "' (0 to 9999)\n";
      return kExitUsage;
    }
  }
  if (!code || !format || out.empty()) {
    ctx.err << "sorano-cli export: usage: export CODE --format txt|csv|html|xlsx --out FILE [--period d|w|m] "
               "[--adjust] [--set check_to_dataNN=V ...]\n";
    return kExitUsage;
  }
  auto series = std::make_unique<PriceSeries>();
  if (LoadPriceSeries(*series, ctx.data, *code, period, adjust) < 0) {
    ctx.err << "sorano-cli export: no chart data for " << *code << '\n';
    return kExitFailure;
  }
  const ExportOptions options = ExportOptionsFrom(store->check_to_data);
  const std::optional<std::string> bytes = ExportFile(*series, options, *format);
  if (!bytes || !WriteFileAtomic(out, *bytes)) {
    ctx.err << "sorano-cli export: cannot write " << out << '\n';
    return kExitFailure;
  }
  ctx.out << out << ": " << ExportRows(*series, options).size() << " rows\n";
  return kExitOk;
}

}  // namespace

static const CommandRegistration kExport{
    {"export",
     "export CODE --format txt|csv|html|xlsx --out FILE [--period d|w|m] [--adjust] [--set check_to_dataNN=V "
     "...]",
     "Write the brand's time series as the desktop's export does (options from the settings, or --set).",
     RunExport}};

}  // namespace sorano::cli
