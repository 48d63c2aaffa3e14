// size_class.dat of any bytes: every code it gives a class is a brand code with a class of 1..7, and
// no more codes are counted than the file has lines.
#include <algorithm>

#include "core/lists/list_source.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = sorano::fuzz::Scratch() + "size_class.dat";
  sorano::fuzz::WriteFile(path, bytes);
  static sorano::SizeClasses classes;
  classes.ofCode.fill(0xFF);
  const int read = sorano::LoadSizeClasses(path, classes);
  FUZZ_CHECK(read >= 0 && static_cast<size_t>(read) <=
                              static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  int given = 0;
  for (uint8_t c : classes.ofCode) {
    FUZZ_CHECK(c <= sorano::size_class::kMax);
    given += c != 0 ? 1 : 0;
  }
  FUZZ_CHECK(given <= read);  // a code given twice counts twice
  return 0;
}
