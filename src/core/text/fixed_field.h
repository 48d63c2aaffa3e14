#pragma once
// Shift_JIS text in fixed-size, NUL-terminated record fields (64-byte names, 20-byte fiscal periods,
// 12-byte quote times, 256-byte folder names, ...).
#include <cstddef>
#include <span>
#include <string_view>

namespace sorano {

// Number of leading bytes of sjis that fit into a field of fieldSize bytes together with the
// terminating zero, without splitting a two-byte character. 0 for a field of size 0 or 1.
size_t SjisFitLength(std::string_view sjis, size_t fieldSize);

// Writes the longest whole-character prefix of sjis (up to its first zero byte, where a field's text
// ends) into field, NUL-terminated, and zero-fills the rest.
void SetField(std::span<char> field, std::string_view sjis);

// The text of a field up to its first NUL, never beyond the field.
std::string_view FieldText(std::span<const char> field);

}  // namespace sorano
