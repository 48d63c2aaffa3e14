#include "core/text/numbers.h"

#include <charconv>
#include <limits>

namespace sorano {
namespace {

size_t SkipSpace(std::string_view s) {
  size_t i = 0;
  while (i < s.size() &&
         (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\v' || s[i] == '\f'))
    ++i;
  return i;
}

}  // namespace

int64_t LeadingInt64(std::string_view s) {
  size_t i = SkipSpace(s);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  // Accumulate as a negative number so that INT64_MIN itself is representable.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t v = 0;
  bool overflow = false;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    int d = s[i] - '0';
    if (!overflow) {
      if (v < (kMin + d) / 10) {
        overflow = true;
      } else {
        v = v * 10 - d;
      }
    }
  }
  if (overflow) return negative ? kMin : std::numeric_limits<int64_t>::max();
  if (negative) return v;
  return v == kMin ? std::numeric_limits<int64_t>::max() : -v;
}

int32_t LeadingInt(std::string_view s) {
  int64_t v = LeadingInt64(s);
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

double LeadingDouble(std::string_view s) {
  size_t i = SkipSpace(s);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  // Digits must follow (a "." counts when a digit comes after it): "---", "-" or "-inf" read as +0.0,
  // never as a negative zero or a non-finite value.
  const size_t digit = i < s.size() && s[i] == '.' ? i + 1 : i;
  if (digit >= s.size() || s[digit] < '0' || s[digit] > '9') return 0.0;
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(s.data() + i, s.data() + s.size(), v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves v untouched on overflow; mimic strtod (HUGE_VAL or 0).
    v = 0.0;
    size_t j = i;
    while (j < s.size() && s[j] == '0') ++j;
    if (j < s.size() && s[j] >= '1' && s[j] <= '9') {
      // Digits before any exponent: a huge mantissa or a large positive exponent.
      size_t e = s.find_first_of("eE", i);
      bool tiny = e != std::string_view::npos && e + 1 < s.size() && s[e + 1] == '-';
      v = tiny ? 0.0 : std::numeric_limits<double>::max();
    }
  } else if (ec != std::errc()) {
    v = 0.0;
  }
  (void)ptr;
  if (v == 0.0) return 0.0;  // "-0.00" too: a stored -0.0 would print as "-0.00"
  return negative ? -v : v;
}

}  // namespace sorano
