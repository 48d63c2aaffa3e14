#pragma once
// Per-brand memo files: data/memo/<code>.txt under the data folder, the memo's Shift_JIS bytes exactly
// as typed, with no header, terminator or length field.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/data_folder.h"

namespace sorano {

// The most bytes a memo holds. The editors limit their text to this many characters, which can be
// twice as many bytes; reading and writing both cut at a character boundary at this many bytes.
inline constexpr size_t kMemoCapacity = 32000;

// "data/memo/7203.txt" under folder.
std::string MemoPath(const DataFolder& folder, int32_t code);

// The longest prefix of sjis that holds at most kMemoCapacity bytes without splitting a two-byte
// character.
std::string_view ClipMemo(std::string_view sjis);

// The memo of code as Shift_JIS bytes, at most kMemoCapacity of them (a longer file is cut at a
// character boundary). Creates data/ and data/memo/ when missing and an empty memo file on first read.
// A file that cannot be opened gives an empty memo.
std::string ReadMemo(const DataFolder& folder, int32_t code);

// Replaces the memo file of code with text (Shift_JIS; clipped with ClipMemo), creating the folders
// when missing. Returns the number of bytes written, or -1 when the file could not be written (the old
// file is then left as it was).
int WriteMemo(const DataFolder& folder, std::string_view text, int32_t code);

}  // namespace sorano
