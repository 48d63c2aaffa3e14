#include "core/app/crash_recovery.h"

#include "core/fs/file_io.h"
#include "core/store/chart_file.h"

namespace sorano {

void RecoverDataFolder(const DataFolder& folder) {
  if (FileExists(folder.Path("data"), 1) == 0) return;  // nothing was ever written here
  RecoverChartFiles(folder);
  RemoveStaleTemporaries(folder.Path("data"));
  RemoveStaleTemporaries(folder.Path("data/memo"));
}

}  // namespace sorano
