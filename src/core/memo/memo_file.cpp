#include "core/memo/memo_file.h"

#include <cstdio>

#include "core/fs/file_io.h"
#include "core/text/fixed_field.h"

namespace sorano {
namespace {

bool EnsureMemoFolder(const DataFolder& folder) {
  // EnsureFolder makes "data" first when it is missing, then "data/memo".
  return EnsureFolder(folder.Path("data/memo"));
}

}  // namespace

std::string MemoPath(const DataFolder& folder, int32_t code) {
  return folder.Path("data/memo/" + std::to_string(code) + ".txt");
}

std::string_view ClipMemo(std::string_view sjis) {
  if (sjis.size() <= kMemoCapacity) return sjis;
  // SjisFitLength counts room for a terminating zero, hence the + 1.
  return sjis.substr(0, SjisFitLength(sjis, kMemoCapacity + 1));
}

std::string ReadMemo(const DataFolder& folder, int32_t code) {
  EnsureMemoFolder(folder);
  std::string path = MemoPath(folder, code);
  if (FileExists(path, 0) == 0 && FileExists(path, 1) == 0) {
    // First read: leave an empty memo file behind. "ab" creates without truncating, so a file that
    // appeared in the meantime keeps its content.
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) std::fclose(f);
  }
  // One byte more than the capacity tells a file that is longer than a memo from one that is exactly
  // as long; only a longer file is cut, so a short file's bytes come back unchanged.
  std::optional<std::string> bytes = ReadWholeFile(path, kMemoCapacity + 1);
  if (!bytes) return {};
  if (bytes->size() > kMemoCapacity) bytes->resize(ClipMemo(*bytes).size());
  return std::move(*bytes);
}

int WriteMemo(const DataFolder& folder, std::string_view text, int32_t code) {
  EnsureMemoFolder(folder);
  std::string_view clipped = ClipMemo(text);
  if (!WriteFileAtomic(MemoPath(folder, code), clipped)) return -1;
  return static_cast<int>(clipped.size());
}

}  // namespace sorano
