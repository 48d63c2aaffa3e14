// sorano-cli brand CODE: one brand record of data/view.dat, a field per line.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "core/store/brand_table.h"
#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano::cli {
namespace {

std::string Text(std::span<const char> field) {
  return SjisToUtf8(FieldText(field));
}

std::string Numbered(int32_t n, std::string_view name) {
  std::string s = std::to_string(n);
  if (!name.empty()) s += " " + std::string(name);
  return s;
}

// Field name and printed value, in record order.
std::vector<std::pair<std::string_view, std::string>> Fields(const BrandRecord& r) {
  auto i = [](int32_t v) { return std::to_string(v); };
  auto d = [](double v) { return FormatDouble(v); };
  return {
      {"name", Text(r.name)},
      {"market", Numbered(r.market, MarketName(r.market))},
      {"sector", Numbered(r.sector, SectorName(r.sector))},
      {"quoteTime", Text(r.quoteTime)},
      {"price", i(r.price)},
      {"open", i(r.open)},
      {"high", i(r.high)},
      {"low", i(r.low)},
      {"bid", i(r.bid)},
      {"ask", i(r.ask)},
      {"reserved", i(r.reserved)},
      {"change", i(r.change)},
      {"changePercent", d(r.changePercent)},
      {"volume", i(r.volume)},
      {"volumeRatio", d(r.volumeRatio)},
      {"tradingValue", i(r.tradingValue)},
      {"marketCap", i(r.marketCap)},
      {"dividendYield", d(r.dividendYield)},
      {"dividendPerShare", d(r.dividendPerShare)},
      {"per", d(r.per)},
      {"eps", d(r.eps)},
      {"pbr", d(r.pbr)},
      {"bps", d(r.bps)},
      {"equityRatio", d(r.equityRatio)},
      {"roe", d(r.roe)},
      {"roa", d(r.roa)},
      {"sharesIssued", i(r.sharesIssued)},
      {"unitShares", i(r.unitShares)},
      {"unitValue", i(r.unitValue)},
      {"fiscalPeriod", Text(r.fiscalPeriod)},
  };
}

int RunBrand(Context& ctx, std::span<const std::string> args) {
  if (args.size() != 1 || args[0].starts_with("-")) {
    ctx.err << "sorano-cli brand: expected exactly one brand code\n";
    return kExitUsage;
  }
  const std::optional<int32_t> code = ParseBrandCode(args[0]);
  if (!code) {
    ctx.err << "sorano-cli brand: bad brand code '" << args[0] << "' (0 to 9999)\n";
    return kExitUsage;
  }
  BrandTable table;
  if (!LoadBrands(ctx, "brand", table)) return kExitFailure;
  const BrandRecord& r = table[static_cast<size_t>(*code)];
  if (r.price == 0) {
    ctx.err << "sorano-cli brand: no brand " << *code << " in the brand table\n";
    return kExitFailure;
  }
  ctx.out << "code: " << *code << '\n';
  for (const auto& [name, value] : Fields(r)) ctx.out << name << ": " << value << '\n';
  return kExitOk;
}

}  // namespace

static const CommandRegistration kBrand{
    {"brand", "brand CODE", "Print the brand record of CODE from the brand table, one field per line.",
     RunBrand}};

}  // namespace sorano::cli
