// The time-series export of a series loaded from any pair of chart files, with any options. Input: a
// byte of switches (bits 0-1 the period, 2 adjust, 3 a volume file exists, 4 the header, 5 the range,
// 6 the spreadsheet is built too), a byte of columns (bits 0-6), the range (from year: two bytes, from
// month, to year: two bytes, to month), two bytes giving the length of the price file's bytes, then the
// price bytes and the volume bytes.
// No more rows than the series has bars; every field a decimal integer, a date of three
// or a weekday name (or none); the text and CSV files are well-formed Shift_JIS and hold exactly the cells,
// the HTML file is well-formed Shift_JIS with one line per row, and the workbook is a zip file.
#include <algorithm>
#include <charconv>
#include <cstdio>

#include "core/chart/price_series_load.h"
#include "core/output/time_series_export.h"
#include "core/output/xlsx_workbook.h"
#include "core/store/chart_file.h"
#include "fuzz_support.h"

namespace {

using sorano::ExportColumn;

constexpr int32_t kCode = 7203;

bool IsInteger(std::string_view s) {
  int64_t v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool IsField(std::string_view s, ExportColumn c) {
  switch (c) {
    case ExportColumn::kDate: {
      const size_t a = s.find('/'), b = s.rfind('/');
      return a != b && IsInteger(s.substr(0, a)) && IsInteger(s.substr(a + 1, b - a - 1)) &&
             IsInteger(s.substr(b + 1));
    }
    case ExportColumn::kWeekday:  // empty for a date no calendar has
      if (s.empty()) return true;
      for (int d = 0; d < 7; ++d)
        if (s == sorano::ExportField(sorano::PriceBar{2003, 9, 7 + d}, ExportColumn::kWeekday)) return true;
      return false;
    default:
      return IsInteger(s);
  }
}

size_t Count(std::string_view text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 10) return 0;
  const unsigned switches = data[0];
  sorano::ExportOptions options;
  for (int c = 0; c < sorano::kExportColumnCount; ++c)
    options.columns[static_cast<size_t>(c)] = data[1] >> c & 1;
  options.header = switches & 0x10;
  options.rangeOn = switches & 0x20;
  options.fromYear = static_cast<int16_t>(data[2] | data[3] << 8);
  options.fromMonth = static_cast<int8_t>(data[4]);
  options.toYear = static_cast<int16_t>(data[5] | data[6] << 8);
  options.toMonth = static_cast<int8_t>(data[7]);
  const size_t priceLen = std::min<size_t>(data[8] | data[9] << 8, size - 10);
  const std::string_view prices(reinterpret_cast<const char*>(data) + 10, priceLen);
  const std::string_view vols(reinterpret_cast<const char*>(data) + 10 + priceLen, size - 10 - priceLen);
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  sorano::fuzz::WriteFile(sorano::PriceFilePath(folder, kCode), prices);
  std::remove(sorano::VolumeFilePath(folder, kCode).c_str());
  if (switches & 8) sorano::fuzz::WriteFile(sorano::VolumeFilePath(folder, kCode), vols);

  static sorano::PriceSeries series;
  const int bars = sorano::LoadPriceSeries(series, folder, kCode, static_cast<int>(switches & 3) % 3,
                                           static_cast<int>(switches >> 2 & 1));
  const std::vector<int> rows = sorano::ExportRows(series, options);
  FUZZ_CHECK(rows.size() <= static_cast<size_t>(std::max(bars, 0)));
  const std::vector<ExportColumn> columns = sorano::ExportColumns(options);
  const size_t lines = rows.size() + (options.header ? 1 : 0);

  // The cells, and the CSV and text files they make.
  const auto cells = sorano::ExportCells(series, options);
  FUZZ_CHECK(cells.size() == lines);
  std::string csv, text;
  for (size_t r = 0; r < cells.size(); ++r) {
    FUZZ_CHECK(cells[r].size() == columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
      FUZZ_CHECK((options.header && r == 0) || IsField(cells[r][c], columns[c]));
      const bool last = columns[c] == ExportColumn::kVolume;
      csv += cells[r][c] + (last ? "" : ",");
      text += cells[r][c] + (last ? "" : "\t");
    }
    csv += "\r\n";
    text += "\r\n";
  }
  const std::string csvFile = sorano::ExportDelimited(series, options, ',');
  FUZZ_CHECK(sorano::fuzz::IsWellFormedSjis(csvFile) && csvFile == sorano::Utf8ToSjis(csv));
  const std::string textFile = sorano::ExportDelimited(series, options, '\t');
  FUZZ_CHECK(sorano::fuzz::IsWellFormedSjis(textFile) && textFile == sorano::Utf8ToSjis(text));

  const std::string html = sorano::ExportHtml(series, options);
  FUZZ_CHECK(sorano::fuzz::IsWellFormedSjis(html) && Count(html, "</tr>\r\n") == lines);

  if (switches & 0x40) {
    const std::optional<std::string> book = sorano::BuildXlsxWorkbook(cells);
    FUZZ_CHECK(book && book->starts_with("PK\x03\x04"));
  }
  return 0;
}
