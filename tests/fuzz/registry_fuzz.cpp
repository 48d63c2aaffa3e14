// A settings file of any bytes, loaded and saved the way the program starts and ends: the save
// succeeds, a file that could not be read whole is kept byte for byte beside the new one, and the
// new file reads back cleanly into the same settings, which save to the same bytes again.
#include <filesystem>

#include "core/settings/registry_file.h"
#include "core/settings/settings_store.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = sorano::fuzz::Scratch() + "reg/";
  std::filesystem::remove_all(folder);
  const std::string path = folder + "Sorano.reg";
  const std::string_view original(reinterpret_cast<const char*>(data), size);
  sorano::fuzz::WriteFile(path, original);
  const std::string key = sorano::SettingsKey("fuzz");

  sorano::RegistryFile file(path);
  const bool garbled = file.garbled();
  sorano::SettingsStore settings;
  settings.load(file, key);
  FUZZ_CHECK(settings.save(file, key));
  if (garbled) FUZZ_CHECK(sorano::fuzz::ReadFile(file.bad_path()) == original);
  const std::string saved = sorano::fuzz::ReadFile(path);

  sorano::RegistryFile again(path);
  FUZZ_CHECK(!again.garbled() && !again.unavailable());
  sorano::SettingsStore reread;
  reread.load(again, key);
  FUZZ_CHECK(reread.save(again, key));
  FUZZ_CHECK(sorano::fuzz::ReadFile(path) == saved);
  return 0;
}
