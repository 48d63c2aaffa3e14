#pragma once
// The options of the time-series export (check_to_data00-12) and the rule of their dialog "条件指定".
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sorano {

// The exportable columns, in the order they stand in every output.
enum class ExportColumn { kDate, kWeekday, kOpen, kHigh, kLow, kClose, kVolume };
inline constexpr int kExportColumnCount = 7;

struct ExportOptions {
  // The range of months: from fromYear/fromMonth to toYear/toMonth, both included, when rangeOn.
  int32_t fromYear = 0;
  int32_t fromMonth = 0;
  int32_t toYear = 0;
  int32_t toMonth = 0;
  bool rangeOn = false;
  bool header = true;  // a first line (row) of column titles
  std::array<bool, kExportColumnCount> columns = {true, true, true, true, true, true, true};

  bool Has(ExportColumn c) const { return columns[static_cast<size_t>(c)]; }
};

// check_to_data00-03 the range, 04 the range switch, 05 the header, 06-12 the columns in ExportColumn
// order (any value but 0 is on). Element 13 is no option of the dialog and is never changed.
ExportOptions ExportOptionsFrom(std::span<const int32_t, 14> toData);
void StoreExportOptions(const ExportOptions& options, std::span<int32_t, 14> toData);

// The year and month boxes show a value "%d" when it is not 0 and stay empty otherwise.
std::string ExportBoxText(int32_t value);

// What the dialog holds when OK is pressed.
struct ExportDialogInput {
  bool rangeOn = false;
  // The four boxes' texts: only the first four characters are read, as a decimal integer.
  std::string_view fromYear, fromMonth, toYear, toMonth;
  bool header = true;
  std::array<bool, kExportColumnCount> columns{};
};

// OK in the dialog. With the range ticked, a from-year below 1984 or after the to-year keeps the
// dialog open (nullopt, no message); otherwise both months are clamped into 1 ... 12. With the range
// clear, the range is switched off and the stored months stay as they were. The header and column
// switches are taken as they are.
std::optional<ExportOptions> AcceptExportDialog(const ExportOptions& current, const ExportDialogInput& in);

}  // namespace sorano
