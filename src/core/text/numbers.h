#pragma once
// The leading-number conversions every file and page parser relies on.
#include <cstdint>
#include <string_view>

namespace sorano {

// Leading decimal integer: optional white space, optional sign, digits; stops at the first other
// character. No digits gives 0. A value outside int32 saturates at INT32_MIN / INT32_MAX.
int32_t LeadingInt(std::string_view s);
// The same in 64 bits, for amounts.
int64_t LeadingInt64(std::string_view s);

// Leading floating-point number ("12.5", "-3", ".5", "1e3"); none gives 0.0, and so do a second sign,
// "inf" and "nan", so the result is always finite. A zero is always +0.0 ("---" and "-0.00" included).
// Beyond the double range it saturates at -DBL_MAX / DBL_MAX; below it gives 0.0. Independent of the
// locale.
double LeadingDouble(std::string_view s);

}  // namespace sorano
