#include "core/store/brand_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using test::FakePrompt;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

struct Folders : ::testing::Test {
  TempDir dir;
  DataFolder folder{dir.path()};
  FakePrompt prompt;
  std::unique_ptr<FolderTable> table = std::make_unique<FolderTable>();
  std::string File() const { return dir / "data/mybrand.dat"; }
  void Set(size_t slot, std::string_view utf8Name, std::initializer_list<int32_t> codes, int32_t flag = 0) {
    BrandFolder& f = (*table)[slot];
    SetField(f.name, Utf8ToSjis(utf8Name));
    f.flag = flag;
    size_t k = 0;
    for (int32_t c : codes) f.codes[k++] = c;
  }
  int Load() { return LoadFolders(folder, *table, prompt); }
  std::string Name(size_t slot) const { return SjisToUtf8(FieldText((*table)[slot].name)); }
  std::vector<int32_t> Codes(size_t slot) const {
    std::vector<int32_t> out;
    for (int32_t c : (*table)[slot].codes) {
      if (c == 0) break;
      out.push_back(c);
    }
    return out;
  }
};

TEST_F(Folders, SaveWritesExactLinesAndLoadReadsThemBack) {
  Set(0, "自動車", {7203, 6758});
  Set(1, "空", {});
  Set(2, "x", {1301}, 5);
  Set(3, "not written", {1});
  ASSERT_EQ(SaveFolders(folder, *table, 2, prompt), 1);
  EXPECT_EQ(ReadBytes(File()),
            Utf8ToSjis("自動車") + ",0,7203,6758\r\n" + Utf8ToSjis("空") + ",0,\r\nx,5,1301\r\n");

  auto saved = std::move(table);
  table = std::make_unique<FolderTable>();
  EXPECT_EQ(Load(), 3);
  EXPECT_EQ(Name(0), "自動車");
  EXPECT_EQ(Codes(0), (std::vector<int32_t>{7203, 6758}));
  EXPECT_EQ(Name(1), "空");
  EXPECT_EQ(Codes(1), std::vector<int32_t>{});
  EXPECT_EQ((*table)[2].flag, 5);
  EXPECT_EQ(Codes(2), std::vector<int32_t>{1301});
  EXPECT_EQ(Name(3), "");
  EXPECT_TRUE(prompt.calls.empty());

  // Below 0 writes an empty file; beyond 99 stops at the last slot.
  ASSERT_EQ(SaveFolders(folder, *table, -1, prompt), 1);
  EXPECT_EQ(ReadBytes(File()), "");
  ASSERT_EQ(SaveFolders(folder, *table, 1000, prompt), 1);
  const std::string all = ReadBytes(File());
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 100);
}

TEST_F(Folders, OnlyLinesEndedByANewlineAreRead) {
  WriteBytes(File(), "a,0,1,2\r\nb,0,3\nc,0,4");
  Set(2, "old", {9});
  EXPECT_EQ(Load(), 2);
  EXPECT_EQ(Codes(0), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(Name(1), "b");
  EXPECT_EQ(Codes(1), std::vector<int32_t>{3});
  EXPECT_EQ(Name(2), "old");  // the unterminated line does not reach slot 2
  EXPECT_EQ(Codes(2), std::vector<int32_t>{9});

  // One line and no newline at all: read as folder 0.
  WriteBytes(File(), "solo,0,7203,6758");
  EXPECT_EQ(Load(), 1);
  EXPECT_EQ(Name(0), "solo");
  EXPECT_EQ(Codes(0), (std::vector<int32_t>{7203, 6758}));

  // An empty file leaves the table as it is.
  WriteBytes(File(), "");
  EXPECT_EQ(Load(), 0);
  EXPECT_EQ(Name(0), "solo");
}

TEST_F(Folders, LinesBeyondTheLimitsLoseNothingElse) {
  std::string line = "many,0";
  for (int c = 1; c <= 305; ++c) line += "," + std::to_string(1000 + c);
  // Fields stay on their own line; bad codes are skipped; a 300-byte name is cut to 255.
  std::string longName(300, 'n');
  WriteBytes(File(), line + "\r\nnocomma\r\n" + longName + ",0,-3,10000,1301\r\nnext,0,5\r\n");
  Set(1, "prev", {1, 2, 3}, 7);
  EXPECT_EQ(Load(), 4);
  std::vector<int32_t> codes = Codes(0);
  ASSERT_EQ(codes.size(), 300u);
  EXPECT_EQ(codes.front(), 1001);
  EXPECT_EQ(codes.back(), 1300);
  EXPECT_EQ(Name(1), "nocomma");
  EXPECT_EQ((*table)[1].flag, 0);
  EXPECT_EQ(Codes(1), std::vector<int32_t>{});  // cleared, not merged with the old slot
  EXPECT_EQ(Name(2), longName.substr(0, 255));
  EXPECT_EQ(Codes(2), std::vector<int32_t>{1301});
  EXPECT_EQ(Name(3), "next");

  // A full folder is written with all 300 codes and "\r\n", and reads back the same.
  ASSERT_EQ(SaveFolders(folder, *table, 0, prompt), 1);
  const std::string text = ReadBytes(File());
  EXPECT_EQ(text.substr(text.size() - 7), ",1300\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), ','), 301);
}

TEST_F(Folders, NamesThatWouldBreakTheLineAreWrittenSafely) {
  Set(0, "A,B\r\nC", {7203});
  ASSERT_EQ(SaveFolders(folder, *table, 0, prompt), 1);
  EXPECT_EQ(ReadBytes(File()),
            "A\x81\x43"
            "BC,0,7203\r\n");
  EXPECT_EQ(Load(), 1);
  EXPECT_EQ(Name(0), "A，BC");
  EXPECT_EQ(Codes(0), std::vector<int32_t>{7203});
  // A CR inside a name written by hand is read as the next save would write it.
  WriteBytes(File(), "A\rB\r,0,7203\r\n");
  EXPECT_EQ(Load(), 1);
  EXPECT_EQ(Name(0), "AB");
}

TEST_F(Folders, MissingAndUnwritableFilesAreReportedOnce) {
  Set(0, "keep", {1});
  EXPECT_EQ(Load(), -1);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "ファイルを開けませんでした");
  EXPECT_EQ(prompt.calls[0].caption, "エラー");
  EXPECT_EQ(Name(0), "keep");

  // A folder in the way of the file: nothing written, the message without caption.
  WriteBytes(File() + "/x", "");
  EXPECT_EQ(SaveFolders(folder, *table, 0, prompt), 0);
  ASSERT_EQ(prompt.calls.size(), 2u);
  EXPECT_EQ(prompt.calls[1].text, "ファイルが開けません");
  EXPECT_EQ(prompt.calls[1].caption, "");
  EXPECT_EQ(ReadBytes(File() + "/x"), "");
}

}  // namespace
}  // namespace sorano
