#pragma once
// The time-series export: the shown brand's bars as they are loaded for the chart (period and
// adjustment included), newest first, as a tab-separated text, a CSV file, an HTML table or the cells
// of a spreadsheet. Each output is built whole in memory; the caller writes it atomically.
//
// Rows: every bar, series index count - 1 down to 0 (no column needs the bar before, so the oldest is
// written too; the time-series pane leaves it out for its change column). With the range on, a
// bar is kept when fromYear * 100 + fromMonth <= year * 100 + month <= toYear * 100 + toMonth; that is
// every day of the months from the first to the last, and also the monthly bars, which carry day 0.
// Fields: the date "2003/9/5" (no leading zeros), the weekday "金" (Zeller's congruence on the bar's
// date), prices and volume as plain decimal integers.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/price_series.h"
#include "core/output/export_options.h"

namespace sorano {

// The series indexes exported, in file order (newest first). Empty for a series without bars.
std::vector<int> ExportRows(const PriceSeries& series, const ExportOptions& options);

// The enabled columns in file order.
std::vector<ExportColumn> ExportColumns(const ExportOptions& options);

// "日付", "曜日", "始値", "高値", "安値", "終値", "出来高" (UTF-8).
std::string_view ExportTitle(ExportColumn column);
// The text of one field of a bar (UTF-8).
std::string ExportField(const PriceBar& bar, ExportColumn column);

// Text ('\t') and CSV (',') files in Shift_JIS: with the header on, a line of the enabled columns'
// titles, then one line per row; every field but the volume is followed by the separator (so a line
// without the volume column ends with one), and every line by "\r\n".
std::string ExportDelimited(const PriceSeries& series, const ExportOptions& options, char separator);

// The HTML table in Shift_JIS: a fixed head, a table whose first two rows span the N enabled columns,
// the title row (header on) and one row per bar, each cell but the volume's followed by "</td><td>".
std::string ExportHtml(const PriceSeries& series, const ExportOptions& options);

// The cells of the spreadsheet (UTF-8), one inner vector per worksheet row from row 1 and one text per
// enabled column from column A: the titles first when the header is on, then one row per bar.
std::vector<std::vector<std::string>> ExportCells(const PriceSeries& series, const ExportOptions& options);

enum class ExportFormat { kText, kCsv, kHtml, kSpreadsheet };

// The bytes of the whole file of a format: the text, CSV or HTML file, or the .xlsx workbook of the
// spreadsheet cells (nullopt when the workbook cannot be built).
std::optional<std::string> ExportFile(const PriceSeries& series, const ExportOptions& options,
                                      ExportFormat format);

}  // namespace sorano
