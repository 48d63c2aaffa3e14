#pragma once
// The shipped brand list (resources/default.dat, about 4000 brands) in a temporary data folder, for
// the benchmarks that measure lists and searches on real codes and names.
#include <string>

#include "core/store/brand_table.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

namespace sorano::bench {

// A fresh data folder holding the shipped default.dat and an empty mybrand.dat (no folders);
// removed with its content when destroyed.
class ShippedDataFolder {
 public:
  ShippedDataFolder() {
    test::WriteBytes(dir_ / "data/default.dat", test::ReadBytes(SORANO_SOURCE_DIR "/resources/default.dat"));
    test::WriteBytes(dir_ / "data/mybrand.dat", "");
  }

  // The folder with a trailing '/', as the settings' data path.
  const std::string& path() const { return dir_.path(); }

  // Fills `brands` from the shipped list: codes, names, markets, sectors and units, no quotes.
  void Load(BrandTable& brands) const {
    test::FakePrompt prompt;
    ApplyDefaultData(DataFolder(path()), brands, prompt);
  }

 private:
  test::TempDir dir_;
};

}  // namespace sorano::bench
