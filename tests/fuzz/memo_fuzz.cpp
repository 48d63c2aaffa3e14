// A memo file of any bytes: the memo read is at most 32000 bytes, a prefix of the file that ends on a
// character boundary (the whole file when it fits), and writing it back and reading again gives it
// unchanged.
#include "core/memo/memo_file.h"
#include "core/text/fixed_field.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  constexpr int32_t kCode = 7203;
  sorano::fuzz::WriteFile(sorano::MemoPath(folder, kCode), file);
  const std::string memo = sorano::ReadMemo(folder, kCode);
  FUZZ_CHECK(memo.size() <= sorano::kMemoCapacity);
  FUZZ_CHECK(file.starts_with(memo));
  if (file.size() <= sorano::kMemoCapacity) FUZZ_CHECK(memo.size() == file.size());
  // A cut memo is as long as it can be and ends where a character ends.
  if (memo.size() < file.size()) {
    FUZZ_CHECK(memo.size() + 1 >= sorano::kMemoCapacity);
    FUZZ_CHECK(sorano::SjisFitLength(file, memo.size() + 1) == memo.size());
  }
  FUZZ_CHECK(sorano::WriteMemo(folder, memo, kCode) == static_cast<int>(memo.size()));
  FUZZ_CHECK(sorano::ReadMemo(folder, kCode) == memo);
  return 0;
}
