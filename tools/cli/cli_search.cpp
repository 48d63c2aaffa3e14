// sorano-cli search TEXT: the name search of the desktop's search band, "code,name" lines in code order.
#include <ostream>
#include <string>

#include "commands.h"
#include "core/lists/brand_search.h"

namespace sorano::cli {

namespace {

int RunSearch(Context& ctx, std::span<const std::string> args) {
  if (args.size() != 1 || args[0].empty()) {
    ctx.err << "sorano-cli search: expected exactly one text to look for\n";
    return kExitUsage;
  }
  BrandTable table;
  if (!LoadBrands(ctx, "search", table)) return kExitFailure;
  return PrintBrands(ctx, table, SearchByName(table, args[0]));
}

}  // namespace

static const CommandRegistration kSearch{
    {"search", "search TEXT",
     "Print \"code,name\" of every brand whose name contains TEXT (whole characters), in code order.",
     RunSearch}};

}  // namespace sorano::cli
