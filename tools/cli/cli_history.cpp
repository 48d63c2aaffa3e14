// sorano-cli history: the rows of the trade history list (取引履歴) as CSV.
#include "commands.h"

namespace sorano::cli {
namespace {

int RunHistory(Context& ctx, std::span<const std::string> args) {
  if (!args.empty()) {
    ctx.err << "sorano-cli history: takes no arguments\n";
    return kExitUsage;
  }
  return PrintPortfolioRows(ctx, "history", true);
}

}  // namespace

static const CommandRegistration kHistory{
    {"history", "history",
     "Print the trade history list as CSV, a line per trade: code, name, buy date, sell date, purchase "
     "amount, sale amount, profit, yield, fee, tax.",
     RunHistory}};

}  // namespace sorano::cli
