// sorano-cli chart CODE [--period d|w|m] [--adjust]: the bars ReadChart delivers, as CSV.
#include <cstdio>
#include <ostream>
#include <vector>

#include "commands.h"
#include "core/store/chart_file.h"

namespace sorano::cli {
namespace {

int RunChart(Context& ctx, std::span<const std::string> args) {
  std::optional<int32_t> code;
  int period = kChartDaily;
  int adjust = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string value;
    if (a == "--adjust") {
      adjust = 1;
      continue;
    }
    if (a == "--period" || a.starts_with("--period=")) {
      if (a == "--period") {
        if (i + 1 == args.size()) {
          ctx.err << "sorano-cli chart: --period needs d, w or m\n";
          return kExitUsage;
        }
        value = args[++i];
      } else {
        value = a.substr(9);
      }
      if (value == "d") {
        period = kChartDaily;
      } else if (value == "w") {
        period = kChartWeekly;
      } else if (value == "m") {
        period = kChartMonthly;
      } else {
        ctx.err << "sorano-cli chart: bad period '" << value << "' (d, w or m)\n";
        return kExitUsage;
      }
      continue;
    }
    if (a.starts_with("-") || code) {
      ctx.err << "sorano-cli chart: unexpected argument '" << a << "'\n";
      return kExitUsage;
    }
    code = ParseBrandCode(a);
    if (!code) {
      ctx.err << "sorano-cli chart: bad brand code '" << a << "' (0 to 9999)\n";
      return kExitUsage;
    }
  }
  if (!code) {
    ctx.err << "sorano-cli chart: no brand code given\n";
    return kExitUsage;
  }

  std::vector<ChartRecord> records(kMaxChartRecords);
  // A missing volume file leaves these as they are: no volume, factor 1.
  std::vector<VolumeRecord> volumes(kMaxChartRecords);
  const int n = ReadChart(ctx.data, records, volumes, *code, period, adjust);
  if (n < 0) {
    ctx.err << "sorano-cli chart: no chart data for " << *code << " (" << PriceFilePath(ctx.data, *code)
            << " cannot be read)\n";
    return kExitFailure;
  }
  ctx.out << "date,open,high,low,close,volume,factor\n";
  for (int i = 0; i < n; ++i) {
    const ChartRecord& r = records[static_cast<size_t>(i)];
    const VolumeRecord& v = volumes[static_cast<size_t>(i)];
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", r.year, r.month, r.day);
    ctx.out << date << ',' << r.open << ',' << r.high << ',' << r.low << ',' << r.close << ',' << v.volume
            << ',' << FormatDouble(v.factor) << '\n';
  }
  return kExitOk;
}

}  // namespace

static const CommandRegistration kChart{{"chart", "chart CODE [--period d|w|m] [--adjust]",
                                         "Print the brand's daily, weekly or monthly bars as CSV.",
                                         RunChart}};

}  // namespace sorano::cli
