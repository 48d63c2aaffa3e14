#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/fs/file_io.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

TEST(FileIo, ExistsDistinguishesFilesAndFolders) {
  test::TempDir dir;
  EXPECT_EQ(FileExists(dir.path(), 1), 1);
  EXPECT_EQ(FileExists(dir.path(), 0), 0);
  test::WriteBytes(dir / "f", "x");
  EXPECT_EQ(FileExists(dir / "f", 0), 1);
  EXPECT_EQ(FileExists(dir / "f", 1), 0);
  EXPECT_EQ(FileExists(dir / "missing", 0), 0);
  EXPECT_EQ(FileExists("", 1), 0);
  EXPECT_TRUE(EnsureFolder(dir / "a/b/c"));
  EXPECT_EQ(FileExists(dir / "a/b/c", 1), 1);
  EXPECT_FALSE(EnsureFolder(dir / "f/sub"));  // a file stands in the way
}

TEST(FileIo, ReadWholeFileReadsToTheLimitWhateverTheFileSaysItsSizeIs) {
  test::TempDir dir;
  std::string big(2560000 + 77, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7919 >> 3);
  test::WriteBytes(dir / "view.dat", big);
  EXPECT_EQ(ReadWholeFile(dir / "view.dat").value(), big);
  EXPECT_EQ(ReadWholeFile(dir / "view.dat", 2560000).value(), big.substr(0, 2560000));
  EXPECT_EQ(ReadWholeFile(dir / "view.dat", 0).value(), "");
  test::WriteBytes(dir / "empty", "");
  EXPECT_EQ(ReadWholeFile(dir / "empty").value(), "");
  EXPECT_FALSE(ReadWholeFile(dir / "missing").has_value());
  EXPECT_FALSE(ReadWholeFile(dir.path()).has_value());
  // A file whose size says 0 but which has content (as under /proc) is read to its end.
  const std::string status = ReadWholeFile("/proc/self/status").value();
  EXPECT_NE(status.find("Name:"), std::string::npos);
  EXPECT_GT(status.size(), 100u);
}

TEST(FileIo, ReadRecordsIntoReadsWholeRecordsAndLeavesTheRestAsItWas) {
  test::TempDir dir;
  std::string file(70000, '\0');  // 273 records of 256 bytes and a partial one, across two chunks
  for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<char>(i % 251);
  test::WriteBytes(dir / "view.dat", file);
  std::string table(80000, 'k');
  EXPECT_EQ(ReadRecordsInto(dir / "view.dat", table, 256), 273 * 256);
  EXPECT_EQ(table.substr(0, 273 * 256), file.substr(0, 273 * 256));
  EXPECT_EQ(table.substr(273 * 256), std::string(80000 - 273 * 256, 'k'));
  std::string small(1000, 'k');  // room for three records only
  EXPECT_EQ(ReadRecordsInto(dir / "view.dat", small, 256), 768);
  EXPECT_EQ(small.substr(0, 768), file.substr(0, 768));
  EXPECT_EQ(small.substr(768), std::string(232, 'k'));
  EXPECT_EQ(ReadRecordsInto(dir / "missing", small, 256), -1);
  EXPECT_EQ(ReadRecordsInto(dir.path(), small, 256), -1);
}

TEST(FileIo, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
  test::TempDir dir;
  std::string p = dir / "view.dat";
  ASSERT_TRUE(WriteFileAtomic(p, std::string("\0\1\2", 3)));
  EXPECT_EQ(ReadWholeFile(p).value(), std::string("\0\1\2", 3));
  ASSERT_TRUE(WriteFileAtomic(p, "new"));
  EXPECT_EQ(ReadWholeFile(p).value(), "new");
  EXPECT_EQ(ReadWholeFile(p, 2).value(), "ne");
  EXPECT_FALSE(ReadWholeFile(dir / "missing"));
  EXPECT_FALSE(ReadWholeFile(dir.path()));  // a folder is not a file
  // A write into a missing folder fails and creates nothing.
  EXPECT_FALSE(WriteFileAtomic(dir / "nofolder/x.dat", "x"));
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(FileIo, StaleTemporariesOfDeadProcessesAndOfThisOneAreRemoved) {
  test::TempDir dir;
  const std::string own = std::to_string(::getpid());
  const struct {
    std::string name;
    bool removed;
  } files[] = {
      {"view.dat.tmp4194305-aB3dE9", true},  // no process has that number
      {"view.dat.tmp" + own + "-Zz9911", true},
      {"Sorano.reg.tmp1-q1w2e3", false},  // process 1 runs
      {"view.dat", false},
      {"notes.tmp", false},
      {"x.tmp12-short", false},
      {"x.tmpab-123456", false},
  };
  for (const auto& f : files) test::WriteBytes(dir / f.name, "x");
  EXPECT_EQ(RemoveStaleTemporaries(dir.path()), 2);
  for (const auto& f : files) EXPECT_EQ(std::filesystem::exists(dir / f.name), !f.removed) << f.name;
  EXPECT_EQ(RemoveStaleTemporaries(dir / "missing"), 0);
}

}  // namespace
}  // namespace sorano
