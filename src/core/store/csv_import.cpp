#include "core/store/csv_import.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/store/chart_file.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

constexpr size_t kTitleLines = 10;  // lines before the header that may hold a title
constexpr size_t kTextCut = 64;     // bytes of an offending field kept for the message

enum Column { kDate, kOpen, kHigh, kLow, kClose, kVolume, kAdjusted, kColumnCount };

// The header names of each column, as NormalizeName leaves them.
struct ColumnNames {
  Column column;
  std::array<std::string_view, 5> names;  // empty ones unused
};
constexpr ColumnNames kColumnNames[] = {
    {kDate, {"date", "日付", "年月日"}},
    {kOpen, {"open", "始値"}},
    {kHigh, {"high", "高値"}},
    {kLow, {"low", "安値"}},
    {kClose, {"close", "終値"}},
    {kVolume, {"volume", "出来高"}},
    {kAdjusted, {"adjclose", "adjustedclose", "調整後終値", "終値調整", "終値調整値"}},
};
constexpr char kSeparators[] = {',', ';', '\t'};

struct Layout {
  char separator = ',';
  std::array<int, kColumnCount> index{};  // field index of each column; -1 when absent
  size_t needed = 0;                      // fields a row must have
};

// One day read from the file, with the line it came from.
struct Day {
  int32_t date = 0;  // yyyymmdd
  ChartRecord record;
  VolumeRecord volume;
  int64_t line = 0;
};

std::string Cut(std::string_view text) {
  return std::string(text.substr(0, kTextCut));
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits a line at sep outside double quotes; a quoted field loses its quotes and "" stands for ".
void SplitFields(std::string_view line, char sep, std::vector<std::string>& fields) {
  size_t count = 0;
  auto next = [&]() -> std::string& {
    if (count == fields.size()) fields.emplace_back();
    std::string& f = fields[count++];
    f.clear();
    return f;
  };
  std::string* field = &next();
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        *field += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        *field += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == sep) {
      field = &next();
    } else {
      *field += c;
    }
  }
  fields.resize(count);
}

// Header text as looked up in kColumnNames: trimmed, without a trailing unit in brackets, ASCII lower
// case, without blanks, '_', '.', '-' and '*'.
std::string NormalizeName(std::string_view name) {
  name = Trim(name);
  static constexpr std::string_view kFullOpen = "（", kFullClose = "）";
  if (name.ends_with(')')) {
    if (const size_t open = name.rfind('('); open != std::string_view::npos && open > 0)
      name = name.substr(0, open);
  } else if (name.ends_with(kFullClose)) {
    if (const size_t open = name.rfind(kFullOpen); open != std::string_view::npos && open > 0)
      name = name.substr(0, open);
  }
  std::string out;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '_' || c == '.' || c == '-' || c == '*') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

// The layout a header line (UTF-8 text) gives with separator sep, if it names the required columns.
std::optional<Layout> LayoutOf(std::string_view header, char sep) {
  std::vector<std::string> fields;
  SplitFields(header, sep, fields);
  Layout layout;
  layout.separator = sep;
  layout.index.fill(-1);
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string name = NormalizeName(fields[i]);
    if (name.empty()) continue;
    for (const ColumnNames& c : kColumnNames) {
      if (layout.index[c.column] >= 0 || std::find(c.names.begin(), c.names.end(), name) == c.names.end())
        continue;
      layout.index[c.column] = static_cast<int>(i);
      layout.needed = std::max(layout.needed, i + 1);
    }
  }
  for (Column c : {kDate, kOpen, kHigh, kLow, kClose})
    if (layout.index[c] < 0) return std::nullopt;
  return layout;
}

// The layout of a header line in UTF-8 or in Shift_JIS, with any of the three separators.
std::optional<Layout> FindLayout(std::string_view line) {
  if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  const std::string utf8[] = {std::string(line), SjisToUtf8(line)};
  for (const std::string& text : utf8)
    for (char sep : kSeparators)
      if (auto layout = LayoutOf(text, sep)) return layout;
  return std::nullopt;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "YYYY-MM-DD", "YYYY/M/D" or "YYYYMMDD", optionally followed by a time after ' ' or 'T'; yyyymmdd.
std::optional<int32_t> ParseDate(std::string_view s) {
  s = Trim(s);
  if (const size_t t = s.find_first_of(" T"); t != std::string_view::npos) s = s.substr(0, t);
  int y = 0, m = 0, d = 0;
  auto digits = [](std::string_view part, size_t minLen, size_t maxLen, int& out) {
    if (part.size() < minLen || part.size() > maxLen || !std::all_of(part.begin(), part.end(), IsDigit))
      return false;
    out = 0;
    for (char c : part) out = out * 10 + (c - '0');
    return true;
  };
  if (s.size() == 8 && std::all_of(s.begin(), s.end(), IsDigit)) {
    digits(s.substr(0, 4), 4, 4, y);
    digits(s.substr(4, 2), 2, 2, m);
    digits(s.substr(6, 2), 2, 2, d);
  } else {
    const size_t a = s.find_first_of("-/");
    if (a == std::string_view::npos) return std::nullopt;
    const size_t b = s.find(s[a], a + 1);
    if (b == std::string_view::npos || !digits(s.substr(0, a), 4, 4, y) ||
        !digits(s.substr(a + 1, b - a - 1), 1, 2, m) || !digits(s.substr(b + 1), 1, 2, d))
      return std::nullopt;
  }
  const std::chrono::year_month_day ymd{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                                        std::chrono::day{static_cast<unsigned>(d)}};
  if (y < 1900 || !ymd.ok()) return std::nullopt;
  return y * 10000 + m * 100 + d;
}

// A price or volume that means "no value": the row is a day without trading.
bool IsBlank(std::string_view s) {
  s = Trim(s);
  return s.empty() || s == "-" || s == "---" || s == "null" || s == "NULL";
}

// A decimal number: optional sign, digits with optional thousands separators in groups of three, an
// optional fraction after '.'. nullopt for anything else (also for more than 40 characters).
std::optional<double> ParseNumber(std::string_view s) {
  s = Trim(s);
  if (s.empty() || s.size() > 40) return std::nullopt;
  char buf[48];
  size_t n = 0;
  size_t i = 0;
  if (s[0] == '+' || s[0] == '-') {
    if (s[0] == '-') buf[n++] = '-';  // from_chars takes no '+'
    ++i;
  }
  size_t intDigits = 0, group = 0;
  bool grouped = false;
  for (; i < s.size() && s[i] != '.'; ++i) {
    if (IsDigit(s[i])) {
      buf[n++] = s[i];
      ++intDigits;
      ++group;
    } else if (s[i] == ',' && intDigits > 0 && (!grouped ? group <= 3 : group == 3)) {
      grouped = true;
      group = 0;
    } else {
      return std::nullopt;
    }
  }
  if (intDigits == 0 || (grouped && group != 3)) return std::nullopt;
  if (i < s.size()) {
    buf[n++] = s[i++];  // '.'
    if (i == s.size()) return std::nullopt;
    for (; i < s.size(); ++i) {
      if (!IsDigit(s[i])) return std::nullopt;
      buf[n++] = s[i];
    }
  }
  double v = 0;
  const auto [end, ec] = std::from_chars(buf, buf + n, v);
  if (ec != std::errc() || end != buf + n) return std::nullopt;
  return v;
}

// Reads a file line by line through a fixed buffer, so neither a long file nor a long line costs more
// memory than kMaxCsvLineBytes and the buffer.
class LineReader {
 public:
  enum class Status { kLine, kEnd, kTooLong, kReadError };

  explicit LineReader(std::FILE* file) : file_(file), buffer_(64 * 1024) {}

  // The next line without its "\n" (a trailing "\r" is trimmed by the callers).
  Status Next(std::string& line) {
    line.clear();
    for (;;) {
      if (pos_ == end_) {
        if (eof_) return line.empty() && !pending_ ? Status::kEnd : Finish();
        end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        pos_ = 0;
        if (end_ < buffer_.size()) {
          if (std::ferror(file_)) return Status::kReadError;
          eof_ = true;
        }
        continue;
      }
      const char* start = buffer_.data() + pos_;
      const void* nl = std::memchr(start, '\n', end_ - pos_);
      const size_t take = nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : end_ - pos_;
      if (line.size() + take > kMaxCsvLineBytes) return Status::kTooLong;
      line.append(start, take);
      pos_ += take;
      pending_ = true;
      if (nl) {
        ++pos_;
        return Finish();
      }
    }
  }

 private:
  Status Finish() {
    pending_ = false;
    return Status::kLine;
  }

  std::FILE* file_;
  std::vector<char> buffer_;
  size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  bool pending_ = false;  // bytes of the current line were taken
};

// The days of a file, or the error that stopped the reading.
struct ReadDays {
  CsvImportResult result;
  std::vector<Day> days;  // the newest kMaxChartRecords, oldest first
};

CsvImportResult Error(CsvImportError error, int64_t line, std::string_view text = {}) {
  CsvImportResult r;
  r.error = error;
  r.line = line;
  r.text = Cut(text);
  return r;
}

bool NewerFirst(const Day& a, const Day& b) {
  return a.date > b.date;
}

// Keeps the newest kMaxChartRecords of days.
void KeepNewest(std::vector<Day>& days) {
  if (days.size() <= kMaxChartRecords) return;
  const auto cut = days.begin() + static_cast<std::ptrdiff_t>(kMaxChartRecords);
  std::nth_element(days.begin(), cut - 1, days.end(), NewerFirst);
  days.erase(cut, days.end());
}

// The days of 1900..9999 a file has given so far, one bit each, so a second row of a day is found as
// it is read, also when the day is older than the ones the reading keeps.
class SeenDays {
 public:
  SeenDays() : bits_(static_cast<size_t>(10000 - 1900) * 12 * 31) {}
  // False when the day (yyyymmdd, a real day of 1900..9999) was seen before.
  bool Insert(int32_t date) {
    const auto i =
        static_cast<size_t>((date / 10000 - 1900) * 12 * 31 + (date / 100 % 100 - 1) * 31 + date % 100 - 1);
    if (bits_[i]) return false;
    bits_[i] = true;
    return true;
  }

 private:
  std::vector<bool> bits_;
};

// A price field: a number that rounds to 1 yen or more and fits the file's 32-bit field.
std::optional<CsvImportResult> ParsePrice(std::string_view field, int64_t line, double& value, int32_t& yen) {
  const std::optional<double> v = ParseNumber(field);
  if (!v) return Error(CsvImportError::kBadNumber, line, Trim(field));
  const double rounded = std::round(*v);
  if (rounded > 2147483647.0) return Error(CsvImportError::kTooLarge, line, Trim(field));
  if (rounded < 1.0) return Error(CsvImportError::kPriceNotPositive, line, Trim(field));
  value = *v;
  yen = static_cast<int32_t>(rounded);
  return std::nullopt;
}

// One data row into day; an error, or nullopt (day.date stays 0 for a row without trading).
std::optional<CsvImportResult> ParseRow(const std::vector<std::string>& f, const Layout& layout, int64_t line,
                                        Day& day) {
  if (f.size() < layout.needed) return Error(CsvImportError::kMissingField, line);
  auto field = [&](Column c) { return std::string_view(f[static_cast<size_t>(layout.index[c])]); };
  day = Day{};
  day.line = line;
  const std::optional<int32_t> date = ParseDate(field(kDate));
  if (!date) return Error(CsvImportError::kBadDate, line, Trim(field(kDate)));
  if (IsBlank(field(kOpen)) && IsBlank(field(kHigh)) && IsBlank(field(kLow)) && IsBlank(field(kClose)))
    return std::nullopt;
  double open, high, low, close;
  ChartRecord& r = day.record;
  if (auto e = ParsePrice(field(kOpen), line, open, r.open)) return e;
  if (auto e = ParsePrice(field(kHigh), line, high, r.high)) return e;
  if (auto e = ParsePrice(field(kLow), line, low, r.low)) return e;
  if (auto e = ParsePrice(field(kClose), line, close, r.close)) return e;
  if (r.high < r.low) return Error(CsvImportError::kHighBelowLow, line, Trim(field(kHigh)));
  if (layout.index[kVolume] >= 0) {
    const std::optional<double> v = ParseNumber(field(kVolume));
    if (!v) return Error(CsvImportError::kBadNumber, line, Trim(field(kVolume)));
    const double shares = std::round(*v);
    if (shares < 0) return Error(CsvImportError::kNegativeVolume, line, Trim(field(kVolume)));
    if (shares > 2147483647.0) return Error(CsvImportError::kTooLarge, line, Trim(field(kVolume)));
    day.volume.volume = static_cast<int32_t>(shares);
  }
  if (layout.index[kAdjusted] >= 0 && !IsBlank(field(kAdjusted))) {
    const std::optional<double> adjusted = ParseNumber(field(kAdjusted));
    if (!adjusted || *adjusted <= 0) return Error(CsvImportError::kBadNumber, line, Trim(field(kAdjusted)));
    const double factor = *adjusted / close;
    if (std::isfinite(factor)) day.volume.factor = factor;
  }
  r.year = *date / 10000;
  r.month = *date / 100 % 100;
  r.day = *date % 100;
  day.date = *date;
  return std::nullopt;
}

ReadDays ReadCsvDays(const std::string& path) {
  ReadDays out;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    out.result = Error(CsvImportError::kCannotOpen, 0);
    return out;
  }
  LineReader reader(file.get());
  std::string line;
  std::vector<std::string> fields;
  std::optional<Layout> layout;
  SeenDays seen;
  int64_t number = 0;
  for (;;) {
    const LineReader::Status status = reader.Next(line);
    if (status == LineReader::Status::kEnd) break;
    ++number;
    if (status == LineReader::Status::kTooLong) {
      out.result = Error(CsvImportError::kLineTooLong, number);
      return out;
    }
    if (status == LineReader::Status::kReadError) {
      out.result = Error(CsvImportError::kCannotOpen, number);
      return out;
    }
    if (number == 1 && (line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF"))) {
      out.result = Error(CsvImportError::kUtf16, 1);
      return out;
    }
    if (Trim(line).empty()) continue;
    if (!layout) {
      layout = FindLayout(line);
      if (!layout && number >= static_cast<int64_t>(kTitleLines)) {
        out.result = Error(CsvImportError::kUnknownLayout, 1);
        return out;
      }
      continue;
    }
    SplitFields(line, layout->separator, fields);
    Day day;
    if (auto e = ParseRow(fields, *layout, number, day)) {
      out.result = *e;
      return out;
    }
    if (day.date == 0) {
      ++out.result.skipped;
      continue;
    }
    if (!seen.Insert(day.date)) {
      out.result = Error(CsvImportError::kDuplicateDate, number);
      const auto earlier =
          std::find_if(out.days.begin(), out.days.end(), [&day](const Day& d) { return d.date == day.date; });
      if (earlier != out.days.end()) out.result.otherLine = earlier->line;
      return out;
    }
    ++out.result.days;
    out.days.push_back(day);
    if (out.days.size() == 2 * kMaxChartRecords) KeepNewest(out.days);
  }
  if (!layout) {
    out.result = Error(CsvImportError::kUnknownLayout, number > 0 ? 1 : 0);
    return out;
  }
  KeepNewest(out.days);
  if (out.days.empty()) {
    out.result = Error(CsvImportError::kNoRows, 0);
    return out;
  }
  std::sort(out.days.begin(), out.days.end(), [](const Day& a, const Day& b) { return a.date < b.date; });
  return out;
}

int32_t DateOf(const ChartRecord& r) {
  return r.year * 10000 + r.month * 100 + r.day;
}

}  // namespace

CsvImportResult ImportChartCsv(const DataFolder& folder, int32_t code, const std::string& csvPath,
                               bool replace) {
  if (code < 0 || code > 9999) return Error(CsvImportError::kBadCode, 0);
  ReadDays read = ReadCsvDays(csvPath);
  CsvImportResult result = read.result;
  if (result.error != CsvImportError::kNone) return result;
  result.firstDate = read.days.front().date;
  result.lastDate = read.days.back().date;

  std::vector<ChartRecord> records(replace ? 0 : kMaxChartRecords);
  std::vector<VolumeRecord> volumes(records.size());
  const size_t n =
      replace ? 0
              : static_cast<size_t>(std::max(0, ReadChart(folder, records, volumes, code, kChartDaily, 0)));
  // The file's span replaces the stored days inside it, as a download's range does.
  size_t keep = 0;
  while (keep < n && DateOf(records[keep]) < result.firstDate) ++keep;
  size_t resume = n;
  while (resume > keep && DateOf(records[resume - 1]) > result.lastDate) --resume;
  result.replacedDays = static_cast<int64_t>(resume - keep);

  ChartDays arrived;
  arrived.records.reserve(read.days.size());
  arrived.volumes.reserve(read.days.size());
  for (const Day& d : read.days) {
    arrived.records.push_back(d.record);
    arrived.volumes.push_back(d.volume);
  }
  const ChartDays merged =
      MergeChartDays(std::span(records).first(n), std::span(volumes).first(n), keep, resume, arrived);
  if (WriteChartDays(folder, merged, code) == 0) return Error(CsvImportError::kCannotWrite, 0);
  result.storedDays = static_cast<int64_t>(merged.records.size());
  return result;
}

}  // namespace sorano
