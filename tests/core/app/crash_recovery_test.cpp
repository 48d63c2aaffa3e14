// Nothing is lost when a write cannot finish: with the disk full every writer reports the failure
// and leaves its old file byte for byte (and no temporary beside it); after a crash the next start
// sweeps what the interrupted writes left.
#include "core/app/crash_recovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "core/fs/file_io.h"
#include "core/memo/memo_file.h"
#include "core/portfolio/portfolio_files.h"
#include "core/settings/registry_file.h"
#include "core/settings/settings_store.h"
#include "core/store/brand_folder.h"
#include "core/store/brand_table.h"
#include "core/store/chart_file.h"
#include "support/fake_prompt.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using test::ReadBytes;
using test::WriteBytes;

std::set<std::string> Files(const std::string& root) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file()) names.insert(e.path().string());
  return names;
}

TEST(DiskFull, EveryWriterReportsTheFailureAndKeepsItsOldFile) {
  test::TempDir dir;
  const DataFolder folder(dir.path());
  test::FakePrompt prompt;
  auto table = std::make_unique<BrandTable>();
  FolderTable folders{};
  HoldingTable holdings;
  for (int i = 0; i < 100; ++i) {
    (*table)[static_cast<size_t>(1300 + i)].price = 100 + i;
    for (int k = 0; k < 3; ++k) folders[static_cast<size_t>(i)].codes[k] = 1300 + i + k;
    holdings.slots[static_cast<size_t>(i)] = Holding{1300 + i, 2004, 1, 5, 1000, 500};
  }
  folders[0].name[0] = 'a';
  const std::vector<ChartRecord> days(100, ChartRecord{2004, 1, 5, 1, 1, 1, 1});
  WriteBytes(dir / "data/default.dat", "7203,1,16\n");  // applied, but view.dat cannot be saved
  // Each writer with new content of more than the 1 KiB the disk has room for, over an old file.
  const struct {
    const char* file;
    std::function<bool()> write;  // true when the writer reports success
  } writers[] = {
      {"data/view.dat", [&] { return SaveBrandTable(folder, *table) == 1; }},
      {"data/chdata_d/7203.dat",
       [&] { return WriteChartFiles(folder, days, std::vector<VolumeRecord>(100), 7203) == 1; }},
      {"data/mybrand.dat", [&] { return SaveFolders(folder, folders, 99, prompt) == 1; }},
      {"data/myproperty.dat", [&] { return SaveHoldings(folder, holdings); }},
      {"data/myhistory.dat",
       [&] {
         return AppendTrade(folder, TradeRecord{7203, 2004, 1, 5, 1000, 500, 2004, 2, 2, 1000, 600, 0, 20});
       }},
      {"data/memo/7203.txt", [&] { return WriteMemo(folder, std::string(2000, 'm'), 7203) >= 0; }},
      {"Sorano.reg",
       [&] {
         RegistryFile registry(dir / "Sorano.reg");
         return SettingsStore().save(registry, SettingsKey("alice"));
       }},
      {"data/view.dat", [&] { return ApplyDefaultData(folder, *table, prompt) >= 0; }},
  };
  for (const auto& w : writers) {
    // The old files: a chart pair, the others one file each, of 1000 bytes.
    const std::string old = std::string(998, 'o') + "\r\n";
    WriteBytes(dir / w.file, old);
    WriteBytes(dir / "data/chdata_da/7203.dat", std::string(48, 'v'));
    const std::set<std::string> before = Files(dir.path());
    bool reported;
    {
      test::ScopedFileSizeLimit full(1024);
      reported = w.write();
    }
    EXPECT_FALSE(reported) << w.file;
    EXPECT_EQ(ReadBytes(dir / w.file), old) << w.file;
    EXPECT_EQ(ReadBytes(dir / "data/chdata_da/7203.dat"), std::string(48, 'v')) << w.file;
    EXPECT_EQ(Files(dir.path()), before) << w.file;
  }
  ASSERT_FALSE(prompt.calls.empty());
  EXPECT_EQ(prompt.calls[0].text, "ファイルが開けません");  // SaveFolders tells the user itself
}

TEST(CrashRecovery, TheNextStartSweepsWhatInterruptedWritesLeft) {
  test::TempDir dir;
  const DataFolder folder(dir.path());
  const std::string dead = ".tmp4194305-aB3dE9";  // a process number Linux never hands out
  for (const char* file :
       {"data/view.dat", "data/memo/7203.txt", "data/chdata_d/7203.dat", "data/chdata_da/7203.dat"}) {
    WriteBytes(dir / file, "whole");
    WriteBytes(dir / file + dead, "cut");
  }
  WriteBytes(dir / "data/chdata_da/7203.dat.new", "staged");  // its prices were never staged
  RecoverDataFolder(folder);
  EXPECT_EQ(Files(dir.path()),
            (std::set<std::string>{dir / "data/view.dat", dir / "data/memo/7203.txt",
                                   dir / "data/chdata_d/7203.dat", dir / "data/chdata_da/7203.dat"}));
  EXPECT_EQ(ReadBytes(dir / "data/chdata_da/7203.dat"), "whole");
  RecoverDataFolder(DataFolder(dir / "never-used/"));  // no data folder: nothing made
  EXPECT_FALSE(std::filesystem::exists(dir / "never-used"));
}

}  // namespace
}  // namespace sorano
