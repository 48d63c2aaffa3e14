// Folder operations against data/mybrand.dat: what each writes, what is refused, a hand edit of the
// file, and a file that cannot be written.
#include "core/lists/folder_book.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using R = FolderResult;

class FolderBookTest : public ::testing::Test {
 protected:
  void Load(std::string_view utf8File) {
    test::WriteBytes(file(), Utf8ToSjis(utf8File));
    book->Load(folder, prompt);
  }
  std::string File() const { return SjisToUtf8(test::ReadBytes(file())); }
  std::string file() const { return dir / "data/mybrand.dat"; }
  std::string NameOf(int slot) const {
    return SjisToUtf8(FieldText(book->table()[static_cast<size_t>(slot)].name));
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& c : prompt.calls) texts.push_back(c.text);
    return texts;
  }

  test::TempDir dir;
  DataFolder folder{dir.path()};
  test::FakePrompt prompt;
  std::unique_ptr<FolderBook> book = std::make_unique<FolderBook>();
};

TEST_F(FolderBookTest, CreateRenameAndRemoveActOnSlots) {
  Load("株,0,1301\r\n株,0,7203,6758\r\n他,0,\r\n");
  int32_t slot = -1;
  ASSERT_EQ(book->Create(folder, prompt, &slot), R::kDone);
  EXPECT_EQ(slot, 3);
  EXPECT_EQ(File(), "株,0,1301\r\n株,0,7203,6758\r\n他,0,\r\n新しいフォルダ,0,\r\n");
  // Of two folders named alike, the one pointed at is renamed, then the other removed.
  ASSERT_EQ(book->Rename(folder, prompt, 1, "自動車"), R::kDone);
  ASSERT_EQ(book->Remove(folder, prompt, 0), R::kDone);
  EXPECT_EQ(File(), "自動車,0,7203,6758\r\n他,0,\r\n新しいフォルダ,0,\r\n");
  // The middle one of three goes; the third moves up with its codes.
  ASSERT_EQ(book->Remove(folder, prompt, 1), R::kDone);
  EXPECT_EQ(File(), "自動車,0,7203,6758\r\n新しいフォルダ,0,\r\n");
  EXPECT_EQ(book->Count(), 2);
  EXPECT_EQ(book->Remove(folder, prompt, 5), R::kRefused);
  EXPECT_TRUE(prompt.calls.empty());
}

TEST_F(FolderBookTest, NamesAndTheHundredthFolder) {
  Load("a,0,\r\n");
  EXPECT_EQ(book->Rename(folder, prompt, 0, ""), R::kRefused);
  EXPECT_EQ(book->Rename(folder, prompt, 0, std::string_view("\0\r\n", 3)), R::kRefused);
  EXPECT_EQ(NameOf(0), "a");
  // A "," would split the line, a line break end it and a zero end the name (the folder would vanish);
  // a long name is cut on a character boundary.
  ASSERT_EQ(book->Rename(folder, prompt, 0, std::string_view("日経,\0TOPIX\r\n", 15)), R::kDone);
  EXPECT_EQ(File(), "日経，TOPIX,0,\r\n");
  std::string longName;
  for (int i = 0; i < 200; ++i) longName += "株";
  ASSERT_EQ(book->Rename(folder, prompt, 0, "x" + longName), R::kDone);
  EXPECT_EQ(FieldText(book->table()[0].name).size(), 255u);  // "x" and 127 two-byte characters
  for (int i = 1; i < 100; ++i) SetField(book->table()[static_cast<size_t>(i)].name, "f");
  const std::string before = test::ReadBytes(file());
  EXPECT_EQ(book->Create(folder, prompt, nullptr), R::kRefused);
  EXPECT_EQ(test::ReadBytes(file()), before);
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{std::string(kMsgEmptyFolderName), std::string(kMsgEmptyFolderName),
                                      std::string(kMsgTooManyFolders)}));
}

TEST_F(FolderBookTest, CodesAddedRemovedAndReordered) {
  Load("a,0,7203,6758,9984\r\n");
  for (int32_t bad : {0, 10000, -1, 6758})
    EXPECT_EQ(book->AddCode(folder, prompt, 0, bad), R::kRefused) << bad;
  ASSERT_EQ(book->AddCode(folder, prompt, 0, 1301), R::kDone);
  EXPECT_EQ(File(), "a,0,7203,6758,9984,1301\r\n");
  const std::array<int, 3> positions = {0, 2, 7};  // 7 is no position of the folder
  ASSERT_EQ(book->RemoveCodes(folder, prompt, 0, positions), R::kDone);
  EXPECT_EQ(File(), "a,0,6758,1301\r\n");
  const std::array<int32_t, 2> order = {1301, 6758};
  ASSERT_EQ(book->Reorder(folder, prompt, 0, order), R::kDone);
  EXPECT_EQ(File(), "a,0,1301,6758\r\n");
  const std::array<int32_t, 2> other = {1301, 7203};
  EXPECT_EQ(book->Reorder(folder, prompt, 0, other), R::kRefused);
  // The 301st code is refused.
  for (int i = 0; i < 300; ++i) book->table()[0].codes[i] = 1000 + i;
  EXPECT_EQ(book->AddCode(folder, prompt, 0, 9999), R::kRefused);
  EXPECT_EQ(Messages(), (std::vector<std::string>{std::string(kMsgBadCode), std::string(kMsgBadCode),
                                                  std::string(kMsgBadCode), std::string(kMsgCodeInFolder),
                                                  std::string(kMsgFolderFull)}));
}

TEST_F(FolderBookTest, AHandEditIsReadBackInsteadOfOverwritten) {
  Load("a,0,7203\r\nb,0,\r\n");
  test::WriteBytes(file(), "b,0,6758\r\n");  // the user's editor removed "a"
  EXPECT_EQ(book->Rename(folder, prompt, 0, "renamed"), R::kReloaded);
  EXPECT_EQ(test::ReadBytes(file()), "b,0,6758\r\n");
  EXPECT_EQ(NameOf(0), "b");
  EXPECT_EQ(book->Count(), 1);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, kMsgFolderFileChanged);
  // Now up to date, the next operation goes through.
  EXPECT_EQ(book->Rename(folder, prompt, 0, "c"), R::kDone);
  EXPECT_EQ(test::ReadBytes(file()), "c,0,6758\r\n");
}

TEST_F(FolderBookTest, AFailedWriteLeavesTableAndFileAsTheyWere) {
  Load("a,0,7203\r\n");
  // A folder where the file's replacement would go: the rename over it fails.
  std::filesystem::remove(file());
  std::filesystem::create_directories(file());
  book->Load(folder, prompt);  // the missing file is reported; the book now knows the folder
  prompt.calls.clear();
  ASSERT_EQ(book->Create(folder, prompt, nullptr), R::kFailed);
  EXPECT_EQ(book->Count(), 0);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "ファイルが開けません");
}

}  // namespace
}  // namespace sorano
