// sorano-cli seed: the data folder gets the shipped brand list, as at the program's first start.
#include <memory>
#include <ostream>

#include "commands.h"
#include "core/app/first_start.h"
#include "core/fs/file_io.h"
#include "core/store/brand_table.h"

namespace sorano::cli {
namespace {

int RunSeed(Context& ctx, std::span<const std::string> args) {
  if (!args.empty()) {
    ctx.err << "sorano-cli seed: unexpected argument '" << args[0] << "'\n";
    return kExitUsage;
  }
  const std::string own = ctx.data.Path("data/default.dat");
  const std::string shipped = ShippedResourcePath("default.dat");
  if (shipped.empty() && FileExists(own, 0) == 0) {
    ctx.err << "sorano-cli seed: the shipped default.dat was not found beside the program "
               "(nor in $SORANO_RESOURCES)\n";
    return kExitFailure;
  }
  auto table = std::make_unique<BrandTable>();
  StderrPrompt prompt(ctx.err);
  const int applied = SeedDataFolder(ctx.data, shipped, *table, prompt);
  if (applied < 0) {
    ctx.err << "sorano-cli seed: " << ctx.data.Path("data/view.dat") << " was not written\n";
    return kExitFailure;
  }
  ctx.out << applied << " brands from " << own << " applied to " << ctx.data.Path("data/view.dat") << '\n';
  return kExitOk;
}

}  // namespace

static const CommandRegistration kSeed{
    {"seed", "seed",
     "Copy the shipped brand list to data/default.dat when the folder has none and apply it to the brand "
     "table (data/view.dat), keeping the quotes already there.",
     RunSeed}};

}  // namespace sorano::cli
