#include "core/output/export_options.h"

#include <algorithm>

#include "core/text/numbers.h"

namespace sorano {

namespace {

// check_to_data indexes.
constexpr size_t kFromYear = 0, kFromMonth = 1, kToYear = 2, kToMonth = 3, kRangeOn = 4, kHeader = 5,
                 kFirstColumn = 6;
constexpr int32_t kEarliestYear = 1984;

int32_t BoxValue(std::string_view text) {
  return LeadingInt(text.substr(0, 4));
}

}  // namespace

ExportOptions ExportOptionsFrom(std::span<const int32_t, 14> toData) {
  ExportOptions o;
  o.fromYear = toData[kFromYear];
  o.fromMonth = toData[kFromMonth];
  o.toYear = toData[kToYear];
  o.toMonth = toData[kToMonth];
  o.rangeOn = toData[kRangeOn] != 0;
  o.header = toData[kHeader] != 0;
  for (size_t c = 0; c < o.columns.size(); ++c) o.columns[c] = toData[kFirstColumn + c] != 0;
  return o;
}

void StoreExportOptions(const ExportOptions& o, std::span<int32_t, 14> toData) {
  toData[kFromYear] = o.fromYear;
  toData[kFromMonth] = o.fromMonth;
  toData[kToYear] = o.toYear;
  toData[kToMonth] = o.toMonth;
  toData[kRangeOn] = o.rangeOn ? 1 : 0;
  toData[kHeader] = o.header ? 1 : 0;
  for (size_t c = 0; c < o.columns.size(); ++c) toData[kFirstColumn + c] = o.columns[c] ? 1 : 0;
}

std::string ExportBoxText(int32_t value) {
  return value != 0 ? std::to_string(value) : std::string();
}

std::optional<ExportOptions> AcceptExportDialog(const ExportOptions& current, const ExportDialogInput& in) {
  ExportOptions o = current;
  o.rangeOn = in.rangeOn;
  if (in.rangeOn) {
    const int32_t fromYear = BoxValue(in.fromYear), toYear = BoxValue(in.toYear);
    if (fromYear < kEarliestYear || fromYear > toYear) return std::nullopt;
    o.fromYear = fromYear;
    o.toYear = toYear;
    o.fromMonth = std::clamp(BoxValue(in.fromMonth), 1, 12);
    o.toMonth = std::clamp(BoxValue(in.toMonth), 1, 12);
  }
  o.header = in.header;
  o.columns = in.columns;
  return o;
}

}  // namespace sorano
