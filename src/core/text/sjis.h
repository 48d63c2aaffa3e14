#pragma once
// Shift_JIS (code page 932) <-> UTF-8. Program files and record text fields are Shift_JIS bytes; the
// user interface and the core's own message literals are UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace sorano {

// Bytes that are not valid CP932 become U+FFFD; the conversion never fails.
std::string SjisToUtf8(std::string_view sjis);

// Characters that CP932 cannot hold (and invalid UTF-8) become '?'.
std::string Utf8ToSjis(std::string_view utf8);

// The conversion of text a user typed to look for: nullopt when any character cannot be held by CP932
// (or the UTF-8 is invalid), since a '?' put in its place would look for something else.
std::optional<std::string> Utf8ToSjisExact(std::string_view utf8);

// True when needle occurs in haystack as whole characters: a match starts only where a character of
// haystack starts, so the second byte of a two-byte character (0x40..0xFC, which includes ASCII
// letters) never matches a one-byte one. An empty needle is found everywhere.
bool SjisContains(std::string_view haystack, std::string_view needle);

// True when byte b starts a two-byte Shift_JIS character.
constexpr bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace sorano
