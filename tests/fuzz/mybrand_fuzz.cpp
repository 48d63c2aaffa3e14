// data/mybrand.dat of any bytes, read as the brand tree reads it: at most 100 folders of at most 300
// codes, every code a brand code, every name terminated inside its field; saving and reading again
// gives the same folders and the same text.
#include <cstring>

#include "core/store/brand_folder.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  const std::string path = folder.Path("data/mybrand.dat");
  sorano::fuzz::WriteFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
  sorano::fuzz::SilentPrompt prompt;
  static sorano::FolderTable first, second;
  first = second = sorano::FolderTable{};
  const int read = sorano::LoadFolders(folder, first, prompt);
  FUZZ_CHECK(read >= 0 && read <= static_cast<int>(sorano::kFolderCount));
  for (const sorano::BrandFolder& f : first) {
    FUZZ_CHECK(std::memchr(f.name, 0, sizeof f.name) != nullptr);
    for (int32_t code : f.codes) FUZZ_CHECK(code >= 0 && code <= 9999);
  }
  FUZZ_CHECK(sorano::SaveFolders(folder, first, read - 1, prompt) == 1);
  const std::string saved = sorano::fuzz::ReadFile(path);
  const int again = sorano::LoadFolders(folder, second, prompt);
  FUZZ_CHECK(again == read);
  FUZZ_CHECK(sorano::SaveFolders(folder, second, read - 1, prompt) == 1);
  FUZZ_CHECK(sorano::fuzz::ReadFile(path) == saved);
  return 0;
}
