#include <gtest/gtest.h>

#include <memory>

#include "core/app/first_start.h"
#include "core/fs/file_io.h"
#include "core/settings/memory_registry.h"
#include "core/settings/settings_store.h"
#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "support/fake_prompt.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

const std::string kShipped = std::string(SORANO_SOURCE_DIR) + "/resources/default.dat";

TEST(FirstStart, SeedsThePerUserDataFolderFromTheShippedList) {
  test::TempDir home;
  test::ScopedEnv xdg("XDG_DATA_HOME", (home.path() + "share").c_str());
  MemoryRegistry registry;
  test::FakePrompt prompt;
  auto table = std::make_unique<BrandTable>();
  auto store = std::make_unique<SettingsStore>();
  int seeded = -2;
  SettingsLoadHooks hooks;
  hooks.first_start = [&](SettingsStore& s) {
    seeded = SeedDataFolder(s.data_folder(), kShipped, *table, prompt);
  };
  ASSERT_TRUE(store->load(registry, SettingsKey("alice"), hooks));

  const std::string dataRoot = home.path() + "share/Sorano/";
  EXPECT_EQ(std::string(store->check_path), dataRoot);
  EXPECT_GT(seeded, 0);
  EXPECT_TRUE(prompt.calls.empty());
  EXPECT_EQ(test::ReadBytes(dataRoot + "data/default.dat"), test::ReadBytes(kShipped));
  EXPECT_EQ(test::ReadBytes(dataRoot + "data/view.dat").size(), 2560000u);
  EXPECT_EQ(FileExists(dataRoot + "data/mybrand.dat", 0), 1);  // no folders yet, and nothing to report
  const BrandRecord& toyota = (*table)[7203];
  EXPECT_EQ(toyota.market, 1);
  EXPECT_EQ(toyota.sector, 17);
  EXPECT_EQ(toyota.price, 1);
  EXPECT_FALSE(FieldText(toyota.name).empty());

  // The second start is not a first start: the hook does not run again.
  seeded = -2;
  auto again = std::make_unique<SettingsStore>();
  ASSERT_TRUE(again->load(registry, SettingsKey("alice"), hooks));
  EXPECT_EQ(seeded, -2);
}

TEST(FirstStart, KeepsTheUsersOwnListAndReportsAMissingOne) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  test::FakePrompt prompt;
  auto table = std::make_unique<BrandTable>();
  // A list already in the data folder is the user's: it is applied, not replaced.
  test::WriteBytes(dir / "data/default.dat", "1301,2,1\r\n");
  test::WriteBytes(dir / "data/mybrand.dat", "株,0,1301\r\n");
  EXPECT_EQ(SeedDataFolder(folder, kShipped, *table, prompt), 1);
  EXPECT_EQ(test::ReadBytes(dir / "data/default.dat"), "1301,2,1\r\n");
  EXPECT_EQ(test::ReadBytes(dir / "data/mybrand.dat"), "株,0,1301\r\n");
  EXPECT_EQ((*table)[1301].market, 2);
  EXPECT_EQ((*table)[7203].price, 0);

  // No shipped list and none in the folder: the user is told, nothing is written.
  test::TempDir empty;
  EXPECT_EQ(SeedDataFolder(DataFolder(empty.path()), "", *table, prompt), -1);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "ファイルを開けませんでした");
  EXPECT_TRUE(test::ReadBytes(empty / "data/view.dat").empty());
}

}  // namespace
}  // namespace sorano
