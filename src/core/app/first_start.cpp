#include "core/app/first_start.h"

#include "core/fs/file_io.h"

namespace sorano {

int SeedDataFolder(const DataFolder& folder, const std::string& shippedDefaultDat, BrandTable& table,
                   Prompt& prompt) {
  const std::string target = folder.Path("data/default.dat");
  if (!FileExists(target, 0) && !shippedDefaultDat.empty()) {
    // A missing or unreadable shipped list leaves the folder without default.dat; ApplyDefaultData
    // then tells the user it could not open it.
    if (auto bytes = ReadWholeFile(shippedDefaultDat)) {
      EnsureFolder(folder.Path("data"));
      WriteFileAtomic(target, *bytes);
    }
  }
  // A new user has no folders yet: an empty folder file, so that its absence is reported only when a
  // file that existed has gone.
  const std::string folders = folder.Path("data/mybrand.dat");
  if (!FileExists(folders, 0) && EnsureFolder(folder.Path("data"))) WriteFileAtomic(folders, "");
  return ApplyDefaultData(folder, table, prompt);
}

}  // namespace sorano
