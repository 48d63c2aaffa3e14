#include "core/net/euc.h"

#include "core/text/sjis.h"

namespace sorano {

std::string EucToShiftJis(std::string_view euc) {
  std::string out;
  out.reserve(euc.size());
  const size_t n = euc.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(euc[i]);
    if (b == 0x8E) {
      if (i + 1 < n) out.push_back(euc[++i]);
      continue;
    }
    const unsigned char row = b ^ 0x80;
    if (row >= 33 && row <= 126) {
      if (i + 1 >= n) break;  // a lead byte at the very end: nothing to pair it with
      const unsigned j1 = row;
      const unsigned j2 = static_cast<unsigned char>(euc[++i]) & 0x7F;
      // JIS X 0208 (row j1, cell j2, both 0x21..0x7E) to Shift_JIS: two JIS rows share one lead byte;
      // odd rows take trail bytes 0x40..0x9E (skipping 0x7F), even rows 0x9F..0xFC.
      const unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
      unsigned s2;
      if (j1 & 1) {
        s2 = j2 + (j2 >= 0x60 ? 0x20 : 0x1F);
      } else {
        s2 = j2 + 0x7E;
      }
      out.push_back(static_cast<char>(s1 & 0xFF));
      out.push_back(static_cast<char>(s2 & 0xFF));
      continue;
    }
    out.push_back(static_cast<char>(b));
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
