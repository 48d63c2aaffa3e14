#pragma once
// A spreadsheet workbook (.xlsx) of one worksheet whose cells hold texts, written by libxlsxwriter.
#include <optional>
#include <string>
#include <vector>

namespace sorano {

// The bytes of an .xlsx file: cells[r][c] is the text (UTF-8) of row r + 1, column c from A, stored as
// a string value (never converted to a number). nullopt when the workbook cannot be built (libxlsxwriter
// not installed, no room for its temporary files, more rows or columns than a worksheet holds).
std::optional<std::string> BuildXlsxWorkbook(const std::vector<std::vector<std::string>>& cells);

}  // namespace sorano
