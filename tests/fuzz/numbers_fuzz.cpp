// The leading-number conversions against the C library's strtoll and strtod (C locale): the same value
// for every text, except what the C library reads and the program does not (hexadecimal numbers,
// "inf" and "nan", which are no amounts), and a value beyond the double range, which saturates.
#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/text/numbers.h"
#include "fuzz_support.h"

namespace {

bool HexOrNonFinite(const std::string& s) {
  size_t i = s.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string::npos) return false;
  if (s[i] == '+' || s[i] == '-') ++i;
  auto lower = [&](size_t k) { return k < s.size() ? static_cast<char>(s[k] | 0x20) : '\0'; };
  return (s.compare(i, 1, "0") == 0 && lower(i + 1) == 'x') || lower(i) == 'i' || lower(i) == 'n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);  // strto* stop at a NUL too

  const long long expected64 = std::strtoll(text.c_str(), nullptr, 10);
  FUZZ_CHECK(sorano::LeadingInt64(text) == expected64);
  const int32_t expected32 = static_cast<int32_t>(std::clamp<long long>(expected64, INT32_MIN, INT32_MAX));
  FUZZ_CHECK(sorano::LeadingInt(text) == expected32);

  const double got = sorano::LeadingDouble(text);
  FUZZ_CHECK(std::isfinite(got));
  if (HexOrNonFinite(text)) return 0;
  errno = 0;
  double want = std::strtod(text.c_str(), nullptr);
  if (std::isinf(want)) want = std::copysign(DBL_MAX, want);
  // Below the normal range the two may round a denormal differently; nothing there is an amount.
  FUZZ_CHECK(got == want || std::fabs(got - want) <= DBL_MIN);
  return 0;
}
