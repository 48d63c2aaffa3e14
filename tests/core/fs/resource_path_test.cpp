#include "core/fs/resource_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

TEST(ResourcePath, EnvironmentFirstThenBesideTheProgram) {
  test::TempDir dir;
  test::WriteBytes(dir / "default.dat", "x");
  {
    test::ScopedEnv res("SORANO_RESOURCES", dir.path().c_str());
    EXPECT_EQ(ShippedResourcePath("default.dat"), dir.path() + "/default.dat");
    EXPECT_EQ(ShippedResourcePath("missing.dat"), "");  // the variable decides alone
  }
  // A test program in a build folder directly inside the source tree finds the tree's resources/.
  test::ScopedEnv unset("SORANO_RESOURCES", nullptr);
  namespace fs = std::filesystem;
  if (fs::path(SORANO_BINARY_DIR).parent_path() != fs::path(SORANO_SOURCE_DIR))
    GTEST_SKIP() << "build folder outside the source tree";
  std::error_code ec;
  EXPECT_TRUE(
      fs::equivalent(ShippedResourcePath("default.dat"), SORANO_SOURCE_DIR "/resources/default.dat", ec));
  EXPECT_EQ(ShippedResourcePath("missing.dat"), "");
}

}  // namespace
}  // namespace sorano
