// EucToShiftJis on any bytes: well-formed Shift_JIS out, never longer than what came in, and the
// feed's inverse brings back exactly the same text.
#include "core/net/euc.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view euc(reinterpret_cast<const char*>(data), size);
  const std::string sjis = sorano::EucToShiftJis(euc);
  FUZZ_CHECK(sorano::fuzz::IsWellFormedSjis(sjis));
  FUZZ_CHECK(sjis.size() <= euc.size());
  FUZZ_CHECK(sorano::EucToShiftJis(sorano::ShiftJisToEuc(sjis)) == sjis);
  return 0;
}
