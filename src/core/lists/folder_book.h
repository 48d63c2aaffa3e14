#pragma once
// The user's brand folders (FolderTable) together with their file data/mybrand.dat. Every change is
// written at once; a write that fails is shown ("ファイルが開けません") and undone in memory, so the table
// always matches the file.
//
// The file is also edited by hand (the editor command opens it). Every operation first looks whether
// the file changed since it was last read or written; if so it reads the file again, says so, and does
// nothing else: the folder the user pointed at may now be in another slot, and writing the old table
// would throw the user's edit away.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "core/fs/file_io.h"
#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"
#include "core/store/brand_folder.h"

namespace sorano {

// Messages of the folder operations (UTF-8).
inline constexpr std::string_view kMsgFolderFileChanged =
    "お気に入りのファイルがほかのプログラムで変更されていたため、読み直しました。\r\n"
    "もう一度操作してください。";
inline constexpr std::string_view kMsgTooManyFolders = "フォルダはこれ以上作成できません。";
inline constexpr std::string_view kMsgEmptyFolderName = "フォルダ名を入力してください。";
inline constexpr std::string_view kMsgBadCode = "コードは1から9999までの数字で入力してください。";
inline constexpr std::string_view kMsgCodeInFolder = "この銘柄はすでにフォルダに登録されています。";
inline constexpr std::string_view kMsgFolderFull = "フォルダに登録できる銘柄は300までです。";
// The name a new folder gets.
inline constexpr std::string_view kNewFolderName = "新しいフォルダ";

// The codes of a folder up to its first 0.
std::span<const int32_t> FolderCodes(const BrandFolder& folder);

enum class FolderResult {
  kDone,      // changed and written
  kRefused,   // nothing changed (the user was told why, or there was nothing to do)
  kReloaded,  // the file had changed and was read again; nothing else done
  kFailed,    // the file could not be written; the table is as before
};

class FolderBook {
 public:
  FolderTable& table() { return table_; }
  const FolderTable& table() const { return table_; }

  // Empties the table and reads the file into it (LoadFolders: a missing file is reported and gives
  // no folders). Returns LoadFolders' result.
  int Load(const DataFolder& folder, Prompt& prompt);
  // True when the file is not the one last read or written.
  bool ChangedOnDisk(const DataFolder& folder) const;

  // Slots in use: from 0 up to the first slot without a name.
  int32_t Count() const;

  // A folder "新しいフォルダ" in the first free slot, which *slot receives. Refused at 100 folders.
  FolderResult Create(const DataFolder& folder, Prompt& prompt, int32_t* slot);
  // A new name (UTF-8) for a folder. An empty name is refused; "," becomes "，", line breaks are
  // dropped and the name is cut at 255 bytes on a character boundary.
  FolderResult Rename(const DataFolder& folder, Prompt& prompt, int32_t slot, std::string_view utf8);
  // Removes a folder; the later ones move up one slot.
  FolderResult Remove(const DataFolder& folder, Prompt& prompt, int32_t slot);
  // Appends a code (1..9999) unless the folder holds it already or holds 300.
  FolderResult AddCode(const DataFolder& folder, Prompt& prompt, int32_t slot, int32_t code);
  // Removes the codes at these positions of the folder's list; the later codes move up.
  FolderResult RemoveCodes(const DataFolder& folder, Prompt& prompt, int32_t slot,
                           std::span<const int> positions);
  // Stores a new order of the folder's codes. Refused unless codes holds exactly the folder's codes.
  FolderResult Reorder(const DataFolder& folder, Prompt& prompt, int32_t slot,
                       std::span<const int32_t> codes);

 private:
  // False (after reading the file again and telling the user) when the file changed on disk.
  bool UpToDate(const DataFolder& folder, Prompt& prompt);
  // Makes the change and writes the table; when the file cannot be written the table is put back.
  FolderResult Apply(const DataFolder& folder, Prompt& prompt, const std::function<void()>& change);
  bool Used(int32_t slot) const;

  FolderTable table_{};
  std::optional<FileStamp> stamp_;
};

}  // namespace sorano
