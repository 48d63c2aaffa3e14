#include "core/net/euc.h"

#include "core/text/sjis.h"

namespace sorano {

namespace {

// A byte of a two-byte EUC-JP character (row or cell 0x21..0x7E with bit 7 set).
bool IsEucByte(unsigned char b) {
  return b >= 0xA1 && b <= 0xFE;
}

}  // namespace

std::string EucToShiftJis(std::string_view euc) {
  std::string out;
  out.reserve(euc.size());
  const size_t n = euc.size();
  auto at = [&euc](size_t k) { return static_cast<unsigned char>(euc[k]); };
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = at(i);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      continue;
    }
    const bool last = i + 1 >= n;
    if (b == 0x8E && !last && at(i + 1) >= 0xA1 && at(i + 1) <= 0xDF) {
      out.push_back(static_cast<char>(at(++i)));  // half-width katakana
      continue;
    }
    if (IsEucByte(b) && !last && IsEucByte(at(i + 1))) {
      const unsigned j1 = b & 0x7F;
      const unsigned j2 = at(++i) & 0x7F;
      // JIS X 0208 (row j1, cell j2, both 0x21..0x7E) to Shift_JIS: two JIS rows share one lead byte;
      // odd rows take trail bytes 0x40..0x9E (skipping 0x7F), even rows 0x9F..0xFC.
      const unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
      const unsigned s2 = (j1 & 1) ? j2 + (j2 >= 0x60 ? 0x20 : 0x1F) : j2 + 0x7E;
      out.push_back(static_cast<char>(s1));
      out.push_back(static_cast<char>(s2));
      continue;
    }
    if (b == 0x8F && i + 2 < n && IsEucByte(at(i + 1)) && IsEucByte(at(i + 2))) {
      i += 2;  // a JIS X 0212 character has no Shift_JIS code
      out.push_back('?');
      continue;
    }
    // A character cut off by the end of the page is dropped; any other byte that starts no character
    // is shown as '?', so that no stray lead byte swallows the byte after it.
    if (!last) out.push_back('?');
  }
  return out;
}

std::string ShiftJisToEuc(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 4);
  const size_t n = sjis.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(sjis[i]);
    if (b >= 0xA1 && b <= 0xDF) {
      out.push_back(static_cast<char>(0x8E));
      out.push_back(static_cast<char>(b));
      continue;
    }
    if (IsSjisLeadByte(b) && b <= 0xEF && i + 1 < n) {
      const unsigned s2 = static_cast<unsigned char>(sjis[i + 1]);
      if (s2 >= 0x40 && s2 <= 0xFC && s2 != 0x7F) {
        unsigned j1 = (b <= 0x9F ? (b - 0x70) : (b - 0xB0)) * 2;
        unsigned j2;
        if (s2 >= 0x9F) {
          j2 = s2 - 0x7E;
        } else {
          j1 -= 1;
          j2 = s2 - (s2 >= 0x80 ? 0x20 : 0x1F);
        }
        out.push_back(static_cast<char>(j1 | 0x80));
        out.push_back(static_cast<char>(j2 | 0x80));
        ++i;
        continue;
      }
    }
    out.push_back(static_cast<char>(b));
  }
  return out;
}

}  // namespace sorano
