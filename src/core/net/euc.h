#pragma once
// The chart and quote services deliver their pages in EUC-JP; the program works in Shift_JIS.
#include <string>
#include <string_view>

namespace sorano {

// Converts EUC-JP bytes to Shift_JIS by arithmetic, without tables:
// - 0x8E (single shift 2) is dropped and the half-width katakana byte after it is copied as it is
//   (0xA1..0xDF has the same code in both encodings);
// - a byte in 0xA1..0xFE starts a two-byte character: both bytes lose bit 7, the pair is a JIS X 0208
//   code (row byte first) and is rewritten as its Shift_JIS pair, lead byte first;
// - every other byte (ASCII, 0x8F, stray bytes) is copied unchanged.
// A lead byte (or 0x8E) that is the very last byte has no partner and is dropped.
std::string EucToShiftJis(std::string_view euc);

// The inverse for the characters EucToShiftJis produces: a Shift_JIS pair becomes the EUC-JP pair of
// its JIS X 0208 code, a half-width katakana byte becomes 0x8E and itself. The local feed service
// writes its pages with it. A lead byte without a valid trail byte is copied unchanged.
std::string ShiftJisToEuc(std::string_view sjis);

}  // namespace sorano
