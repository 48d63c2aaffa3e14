#pragma once
// The user's brand folders (named lists of codes) and their text file data/mybrand.dat:
// one folder per line, "name,flag,code,code,...\r\n", Shift_JIS.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"

namespace sorano {

inline constexpr size_t kFolderCount = 100;
inline constexpr size_t kFolderCodes = 300;

struct BrandFolder {
  char name[256] = {};      // Shift_JIS, NUL-terminated; empty marks a free slot
  int32_t flag = 0;         // kept as read; the tree shows folders whose flag is 0
  int32_t codes[300] = {};  // display order; the list ends at the first 0
};
static_assert(sizeof(BrandFolder) == 256 + 4 + 300 * 4);
static_assert(offsetof(BrandFolder, flag) == 256);
static_assert(offsetof(BrandFolder, codes) == 260);

// Used slots are contiguous from slot 0.
using FolderTable = std::array<BrandFolder, kFolderCount>;

// Reads data/mybrand.dat into the table. A missing file shows "ファイルを開けませんでした" (caption
// "エラー") and leaves the table as it is; so does an empty file. Only lines ended by "\n" are read,
// except that a file without any "\n" is read as one line. At most 100 lines; a line's slot is cleared
// before it is filled; slots beyond the lines read keep what they held. Codes beyond 300 on a line
// and codes outside 0..9999 are ignored. Returns the number of folders read, -1 when the file is missing.
int LoadFolders(const DataFolder& folder, FolderTable& table, Prompt& prompt);

// Writes folders 0..lastIndex (clamped to 99; below 0 writes an empty file) to data/mybrand.dat
// atomically. A ',' in a name is written as the full-width '，' and line breaks are dropped, so that the
// line reads back as the same folder. When the file cannot be written: "ファイルが開けません" (no caption),
// the old file untouched, returns 0. 1 on success.
int SaveFolders(const DataFolder& folder, const FolderTable& table, int lastIndex, Prompt& prompt);

}  // namespace sorano
