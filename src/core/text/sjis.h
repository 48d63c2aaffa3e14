#pragma once
// Shift_JIS (code page 932) <-> UTF-8. Program files and record text fields are Shift_JIS bytes; the
// user interface and the core's own message literals are UTF-8.
#include <string>
#include <string_view>

namespace sorano {

// Bytes that are not valid CP932 become U+FFFD; the conversion never fails.
std::string SjisToUtf8(std::string_view sjis);

// Characters that CP932 cannot hold (and invalid UTF-8) become '?'.
std::string Utf8ToSjis(std::string_view utf8);

// True when byte b starts a two-byte Shift_JIS character.
constexpr bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace sorano
