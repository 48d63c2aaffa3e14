// The brand folders as the tree edits them: any data/mybrand.dat, then any sequence of folder
// operations, some of them after a hand edit of the file. Input: two bytes giving the length of the
// file, the file, then operations: a byte choosing it, a byte choosing the slot, and its arguments.
// After every operation the folders in memory are the folders the file holds (those in use); a name is never
// empty in a used slot, and a folder never holds more than 300 codes or a code outside 0..9999.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/lists/folder_book.h"
#include "core/text/fixed_field.h"
#include "fuzz_support.h"

namespace {

using sorano::FolderResult;

// Reads bytes from the input; zeros once it is used up.
struct Input {
  std::string_view rest;
  unsigned Byte() {
    if (rest.empty()) return 0;
    const auto b = static_cast<unsigned char>(rest.front());
    rest.remove_prefix(1);
    return b;
  }
  std::string_view Bytes(size_t n) {
    const std::string_view taken = rest.substr(0, n);
    rest.remove_prefix(taken.size());
    return taken;
  }
};

// The folders in use, up to the first slot without a name; what lies beyond is never shown or written.
size_t Used(const sorano::FolderTable& t) {
  size_t n = 0;
  while (n < t.size() && t[n].name[0] != '\0') ++n;
  return n;
}

bool SameFolders(const sorano::FolderTable& a, const sorano::FolderTable& b) {
  if (Used(a) != Used(b)) return false;
  for (size_t i = 0; i < Used(a); ++i) {
    const auto codesA = sorano::FolderCodes(a[i]), codesB = sorano::FolderCodes(b[i]);
    if (sorano::FieldText(a[i].name) != sorano::FieldText(b[i].name) || a[i].flag != b[i].flag ||
        !std::equal(codesA.begin(), codesA.end(), codesB.begin(), codesB.end()))
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{std::string_view(reinterpret_cast<const char*>(data), size)};
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  const std::string path = folder.Path("data/mybrand.dat");
  const size_t fileLength = in.Byte() | in.Byte() << 8;
  sorano::fuzz::WriteFile(path, in.Bytes(fileLength));
  sorano::fuzz::SilentPrompt prompt;
  static sorano::FolderBook book;
  static sorano::FolderTable onDisk;
  book.Load(folder, prompt);

  for (int step = 0; step < 32 && !in.rest.empty(); ++step) {
    const unsigned op = in.Byte() % 7;
    const auto slot = static_cast<int32_t>(in.Byte() % 101);  // 100: no such slot
    FolderResult r = FolderResult::kRefused;
    switch (op) {
      case 0: {
        int32_t created = -1;
        r = book.Create(folder, prompt, &created);
        if (r == FolderResult::kDone) FUZZ_CHECK(created >= 0 && created < 100);
        break;
      }
      case 1:
        r = book.Rename(folder, prompt, slot, in.Bytes(in.Byte()));
        break;
      case 2:
        r = book.Remove(folder, prompt, slot);
        break;
      case 3:
        r = book.AddCode(folder, prompt, slot, static_cast<int32_t>(in.Byte() | in.Byte() << 8));
        break;
      case 4: {
        std::vector<int> positions(in.Byte() % 8);
        for (int& p : positions) p = static_cast<signed char>(in.Byte());
        r = book.RemoveCodes(folder, prompt, slot, positions);
        break;
      }
      case 5: {
        if (slot >= 100) {  // no such folder: refused, after looking at the file like every operation
          r = book.Reorder(folder, prompt, slot, {});
          break;
        }
        const auto codes = sorano::FolderCodes(book.table()[static_cast<size_t>(slot)]);
        std::vector<int32_t> order(codes.begin(), codes.end());
        if (!order.empty()) std::rotate(order.begin(), order.begin() + in.Byte() % order.size(), order.end());
        if (const unsigned change = in.Byte(); change < 16 && !order.empty())
          order[change % order.size()] += 1;
        r = book.Reorder(folder, prompt, slot, order);
        break;
      }
      default: {  // the file edited by hand, with a time of its own (file times are coarser than a step)
        sorano::fuzz::WriteFile(path, in.Bytes(in.Byte()));
        static long edits = 0;
        const timespec times[2] = {{0, UTIME_OMIT}, {978307200, ++edits % 1000000000}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        FUZZ_CHECK(book.ChangedOnDisk(folder));
        continue;
      }
    }
    FUZZ_CHECK(r != FolderResult::kFailed);
    onDisk = sorano::FolderTable{};
    sorano::LoadFolders(folder, onDisk, prompt);
    FUZZ_CHECK(SameFolders(book.table(), onDisk));
    for (int32_t i = 0; i < book.Count(); ++i) {
      const sorano::BrandFolder& f = book.table()[static_cast<size_t>(i)];
      FUZZ_CHECK(f.name[0] != '\0' && std::memchr(f.name, 0, sizeof f.name) != nullptr);
      for (int32_t code : sorano::FolderCodes(f)) FUZZ_CHECK(code > 0 && code <= 9999);
    }
  }
  return 0;
}
