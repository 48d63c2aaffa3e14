#include "core/store/brand_table.h"

#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/fs/file_io.h"
#include "core/fs/huge_pages.h"
#include "core/text/fixed_field.h"
#include "core/text/numbers.h"

namespace sorano {
namespace {

constexpr size_t kTableBytes = kBrandCount * sizeof(BrandRecord);  // 2,560,000
constexpr size_t kMaxDefaultLines = 9999;

void EnsureDataFolder(const DataFolder& folder) {
  std::string path = folder.Path("data");
  if (FileExists(path, 1) == 0) EnsureFolder(path);
}

// Splits off the text up to the next ',' (or the whole rest when there is none).
std::string_view NextField(std::string_view& rest, bool& hadComma) {
  size_t comma = rest.find(',');
  hadComma = comma != std::string_view::npos;
  std::string_view field = rest.substr(0, comma);
  rest = hadComma ? rest.substr(comma + 1) : std::string_view();
  return field;
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

}  // namespace

BrandTable::BrandTable() {
  void* memory = AllocateHugePageMemory(sizeof(Records));
  if (memory == nullptr) throw std::bad_alloc();
  records_.reset(new (memory) Records{});
}

void BrandTable::Free::operator()(Records* r) const {
  static_assert(std::is_trivially_destructible_v<Records>);
  std::free(r);
}

BrandRecord* BrandTable::Find(int32_t code) {
  return code >= 0 && static_cast<size_t>(code) < kBrandCount ? &(*records_)[static_cast<size_t>(code)]
                                                              : nullptr;
}

const BrandRecord* BrandTable::Find(int32_t code) const {
  return code >= 0 && static_cast<size_t>(code) < kBrandCount ? &(*records_)[static_cast<size_t>(code)]
                                                              : nullptr;
}

int LoadBrandTable(const DataFolder& folder, BrandTable& table) {
  EnsureDataFolder(folder);
  // Straight into the table: no second copy of its 2.5 MB at every start. A trailing partial record
  // is ignored.
  std::lock_guard lock(table.mutex());
  const std::span<BrandRecord> records = table.records();
  const std::span<char> memory(reinterpret_cast<char*>(records.data()), records.size_bytes());
  const int64_t bytes = ReadRecordsInto(folder.Path("data/view.dat"), memory, sizeof(BrandRecord));
  if (bytes < 0) return -1;
  return static_cast<int>(bytes / static_cast<int64_t>(sizeof(BrandRecord)));
}

int SaveBrandTable(const DataFolder& folder, const BrandTable& table) {
  EnsureDataFolder(folder);
  std::string bytes(kTableBytes, '\0');
  {
    std::lock_guard lock(table.mutex());
    std::memcpy(bytes.data(), table.records().data(), kTableBytes);
  }
  return WriteFileAtomic(folder.Path("data/view.dat"), bytes) ? 1 : 0;
}

int ApplyDefaultData(const DataFolder& folder, BrandTable& table, Prompt& prompt) {
  LoadBrandTable(folder, table);
  std::optional<std::string> text = ReadWholeFile(folder.Path("data/default.dat"));
  if (!text) {
    prompt.Message("ファイルを開けませんでした", "エラー");
    return -1;
  }
  if (text->empty()) return 0;

  int applied = 0;
  std::string_view rest = *text;
  {
    std::lock_guard lock(table.mutex());
    for (size_t lines = 0; lines < kMaxDefaultLines && !rest.empty(); ++lines) {
      size_t eol = rest.find('\n');
      std::string_view line = rest.substr(0, eol);
      rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
      if (IsBlank(line)) continue;

      bool more = false;
      const int32_t code = LeadingInt(NextField(line, more));
      const int32_t market = LeadingInt(NextField(line, more));
      const int32_t sector = LeadingInt(NextField(line, more));
      BrandRecord* r = table.Find(code);
      if (!r) continue;
      r->market = market;
      r->sector = sector;
      if (r->price < 1) r->price = 1;
      if (more && r->name[0] == '\0') {
        // The rest of the line is the name (it may itself hold a ','); "\r" of a CRLF line end is not.
        std::string_view name = line;
        if (!name.empty() && name.back() == '\r') name.remove_suffix(1);
        SetField(r->name, name);
      }
      ++applied;
    }
  }
  return SaveBrandTable(folder, table) == 1 ? applied : -1;
}

}  // namespace sorano
