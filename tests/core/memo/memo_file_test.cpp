#include "core/memo/memo_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "core/fs/file_io.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

// "あ" in Shift_JIS.
const std::string kA = "\x82\xA0";

TEST(MemoFile, FirstReadCreatesFoldersAndAnEmptyFile) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  EXPECT_EQ(MemoPath(folder, 7203), dir / "data/memo/7203.txt");
  EXPECT_EQ(ReadMemo(folder, 7203), "");
  EXPECT_EQ(FileExists(dir / "data/memo", 1), 1);
  ASSERT_EQ(FileExists(dir / "data/memo/7203.txt", 0), 1);
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/7203.txt"), "");
  // A second read of an existing memo leaves its bytes alone.
  test::WriteBytes(dir / "data/memo/7203.txt", "abc\r\n");
  EXPECT_EQ(ReadMemo(folder, 7203), "abc\r\n");
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/7203.txt"), "abc\r\n");
}

TEST(MemoFile, RoundTripKeepsBytesExactly) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  std::string memo = "\x83\x81\x83\x82\r\nline\t2\r\n" + kA + std::string("\0x", 2);
  EXPECT_EQ(WriteMemo(folder, memo, 1301), static_cast<int>(memo.size()));
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/1301.txt"), memo);
  EXPECT_EQ(ReadMemo(folder, 1301), memo);
  // Rewriting replaces the whole file; an empty text leaves a zero-length file.
  EXPECT_EQ(WriteMemo(folder, "", 1301), 0);
  ASSERT_EQ(FileExists(dir / "data/memo/1301.txt", 0), 1);
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/1301.txt"), "");
}

TEST(MemoFile, LongFilesAreCutAtTheCapacityOnACharacterBoundary) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  std::string path = dir / "data/memo/9984.txt";

  // 40000 one-byte characters: the first 32000 bytes.
  test::WriteBytes(path, std::string(40000, 'x'));
  EXPECT_EQ(ReadMemo(folder, 9984), std::string(32000, 'x'));

  // A two-byte character straddling byte 32000 is dropped whole, never halved.
  std::string straddle = std::string(31999, 'y') + kA + "zz";
  test::WriteBytes(path, straddle);
  EXPECT_EQ(ReadMemo(folder, 9984), std::string(31999, 'y'));

  // Exactly 32000 bytes, ending in a whole two-byte character, come back unchanged.
  std::string exact = std::string(31998, 'y') + kA;
  test::WriteBytes(path, exact);
  EXPECT_EQ(ReadMemo(folder, 9984), exact);

  // A short memo ending in a stray lead byte is not a cut: its bytes are kept as they are.
  test::WriteBytes(path, "ab\x82");
  EXPECT_EQ(ReadMemo(folder, 9984), "ab\x82");

  // 20000 two-byte characters (what the editor allows) are written as the first 16000 of them.
  std::string wide;
  for (int i = 0; i < 20000; ++i) wide += kA;
  EXPECT_EQ(WriteMemo(folder, wide, 9984), 32000);
  EXPECT_EQ(test::ReadBytes(path), wide.substr(0, 32000));
  // An odd cut point backs off to the last whole character.
  std::string odd = "q" + wide;
  EXPECT_EQ(WriteMemo(folder, odd, 9984), 31999);
  EXPECT_EQ(ReadMemo(folder, 9984), odd.substr(0, 31999));
}

TEST(MemoFile, UnusableFolderGivesEmptyMemoAndFailedWrite) {
  test::TempDir dir;
  // A file named "data" stands where the folder should be.
  test::WriteBytes(dir / "data", "not a folder");
  DataFolder folder(dir.path());
  EXPECT_EQ(ReadMemo(folder, 1), "");
  EXPECT_EQ(WriteMemo(folder, "text", 1), -1);
  EXPECT_EQ(test::ReadBytes(dir / "data"), "not a folder");

  // A folder in place of the memo file: nothing read, nothing replaced.
  test::TempDir dir2;
  DataFolder folder2(dir2.path());
  ASSERT_TRUE(EnsureFolder(dir2 / "data/memo/5.txt"));
  EXPECT_EQ(ReadMemo(folder2, 5), "");
  EXPECT_EQ(WriteMemo(folder2, "text", 5), -1);
  EXPECT_EQ(FileExists(dir2 / "data/memo/5.txt", 1), 1);
}

}  // namespace
}  // namespace sorano
