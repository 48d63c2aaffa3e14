#include "core/text/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

// A number that from_chars found out of range ("1e400", "1e-400", 400 digits): true when it is too
// large, false when it is too small. Compares the decimal exponent of its first significant digit
// with 0 (either way it is hundreds of powers of ten away from it).
bool TooLargeForDouble(std::string_view number) {
  const size_t e = number.find_first_of("eE");
  const std::string_view mantissa = number.substr(0, e);
  const int64_t exponent = e == std::string_view::npos ? 0 : LeadingInt64(number.substr(e + 1));
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return false;  // all zeros
  // Power of ten of the first significant digit before the exponent is applied.
  const int64_t lead =
      first < point ? static_cast<int64_t>(point - first - 1) : -static_cast<int64_t>(first - point);
  return exponent > -lead;
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
  // Digits must follow (a "." counts when a digit comes after it): "---", "-", "--5" (from_chars would
  // take the second sign as the number's own) or "-inf" read as +0.0, never as a negative zero or a
  // non-finite value.
  const size_t digit = i < s.size() && s[i] == '.' ? i + 1 : i;
  if (digit >= s.size() || s[digit] < '0' || s[digit] > '9') return 0.0;
  double v = 0.0;
  auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    v = TooLargeForDouble(std::string_view(s.data() + i, static_cast<size_t>(end - (s.data() + i))))
            ? std::numeric_limits<double>::max()
            : 0.0;
  } else if (ec != std::errc() || !std::isfinite(v)) {
    v = 0.0;  // no number, or "inf" / "nan", which are no amounts
  }
  if (v == 0.0) return 0.0;  // "-0.00" too: a stored -0.0 would print as "-0.00"
  return negative ? -v : v;
}

}  // namespace sorano
