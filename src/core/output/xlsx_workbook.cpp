#include "core/output/xlsx_workbook.h"

#include <xlsxwriter.h>

#include "core/fs/file_io.h"
#include "core/fs/shared_library.h"

namespace sorano {

namespace {

// libxlsxwriter writes to a file only: it works in a temporary folder of its own, which goes with
// everything in it once the bytes are read back.
class ScratchFolder {
 public:
  ScratchFolder() : path_(MakeTempFolder("sorano-xlsx-")) {}
  ~ScratchFolder() {
    if (path_) RemoveFolder(*path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::optional<std::string>& path() const { return path_; }

 private:
  std::optional<std::string> path_;
};

// libxlsxwriter, loaded at the first workbook: few runs write one.
struct XlsxLibrary {
  lxw_workbook* (*workbook_new_opt)(const char*, lxw_workbook_options*);
  lxw_worksheet* (*workbook_add_worksheet)(lxw_workbook*, const char*);
  lxw_error (*worksheet_write_string)(lxw_worksheet*, lxw_row_t, lxw_col_t, const char*, lxw_format*);
  lxw_error (*workbook_close)(lxw_workbook*);
};

const XlsxLibrary* LoadXlsx() {
  static XlsxLibrary x;
  const SharedLibrary lib = SharedLibrary::Open({"libxlsxwriter.so.4", "libxlsxwriter.so"});
  const bool resolved = lib.Resolve("workbook_new_opt", x.workbook_new_opt) &&
                        lib.Resolve("workbook_add_worksheet", x.workbook_add_worksheet) &&
                        lib.Resolve("worksheet_write_string", x.worksheet_write_string) &&
                        lib.Resolve("workbook_close", x.workbook_close);
  return resolved ? &x : nullptr;
}

constexpr size_t kMaxRows = 1048576;
constexpr size_t kMaxColumns = 16384;

}  // namespace

std::optional<std::string> BuildXlsxWorkbook(const std::vector<std::vector<std::string>>& cells) {
  if (cells.size() > kMaxRows) return std::nullopt;
  for (const auto& row : cells)
    if (row.size() > kMaxColumns) return std::nullopt;
  static const XlsxLibrary* const xlsx = LoadXlsx();
  if (xlsx == nullptr) return std::nullopt;
  ScratchFolder scratch;
  if (!scratch.path()) return std::nullopt;
  const std::string file = *scratch.path() + "/workbook.xlsx";
  // Rows are written in order, so the constant-memory mode keeps one row in memory at a time.
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = const_cast<char*>(scratch.path()->c_str());
  lxw_workbook* workbook = xlsx->workbook_new_opt(file.c_str(), &options);
  if (workbook == nullptr) return std::nullopt;
  lxw_worksheet* sheet = xlsx->workbook_add_worksheet(workbook, nullptr);
  bool ok = sheet != nullptr;
  for (size_t r = 0; ok && r < cells.size(); ++r) {
    for (size_t c = 0; ok && c < cells[r].size(); ++c) {
      ok = xlsx->worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                        cells[r][c].c_str(), nullptr) == LXW_NO_ERROR;
    }
  }
  // workbook_close frees the workbook whether or not it could write the file.
  if (xlsx->workbook_close(workbook) != LXW_NO_ERROR || !ok) return std::nullopt;
  return ReadWholeFile(file);
}

}  // namespace sorano
