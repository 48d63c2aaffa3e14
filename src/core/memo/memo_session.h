#pragma once
// The memo being edited in the list pane's memo tab. It belongs to the brand it was loaded for: an
// edit is written to that brand's file, whichever brand is shown when it is saved. A write that fails
// leaves the edit pending, so nothing typed is lost.
//
// The editor holds UTF-8 with "\n" line ends; the file holds Shift_JIS with "\r\n" line ends, at most
// kMemoCapacity bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/memo/memo_file.h"
#include "core/settings/data_folder.h"

namespace sorano {

// The file bytes of an editor text: Shift_JIS ('?' for a character it cannot hold), "\n" written as
// "\r\n". Not clipped.
std::string MemoFileBytes(std::string_view utf8);
// The editor text of file bytes: "\r\n" and a lone "\r" become "\n".
std::string MemoEditorText(std::string_view sjis);

// What the editor keeps of an insertion into a text whose other characters are `rest`: every
// character Shift_JIS cannot hold becomes '?' (so the editor shows what the file will hold), and the
// insertion is cut at a character boundary where the file would grow past kMemoCapacity bytes.
std::string FitMemoInsertion(std::string_view restUtf8, std::string_view insertedUtf8);

class MemoSession {
 public:
  // Reads code's memo (ReadMemo); it is what the editor shows from now on, not edited. A code outside
  // 0..9999 has no memo file: its memo is empty and cannot be saved.
  void Load(const DataFolder& folder, int32_t code);
  // The editor's whole text after a change by the user.
  void Edit(std::string utf8);
  // Writes a pending edit to the file of the memo's own brand. True when nothing was pending or the
  // write succeeded (nothing is pending then); false when it failed (the edit stays pending).
  bool Save(const DataFolder& folder);

  int32_t code() const { return code_; }
  bool edited() const { return edited_; }
  const std::string& text() const { return text_; }

 private:
  int32_t code_ = -1;
  bool edited_ = false;
  std::string text_;
};

}  // namespace sorano
