// The memo tab's session: line ends between editor and file, the capacity the editor keeps to, and an
// edit that stays pending when it cannot be written.
#include "core/memo/memo_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace sorano {
namespace {

TEST(MemoSession, SavesToItsOwnBrandWithWindowsLineEnds) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  test::WriteBytes(dir / "data/memo/7203.txt", "a\r\nb\rc\x82\xA0");  // "あ" at the end
  MemoSession memo;
  memo.Load(folder, 7203);
  EXPECT_EQ(memo.text(), "a\nb\ncあ");
  EXPECT_FALSE(memo.edited());
  EXPECT_TRUE(memo.Save(folder));  // nothing pending: nothing written
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/7203.txt"), "a\r\nb\rc\x82\xA0");
  memo.Edit("x\nい");
  ASSERT_TRUE(memo.Save(folder));
  EXPECT_FALSE(memo.edited());
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/7203.txt"), "x\r\n\x82\xA2");
  memo.Edit("");
  ASSERT_TRUE(memo.Save(folder));
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/7203.txt"), "");

  // A code outside the table has no memo file: nothing is read or written.
  memo.Load(folder, 123456);
  memo.Edit("lost?");
  EXPECT_FALSE(memo.Save(folder));
  EXPECT_TRUE(memo.edited());
  EXPECT_FALSE(std::filesystem::exists(dir / "data/memo/123456.txt"));
}

TEST(MemoSession, AFailedWriteKeepsTheEditPending) {
  test::TempDir dir;
  DataFolder folder(dir.path());
  MemoSession memo;
  memo.Load(folder, 6758);
  // The memo's file cannot be replaced while a folder stands in its place.
  std::filesystem::remove(dir / "data/memo/6758.txt");
  std::filesystem::create_directory(dir / "data/memo/6758.txt");
  memo.Edit("kept");
  EXPECT_FALSE(memo.Save(folder));
  EXPECT_TRUE(memo.edited());
  EXPECT_EQ(memo.text(), "kept");
  std::filesystem::remove(dir / "data/memo/6758.txt");
  EXPECT_TRUE(memo.Save(folder));
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/6758.txt"), "kept");

  // A text past the capacity is refused whole, never cut.
  memo.Edit(std::string(kMemoCapacity + 1, 'a'));
  EXPECT_FALSE(memo.Save(folder));
  EXPECT_EQ(test::ReadBytes(dir / "data/memo/6758.txt"), "kept");
}

TEST(MemoSession, InsertionsKeepWithinTheFileCapacity) {
  const std::string rest(kMemoCapacity - 1, 'a');  // one byte left
  const struct {
    std::string rest, inserted, kept;
  } cases[] = {
      {"abc", "x😀y", "x?y"},  // what Shift_JIS cannot hold shows as '?'
      {"abc", "いろは\n", "いろは\n"},
      {rest, "ab", "a"},
      {rest, "あ", ""},   // two bytes do not fit into one
      {rest, "\n", ""},   // neither does a line break ("\r\n")
      {rest, "ｱｲ", "ｱ"},  // half-width katakana take one byte
      {rest.substr(1), "\nx", "\n"},
      {rest + "aa", "b", ""},  // already full
  };
  for (const auto& c : cases) {
    const std::string kept = FitMemoInsertion(c.rest, c.inserted);
    EXPECT_EQ(kept, c.kept) << c.inserted;
    EXPECT_LE(MemoFileBytes(c.rest + kept).size(), std::max(kMemoCapacity, MemoFileBytes(c.rest).size()));
  }
}

}  // namespace
}  // namespace sorano
