// sorano-cli: the headless companion of the desktop program. It works on the same data folder (the
// settings' check_path, or --data DIR) through core alone.
//
//   sorano-cli [--data DIR] COMMAND ARGS...     (global options may stand anywhere)
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "core/fs/file_io.h"
#include "core/settings/registry_file.h"
#include "core/settings/settings_store.h"

namespace sorano::cli {
namespace {

// Loads the user's settings without writing anything: the command-line tool must not record the
// user's first start (the desktop program seeds the data folder then) or touch the registry file.
class ReadOnlyRegistry : public RegistryBackend {
 public:
  explicit ReadOnlyRegistry(const RegistryBackend& inner) : inner_(inner) {}
  bool OpenKey(std::string_view) override { return true; }
  std::optional<RegValue> Read(std::string_view key, std::string_view name) const override {
    return inner_.Read(key, name);
  }
  bool Write(std::string_view, std::string_view, const RegValue&) override { return false; }
  bool Flush() override { return true; }

 private:
  const RegistryBackend& inner_;
};

std::unique_ptr<SettingsStore> LoadSettingsReadOnly() {
  RegistryFile file(RegistryFile::DefaultPath());
  ReadOnlyRegistry registry(file);
  auto store = std::make_unique<SettingsStore>();
  store->load(registry, SettingsKey(CurrentLoginName()));
  return store;
}

void PrintHelp(std::ostream& os) {
  os << "usage: sorano-cli [--data DIR] COMMAND ARGS...\n"
        "\n"
        "  --data DIR   use DIR as the folder that holds data/ (default: check_path of the settings)\n"
        "  --help       this text; COMMAND --help shows the command's usage\n"
        "\n"
        "commands:\n";
  for (const Command& c : Commands()) os << "  " << c.usage << "\n      " << c.help << '\n';
}

const Command* FindCommand(std::string_view name) {
  for (const Command& c : Commands())
    if (c.name == name) return &c;
  return nullptr;
}

int Main(int argc, char** argv) {
  std::optional<std::string> dataDir;
  bool help = false;
  const Command* command = nullptr;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      help = true;
    } else if (a == "--data" || a.starts_with("--data=")) {
      if (a == "--data" && i + 1 == argc) {
        std::cerr << "sorano-cli: --data needs a folder\n";
        return kExitUsage;
      }
      dataDir = a == "--data" ? std::string(argv[++i]) : a.substr(7);
    } else if (!command && !a.starts_with("-")) {
      command = FindCommand(a);
      if (!command) {
        std::cerr << "sorano-cli: unknown command '" << a << "' (see sorano-cli --help)\n";
        return kExitUsage;
      }
    } else if (!command) {
      std::cerr << "sorano-cli: unknown option '" << a << "' (see sorano-cli --help)\n";
      return kExitUsage;
    } else {
      args.push_back(a);
    }
  }
  if (help) {
    if (command) {
      std::cout << "usage: sorano-cli [--data DIR] " << command->usage << "\n  " << command->help << '\n';
    } else {
      PrintHelp(std::cout);
    }
    return kExitOk;
  }
  if (!command) {
    PrintHelp(std::cerr);
    return kExitUsage;
  }

  const std::unique_ptr<SettingsStore> settings = LoadSettingsReadOnly();
  DataFolder data = settings->data_folder();
  if (dataDir) {
    if (dataDir->empty() || FileExists(*dataDir, 1) == 0) {
      std::cerr << "sorano-cli: --data: '" << *dataDir << "' is not a folder\n";
      return kExitFailure;
    }
    if (!dataDir->ends_with('/')) *dataDir += '/';
    data = DataFolder(*dataDir);
  }
  Context ctx{data, *settings, std::cout, std::cerr};
  return command->run(ctx, args);
}

}  // namespace
}  // namespace sorano::cli

int main(int argc, char** argv) {
  return sorano::cli::Main(argc, argv);
}
