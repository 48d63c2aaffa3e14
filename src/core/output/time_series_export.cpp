#include "core/output/time_series_export.h"

#include <array>
#include <charconv>

#include "core/chart/chart_window.h"
#include "core/output/xlsx_workbook.h"
#include "core/text/sjis.h"

namespace sorano {

namespace {

constexpr std::array<std::string_view, kExportColumnCount> kTitles = {"日付", "曜日", "始値",  "高値",
                                                                      "安値", "終値", "出来高"};

void AppendInt(std::string& out, int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void AppendField(std::string& out, const PriceBar& b, ExportColumn c) {
  switch (c) {
    case ExportColumn::kDate:
      AppendInt(out, b.year);
      out += '/';
      AppendInt(out, b.month);
      out += '/';
      AppendInt(out, b.day);
      return;
    case ExportColumn::kWeekday:
      out += DayOfWeekName(DayOfWeek(b.year, b.month, b.day));
      return;
    case ExportColumn::kOpen:
      return AppendInt(out, b.open);
    case ExportColumn::kHigh:
      return AppendInt(out, b.high);
    case ExportColumn::kLow:
      return AppendInt(out, b.low);
    case ExportColumn::kClose:
      return AppendInt(out, b.close);
    case ExportColumn::kVolume:
      return AppendInt(out, b.volume);
  }
}

int32_t MonthKey(int64_t year, int64_t month) {
  const int64_t key = year * 100 + month;
  return key < INT32_MIN ? INT32_MIN : key > INT32_MAX ? INT32_MAX : static_cast<int32_t>(key);
}

// One line per row: the cells of a line joined as the format says. `cell` appends a title or a field,
// `after` what follows every cell but the volume's.
template <typename Cell>
void AppendLine(std::string& out, const std::vector<ExportColumn>& columns, std::string_view begin,
                std::string_view after, std::string_view end, Cell cell) {
  out += begin;
  for (ExportColumn c : columns) {
    cell(c);
    if (c != ExportColumn::kVolume) out += after;
  }
  out += end;
}

std::string Lines(const PriceSeries& series, const ExportOptions& options, std::string_view begin,
                  std::string_view after, std::string_view end) {
  const std::vector<ExportColumn> columns = ExportColumns(options);
  const std::vector<int> rows = ExportRows(series, options);
  std::string out;
  out.reserve(rows.size() * 64);
  if (options.header)
    AppendLine(out, columns, begin, after, end, [&](ExportColumn c) { out += ExportTitle(c); });
  for (int i : rows)
    AppendLine(out, columns, begin, after, end, [&](ExportColumn c) { AppendField(out, series[i], c); });
  return out;
}

}  // namespace

std::vector<int> ExportRows(const PriceSeries& series, const ExportOptions& o) {
  std::vector<int> rows;
  const int32_t from = MonthKey(o.fromYear, o.fromMonth), to = MonthKey(o.toYear, o.toMonth);
  for (int i = series.count() - 1; i >= 0; --i) {
    const PriceBar& b = series[i];
    if (o.rangeOn) {
      const int32_t key = MonthKey(b.year, b.month);
      if (key < from || key > to) continue;
    }
    rows.push_back(i);
  }
  return rows;
}

std::vector<ExportColumn> ExportColumns(const ExportOptions& options) {
  std::vector<ExportColumn> out;
  for (int c = 0; c < kExportColumnCount; ++c)
    if (options.columns[static_cast<size_t>(c)]) out.push_back(static_cast<ExportColumn>(c));
  return out;
}

std::string_view ExportTitle(ExportColumn column) {
  return kTitles[static_cast<size_t>(column)];
}

std::string ExportField(const PriceBar& bar, ExportColumn column) {
  std::string out;
  AppendField(out, bar, column);
  return out;
}

std::string ExportDelimited(const PriceSeries& series, const ExportOptions& options, char separator) {
  return Utf8ToSjis(Lines(series, options, "", std::string_view(&separator, 1), "\r\n"));
}

std::string ExportHtml(const PriceSeries& series, const ExportOptions& options) {
  const std::string n = std::to_string(ExportColumns(options).size());
  std::string out =
      "<html><head><meta http-equiv=Content-Type content=text/html; charset=Shift_JIS><meta "
      "http-equiv=Content-Style-Type content=text/css><title>Sorano 時系列</title></head><body><center>"
      "<table border=1><tbody><tr><td colspan=" +
      n + " align=right>Sorano </td></tr><tr><td colspan=" + n + "></td>";
  out += Lines(series, options, "<tr><td>", "</td><td>", "</td></tr>\r\n");
  out += "</tbody></table></center></body></html>";
  return Utf8ToSjis(out);
}

std::vector<std::vector<std::string>> ExportCells(const PriceSeries& series, const ExportOptions& options) {
  const std::vector<ExportColumn> columns = ExportColumns(options);
  std::vector<std::vector<std::string>> cells;
  if (options.header) {
    auto& row = cells.emplace_back();
    for (ExportColumn c : columns) row.emplace_back(ExportTitle(c));
  }
  for (int i : ExportRows(series, options)) {
    auto& row = cells.emplace_back();
    for (ExportColumn c : columns) row.push_back(ExportField(series[i], c));
  }
  return cells;
}

std::optional<std::string> ExportFile(const PriceSeries& series, const ExportOptions& options,
                                      ExportFormat format) {
  switch (format) {
    case ExportFormat::kText:
      return ExportDelimited(series, options, '\t');
    case ExportFormat::kCsv:
      return ExportDelimited(series, options, ',');
    case ExportFormat::kHtml:
      return ExportHtml(series, options);
    case ExportFormat::kSpreadsheet:
      return BuildXlsxWorkbook(ExportCells(series, options));
  }
  return std::nullopt;
}

}  // namespace sorano
