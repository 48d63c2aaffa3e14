// sorano-cli account: the rows of the account list (口座管理) as CSV.
#include "commands.h"

namespace sorano::cli {
namespace {

int RunAccount(Context& ctx, std::span<const std::string> args) {
  if (!args.empty()) {
    ctx.err << "sorano-cli account: takes no arguments\n";
    return kExitUsage;
  }
  return PrintPortfolioRows(ctx, "account", false);
}

}  // namespace

static const CommandRegistration kAccount{
    {"account", "account",
     "Print the account list as CSV, a line per holding: code, name, buy date, quantity, unit price, "
     "current price, unrealised gain, gain rate.",
     RunAccount}};

}  // namespace sorano::cli
