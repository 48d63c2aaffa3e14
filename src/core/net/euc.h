#pragma once
// The chart and quote services deliver their pages in EUC-JP; the program works in Shift_JIS.
#include <string>
#include <string_view>

namespace sorano {

// Converts EUC-JP bytes to Shift_JIS by arithmetic, without tables:
// - ASCII is copied;
// - 0x8E (single shift 2) and a half-width katakana byte 0xA1..0xDF become that byte (the same code in
//   both encodings);
// - two bytes 0xA1..0xFE are a JIS X 0208 code (row byte first, bit 7 cleared) and become its
//   Shift_JIS pair, lead byte first;
// - 0x8F and two such bytes (JIS X 0212, which Shift_JIS lacks) become '?';
// - any other byte becomes '?', except that a character cut off by the end of the text is dropped.
// The result is always well-formed Shift_JIS and never longer than the input.
std::string EucToShiftJis(std::string_view euc);

// The inverse for the characters EucToShiftJis produces: a Shift_JIS pair becomes the EUC-JP pair of
// its JIS X 0208 code, a half-width katakana byte becomes 0x8E and itself. The local feed service
// writes its pages with it. A lead byte without a valid trail byte is copied unchanged.
std::string ShiftJisToEuc(std::string_view sjis);

}  // namespace sorano
