#include "core/store/brand_folder.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/fs/file_io.h"
#include "core/text/fixed_field.h"
#include "core/text/numbers.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

constexpr int32_t kCodeLimit = 10000;

std::string FolderFilePath(const DataFolder& folder) {
  std::string data = folder.Path("data");
  if (FileExists(data, 1) == 0) EnsureFolder(data);
  return folder.Path("data/mybrand.dat");
}

// Text up to the next ',' of the line; the rest of the line when there is none.
std::string_view TakeField(std::string_view& line, bool& hadComma) {
  size_t comma = line.find(',');
  hadComma = comma != std::string_view::npos;
  std::string_view field = line.substr(0, comma);
  line = hadComma ? line.substr(comma + 1) : std::string_view();
  return field;
}

// One line (without its "\n") into a cleared slot. Every field is looked for inside the line only, so a
// line without the expected commas never takes text from the next line.
void ParseFolderLine(std::string_view line, BrandFolder& slot) {
  slot = BrandFolder{};
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  bool more = false;
  // A CR inside the name (a hand edit) is dropped, as the next save would drop it.
  std::string name(TakeField(line, more));
  std::erase(name, '\r');
  SetField(slot.name, name);
  if (!more) return;
  slot.flag = LeadingInt(TakeField(line, more));
  if (!more) return;
  size_t k = 0;
  do {
    // The last field runs to the line end (an empty one gives 0, which ends the list).
    const int32_t code = LeadingInt(TakeField(line, more));
    if (code < 0 || code >= kCodeLimit) continue;
    if (k < kFolderCodes) slot.codes[k++] = code;  // codes beyond a folder's 300 are ignored
  } while (more);
}

// The name as it goes into the file: a ',' would split the line and a line break would end it, so ','
// becomes the full-width '，' (81 43) and CR/LF are dropped. Trail bytes of Shift_JIS are never ',' or
// CR/LF, but they are stepped over whole all the same.
void AppendFolderName(std::string& out, std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsSjisLeadByte(c) && i + 1 < name.size()) {
      out.append(name.substr(i, 2));
      ++i;
    } else if (c == ',') {
      out.append("\x81\x43");
    } else if (c != '\r' && c != '\n') {
      out.push_back(static_cast<char>(c));
    }
  }
}

}  // namespace

int LoadFolders(const DataFolder& folder, FolderTable& table, Prompt& prompt) {
  std::optional<std::string> text = ReadWholeFile(FolderFilePath(folder));
  if (!text) {
    prompt.Message("ファイルを開けませんでした", "エラー");
    return -1;
  }
  std::string_view content = *text;
  // Only lines ended by "\n" are read; a file without any "\n" is one line.
  const size_t lastNewline = content.rfind('\n');
  if (lastNewline != std::string_view::npos) content = content.substr(0, lastNewline + 1);

  int read = 0;
  while (!content.empty() && static_cast<size_t>(read) < kFolderCount) {
    const size_t eol = content.find('\n');
    ParseFolderLine(content.substr(0, eol), table[static_cast<size_t>(read)]);
    content = eol == std::string_view::npos ? std::string_view() : content.substr(eol + 1);
    ++read;
  }
  return read;
}

int SaveFolders(const DataFolder& folder, const FolderTable& table, int lastIndex, Prompt& prompt) {
  const int last = std::min(lastIndex, static_cast<int>(kFolderCount) - 1);
  std::string text;
  for (int i = 0; i <= last; ++i) {
    const BrandFolder& f = table[static_cast<size_t>(i)];
    AppendFolderName(text, FieldText(f.name));
    text += ',';
    text += std::to_string(f.flag);
    for (size_t j = 0; j < kFolderCodes && f.codes[j] != 0; ++j) {
      text += ',';
      text += std::to_string(f.codes[j]);
    }
    if (f.codes[0] == 0) text += ',';
    text += "\r\n";
  }
  if (!WriteFileAtomic(FolderFilePath(folder), text)) {
    prompt.Message("ファイルが開けません", "");
    return 0;
  }
  return 1;
}

}  // namespace sorano
