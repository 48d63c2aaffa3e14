// sorano-cli screen [--market I]... [--sector I]... [--unit-value I] ...: the screening of
// "銘柄スクリーニング" on the brand table. I is the index of the entry in the dialog's box (0 = なし).
#include <ostream>
#include <string>

#include "commands.h"
#include "core/lists/brand_search.h"
#include "core/text/numbers.h"

namespace sorano::cli {

namespace {

// An option and the condition(s) it sets: --market and --sector fill up to three boxes in turn.
struct Option {
  std::string_view name;
  int condition;
  int boxes;
};
constexpr Option kOptions[] = {
    {"--market", screening::kMarket1, 3},
    {"--sector", screening::kSector1, 3},
    {"--unit-value", screening::kUnitValue, 1},
    {"--market-cap", screening::kMarketCap, 1},
    {"--dividend-yield", screening::kFirstRatio, 1},
    {"--earnings-yield", screening::kFirstRatio + 1, 1},
    {"--price-dividend", screening::kFirstRatio + 2, 1},
    {"--per", screening::kFirstRatio + 3, 1},
    {"--pbr", screening::kFirstRatio + 4, 1},
    {"--equity-ratio", screening::kFirstRatio + 5, 1},
    {"--roe", screening::kFirstRatio + 6, 1},
    {"--roa", screening::kFirstRatio + 7, 1},
};

int BadIndex(Context& ctx, const Option& o, std::string_view value) {
  ctx.err << "sorano-cli screen: " << o.name << ": '" << value << "' is not an entry of the list:\n";
  const std::vector<std::string_view> entries = ScreeningEntries(o.condition);
  for (size_t i = 0; i < entries.size(); ++i) ctx.err << "  " << i << " " << entries[i] << '\n';
  return kExitUsage;
}

int RunScreen(Context& ctx, std::span<const std::string> args) {
  ScreeningSelections selections{};
  int used[std::size(kOptions)] = {};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const size_t eq = a.find('=');
    const std::string_view name = std::string_view(a).substr(0, eq);
    const Option* option = nullptr;
    for (const Option& o : kOptions)
      if (o.name == name) option = &o;
    if (!option) {
      ctx.err << "sorano-cli screen: unknown option '" << a << "'\n";
      return kExitUsage;
    }
    std::string value;
    if (eq != std::string::npos) {
      value = a.substr(eq + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      ctx.err << "sorano-cli screen: " << option->name << " needs an entry index\n";
      return kExitUsage;
    }
    const auto entries = static_cast<int32_t>(ScreeningEntries(option->condition).size());
    const int32_t index = LeadingInt(value);
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos || index >= entries)
      return BadIndex(ctx, *option, value);
    int& n = used[option - kOptions];
    if (n == option->boxes) {
      ctx.err << "sorano-cli screen: " << option->name << " given more than " << option->boxes << " times\n";
      return kExitUsage;
    }
    selections[static_cast<size_t>(option->condition + n++)] = index;
  }
  BrandTable table;
  if (!LoadBrands(ctx, "screen", table)) return kExitFailure;
  return PrintBrands(ctx, table, Screen(table, selections));
}

}  // namespace

static const CommandRegistration kScreen{
    {"screen",
     "screen [--market I]... [--sector I]... [--unit-value I] [--market-cap I] [--dividend-yield I] "
     "[--earnings-yield I] [--price-dividend I] [--per I] [--pbr I] [--equity-ratio I] [--roe I] [--roa I]",
     "Print \"code,name\" of the brands that pass the screening, in code order. I is the entry of the "
     "screening dialog's list (0 = none; up to three --market and --sector).",
     RunScreen}};

}  // namespace sorano::cli
