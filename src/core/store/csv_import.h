#pragma once
// Importing a brand's daily history from a CSV file of a broker or a data site into its chart files.
//
// The file: a header line naming the columns, then one line per day. Columns are found by name in
// either encoding the sites use (UTF-8, with or without a byte-order mark, or Shift_JIS), ASCII case,
// blanks, '_', '.', '-', '*' and a trailing unit in brackets ("(円)", "（株）") not counting:
//   date     Date, 日付, 年月日            required; YYYY-MM-DD, YYYY/MM/DD (month and day may have
//                                          one digit) or YYYYMMDD, optionally followed by a time
//                                          after a blank or 'T', which is ignored
//   open, high, low, close                 required; Open/始値, High/高値, Low/安値, Close/終値
//   volume   Volume, 出来高                 optional (0 when absent)
//   adjusted Adj Close, Adjusted Close, 調整後終値, 終値調整, 終値調整値   optional
// Other columns are ignored. The header is one of the first 10 lines; title lines before it are
// ignored. The separator (comma, semicolon or tab) is the one that splits the header into the required
// columns. Fields may be double-quoted ("" inside stands for "). Numbers may carry thousands separators
// in groups of three ("1,234,500") and a decimal part; prices are rounded to the nearest yen (half
// away from zero), volumes to whole shares.
// A row whose four prices are all empty, "-", "---" or "null" is a day without trading and is
// skipped; blank lines are skipped.
//
// A day's split factor is adjusted close / close (the file's numbers before rounding), as a download
// stores it; 1.0 when the file has no adjusted close or the row leaves it empty.
#include <cstdint>
#include <string>

#include "core/settings/data_folder.h"

namespace sorano {

enum class CsvImportError {
  kNone,
  kBadCode,           // the brand code is outside 0..9999
  kCannotOpen,        // the CSV file cannot be opened or read
  kUtf16,             // the file is UTF-16 (a byte-order mark FF FE or FE FF)
  kUnknownLayout,     // no header naming date, open, high, low and close in the first lines
  kLineTooLong,       // a line longer than kMaxCsvLineBytes
  kMissingField,      // a row with fewer fields than the header's columns it needs
  kBadDate,           // not a date in one of the three forms, or a day the calendar does not have
  kBadNumber,         // a price, volume or adjusted close that is not a number
  kPriceNotPositive,  // a price that rounds to 0 yen or below
  kHighBelowLow,      // the high is below the low
  kNegativeVolume,    // a volume below 0
  kTooLarge,          // a number beyond the 32-bit fields of the chart files
  kDuplicateDate,     // two rows of the same day
  kNoRows,            // no day in the file
  kCannotWrite,       // a chart file could not be written (both are then as before)
};

inline constexpr size_t kMaxCsvLineBytes = 4096;

struct CsvImportResult {
  CsvImportError error = CsvImportError::kNone;
  int64_t line = 0;       // the file's line (from 1) the error is about; 0 when it is about no line
  int64_t otherLine = 0;  // kDuplicateDate: the earlier line of the same day; 0 when that day is
                          // older than the 12000 newest, which are all the reading holds
  std::string text;       // the offending field (up to 64 bytes as found in the file)
  // After a successful import:
  int64_t days = 0;          // days read from the file
  int64_t skipped = 0;       // rows without prices that were skipped
  int64_t replacedDays = 0;  // stored days that the file's span replaced
  int64_t storedDays = 0;    // days in the chart files afterwards
  int32_t firstDate = 0;     // oldest and newest day taken from the file, yyyymmdd
  int32_t lastDate = 0;
};

// Reads the CSV file whole (line by line, memory bounded by the 12000 newest days whatever the file's
// size), then merges its days into the brand's chart files the way a download does: the stored days
// before the file's first day stay, the file's days follow, then the stored days after its last day;
// the newest 12000 are kept. replace starts from no stored days. Both files are rewritten atomically,
// and only when the whole file was read without error; on any error neither file changes.
CsvImportResult ImportChartCsv(const DataFolder& folder, int32_t code, const std::string& csvPath,
                               bool replace);

}  // namespace sorano
