// sorano-cli import CODE FILE.csv [--replace]: a daily history from a CSV file into the brand's chart files.
#include <cstdio>
#include <ostream>

#include "commands.h"
#include "core/store/csv_import.h"

namespace sorano::cli {
namespace {

struct Reason {
  CsvImportError error;
  std::string_view text;
};
constexpr Reason kReasons[] = {
    {CsvImportError::kBadCode, "the brand code is outside 0 to 9999"},
    {CsvImportError::kCannotOpen, "the file cannot be read"},
    {CsvImportError::kUtf16, "the file is UTF-16; save it as UTF-8 or Shift_JIS CSV"},
    {CsvImportError::kUnknownLayout,
     "unknown layout: no header naming Date, Open, High, Low and Close (or 日付, 始値, 高値, 安値, 終値) "
     "in the first 10 lines"},
    {CsvImportError::kLineTooLong, "the line is longer than 4096 bytes"},
    {CsvImportError::kMissingField, "the row has fewer fields than the header"},
    {CsvImportError::kBadDate, "bad date (YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD of a real day)"},
    {CsvImportError::kBadNumber, "not a number"},
    {CsvImportError::kPriceNotPositive, "a price must be 1 yen or more"},
    {CsvImportError::kHighBelowLow, "the high is below the low"},
    {CsvImportError::kNegativeVolume, "negative volume"},
    {CsvImportError::kTooLarge, "the number is too large (at most 2147483647)"},
    {CsvImportError::kDuplicateDate, "a second row of the same day"},
    {CsvImportError::kNoRows, "the file holds no day"},
    {CsvImportError::kCannotWrite, "the chart files cannot be written"},
};

std::string_view ReasonText(CsvImportError error) {
  for (const Reason& r : kReasons)
    if (r.error == error) return r.text;
  return "failed";
}

// "1 day", "2 days".
std::string Count(int64_t n, std::string_view noun) {
  return std::to_string(n) + " " + std::string(noun) + (n == 1 ? "" : "s");
}

std::string DateText(int32_t yyyymmdd) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
  return buf;
}

int RunImport(Context& ctx, std::span<const std::string> args) {
  std::optional<int32_t> code;
  std::string file;
  bool replace = false;
  for (const std::string& a : args) {
    if (a == "--replace") {
      replace = true;
    } else if (a.starts_with("-")) {
      ctx.err << "sorano-cli import: unexpected argument '" << a << "'\n";
      return kExitUsage;
    } else if (!code) {
      code = ParseBrandCode(a);
      if (!code) {
        ctx.err << "sorano-cli import: bad brand code '" << a << "' (0 to 9999)\n";
        return kExitUsage;
      }
    } else if (file.empty()) {
      file = a;
    } else {
      ctx.err << "sorano-cli import: unexpected argument '" << a << "'\n";
      return kExitUsage;
    }
  }
  if (!code || file.empty()) {
    ctx.err << "sorano-cli import: expected a brand code and a CSV file\n";
    return kExitUsage;
  }

  const CsvImportResult r = ImportChartCsv(ctx.data, *code, file, replace);
  if (r.error != CsvImportError::kNone) {
    ctx.err << "sorano-cli import: " << file;
    if (r.line > 0) ctx.err << ", line " << r.line;
    ctx.err << ": " << ReasonText(r.error);
    if (r.otherLine > 0) ctx.err << " (as line " << r.otherLine << ")";
    if (!r.text.empty()) ctx.err << ": '" << r.text << "'";
    ctx.err << "\nnothing was written\n";
    return kExitFailure;
  }
  ctx.out << "imported " << Count(r.days, "day") << " of " << *code << " (" << DateText(r.firstDate) << " to "
          << DateText(r.lastDate) << ")";
  if (r.skipped > 0) ctx.out << ", skipped " << Count(r.skipped, "row") << " without prices";
  if (r.replacedDays > 0) ctx.out << ", replaced " << Count(r.replacedDays, "stored day");
  ctx.out << "; the chart files hold " << Count(r.storedDays, "day") << "\n";
  return kExitOk;
}

}  // namespace

static const CommandRegistration kImport{
    {"import", "import CODE FILE.csv [--replace]",
     "Merge a daily history from a CSV file (Date, Open, High, Low, Close, Volume[, Adj Close]) into the "
     "brand's chart files; --replace drops the stored days first.",
     RunImport}};

}  // namespace sorano::cli
