#include "core/text/sjis.h"

#include <iconv.h>

#include <cerrno>

namespace sorano {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // what a failed iconv_open gives

// One converter per direction and thread, opened at its first use and kept: opening one costs far
// more than a short conversion (list panes convert thousands of names), and a descriptor must not be
// shared between threads. Each use starts from the initial state.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != kNoConverter) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t Fresh() {
    if (cd_ != kNoConverter) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

iconv_t ToUtf8() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter.Fresh();
}
iconv_t ToCp932() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter.Fresh();
}

// Converts with iconv; every input sequence iconv rejects is replaced by `replacement` and skipped
// (one byte, or the whole remainder when the input ends inside a character).
std::string Convert(iconv_t cd, std::string_view in, std::string_view replacement, size_t badStep) {
  std::string out;
  if (cd == kNoConverter) return out;
  out.reserve(in.size() * 2);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buf[4096];
  while (srcLeft > 0) {
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ: an invalid sequence; EINVAL: the input ends inside a character.
    out.append(replacement);
    size_t step = errno == EINVAL ? srcLeft : std::min(badStep, srcLeft);
    src += step;
    srcLeft -= step;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  char* dst = buf;
  size_t dstLeft = sizeof buf;
  iconv(cd, nullptr, nullptr, &dst, &dstLeft);
  out.append(buf, static_cast<size_t>(dst - buf));
  return out;
}

// Length of the well-formed UTF-8 sequence at pos (1 for a stray or malformed byte), used to skip a
// character CP932 cannot hold as one unit.
size_t Utf8Step(std::string_view s, size_t pos) {
  auto b = static_cast<unsigned char>(s[pos]);
  size_t n = b < 0xC2 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 1;
  for (size_t k = 1; k < n; ++k) {
    if (pos + k >= s.size() || (static_cast<unsigned char>(s[pos + k]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) {
  return Convert(ToUtf8(), sjis, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToSjis(std::string_view utf8) {
  // iconv stops at a character it cannot represent; skip that whole UTF-8 character, not one byte.
  std::string out;
  size_t start = 0;
  while (start < utf8.size()) {
    iconv_t cd = ToCp932();
    if (cd == kNoConverter) return out;
    char* src = const_cast<char*>(utf8.data() + start);
    size_t srcLeft = utf8.size() - start;
    char buf[4096];
    bool bad = false;
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        bad = true;
        break;
      }
    }
    start = utf8.size() - srcLeft;
    if (!bad) break;
    out.push_back('?');
    start += std::min(Utf8Step(utf8, start), utf8.size() - start);
  }
  return out;
}

std::optional<std::string> Utf8ToSjisExact(std::string_view utf8) {
  iconv_t cd = ToCp932();
  if (cd == kNoConverter) return std::nullopt;
  std::string out;
  char* src = const_cast<char*>(utf8.data());
  size_t srcLeft = utf8.size();
  while (srcLeft > 0) {
    char buf[4096];
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;
  }
  return out;
}

bool SjisContains(std::string_view haystack, std::string_view needle) {
  if (needle.size() > haystack.size()) return false;
  const size_t last = haystack.size() - needle.size();
  for (size_t i = 0; i <= last;) {
    if (haystack.compare(i, needle.size(), needle) == 0) return true;
    i += IsSjisLeadByte(static_cast<unsigned char>(haystack[i])) ? 2 : 1;
  }
  return false;
}

}  // namespace sorano
