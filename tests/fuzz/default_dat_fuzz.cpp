// data/default.dat of any bytes applied to an empty brand table, as the first start and command 32946
// apply it: at most 9999 lines count, every brand it lists gets a price of at least 1 and a terminated
// name, view.dat is written whole, and applying the same file again changes nothing.
#include <cstring>

#include "core/store/brand_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  std::remove(folder.Path("data/view.dat").c_str());
  sorano::fuzz::WriteFile(folder.Path("data/default.dat"),
                          std::string_view(reinterpret_cast<const char*>(data), size));
  sorano::fuzz::SilentPrompt prompt;
  static sorano::BrandTable table;
  std::memset(static_cast<void*>(table.records().data()), 0, table.records().size_bytes());
  const int applied = sorano::ApplyDefaultData(folder, table, prompt);
  FUZZ_CHECK(applied >= 0 && applied <= 9999);
  const std::string view = sorano::fuzz::ReadFile(folder.Path("data/view.dat"));
  FUZZ_CHECK(size == 0 || view.size() == sorano::kBrandCount * sizeof(sorano::BrandRecord));
  int listed = 0;
  for (const sorano::BrandRecord& r : table.records()) {
    FUZZ_CHECK(std::memchr(r.name, 0, sizeof r.name) != nullptr);
    if (r.price != 0) {
      FUZZ_CHECK(r.price == 1);
      ++listed;
    }
  }
  FUZZ_CHECK(listed <= applied);
  FUZZ_CHECK(sorano::ApplyDefaultData(folder, table, prompt) == applied);
  FUZZ_CHECK(sorano::fuzz::ReadFile(folder.Path("data/view.dat")) == view);
  return 0;
}
