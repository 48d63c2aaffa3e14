#include "core/store/chart_file.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string_view>

#include "core/fs/file_io.h"
#include "core/text/numbers.h"

namespace sorano {
namespace {

constexpr int32_t kCodeLimit = 10000;  // chart files exist for the brand table's codes 0..9999

bool ValidCode(int32_t code) {
  return code >= 0 && code < kCodeLimit;
}

// Makes sure data/, data/chdata_d/ and data/chdata_da/ exist. All three at once: a first write into a
// data folder that does not exist yet must not fail for want of the sub-folder.
void EnsureChartFolders(const DataFolder& folder) {
  for (std::string_view rel : {"data", "data/chdata_d", "data/chdata_da"}) {
    std::string path = folder.Path(rel);
    if (FileExists(path, 1) == 0) EnsureFolder(path);
  }
}

int32_t ClampToInt32(double x) {
  if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(x);  // truncates toward zero
}

int32_t ClampToInt32(int64_t x) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(x, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// value * factor truncated toward zero. Computed in double so that a large volume times a factor
// cannot overflow; the result saturates at the int32 limits.
int32_t Scale(int32_t value, double factor) {
  return ClampToInt32(static_cast<double>(value) * factor);
}

bool IsLeapYear(int64_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Leap years in 1..y (y >= 0).
int64_t LeapYearsThrough(int64_t y) {
  return y / 4 - y / 100 + y / 400;
}

// The folder whose lock guards a brand's pair of files.
std::string LockFolder(const DataFolder& folder) {
  return folder.Path("data/chdata_d");
}

std::string Staged(const std::string& path) {
  return path + ".new";
}

// Finishes or drops an interrupted rewrite of one pair; the caller holds the lock.
void RecoverPair(const DataFolder& folder, int32_t code) {
  const std::string prices = PriceFilePath(folder, code), volumes = VolumeFilePath(folder, code);
  if (FileExists(Staged(prices), 0) == 1) {
    // The new pair was complete: move in what is not in place yet.
    if (FileExists(Staged(volumes), 0) == 1) ::rename(Staged(volumes).c_str(), volumes.c_str());
    ::rename(Staged(prices).c_str(), prices.c_str());
  } else {
    ::unlink(Staged(volumes).c_str());  // the new pair never was complete; the old one stands
  }
}

template <typename Record>
std::string_view Bytes(std::span<const Record> records) {
  return {reinterpret_cast<const char*>(records.data()), records.size_bytes()};
}

// Copies the whole records held in bytes into out; a trailing partial record is dropped.
template <typename Record>
size_t CopyRecords(const std::string& bytes, std::span<Record> out) {
  size_t n = std::min(bytes.size() / sizeof(Record), out.size());
  if (n > 0) std::memcpy(static_cast<void*>(out.data()), bytes.data(), n * sizeof(Record));
  return n;
}

// Merges day i into bar j: the bar keeps its date and open.
void MergeDay(std::span<ChartRecord> records, std::span<VolumeRecord> volumes, size_t j, size_t i) {
  ChartRecord& bar = records[j];
  const ChartRecord& d = records[i];
  bar.high = std::max(bar.high, d.high);
  bar.low = std::min(bar.low, d.low);
  bar.close = d.close;
  volumes[j].volume = ClampToInt32(static_cast<int64_t>(volumes[j].volume) + volumes[i].volume);
  volumes[j].factor = volumes[i].factor;
}

// Groups n days in place into weekly or monthly bars; returns the number of bars.
size_t GroupBars(std::span<ChartRecord> records, std::span<VolumeRecord> volumes, size_t n, int period) {
  const bool monthly = period == kChartMonthly;
  size_t j = 0;
  if (monthly) records[0].day = 0;
  int64_t barWeek = ChartWeekNumber(records[0].year, records[0].month, records[0].day);
  for (size_t i = 1; i < n; ++i) {
    const ChartRecord& d = records[i];
    bool newBar;
    if (monthly) {
      newBar = d.year != records[j].year || d.month != records[j].month;
    } else {
      int64_t week = ChartWeekNumber(d.year, d.month, d.day);
      newBar = week != barWeek;
      if (newBar) barWeek = week;
    }
    if (newBar) {
      ++j;
      records[j] = records[i];
      volumes[j] = volumes[i];
      if (monthly) records[j].day = 0;
    } else {
      MergeDay(records, volumes, j, i);
    }
  }
  return j + 1;
}

}  // namespace

std::string PriceFilePath(const DataFolder& folder, int32_t code) {
  return folder.Path("data/chdata_d/" + std::to_string(code) + ".dat");
}

std::string VolumeFilePath(const DataFolder& folder, int32_t code) {
  return folder.Path("data/chdata_da/" + std::to_string(code) + ".dat");
}

ChartDays MergeChartDays(std::span<const ChartRecord> storedRecords,
                         std::span<const VolumeRecord> storedVolumes, size_t keep, size_t resume,
                         const ChartDays& arrived) {
  const size_t n = std::min(storedRecords.size(), storedVolumes.size());
  keep = std::min(keep, n);
  resume = std::clamp(resume, keep, n);
  const size_t newCount = std::min(arrived.records.size(), arrived.volumes.size());
  ChartDays out;
  out.records.reserve(keep + newCount + (n - resume));
  out.volumes.reserve(out.records.capacity());
  auto append = [&out](auto records, auto volumes) {
    out.records.insert(out.records.end(), records.begin(), records.end());
    out.volumes.insert(out.volumes.end(), volumes.begin(), volumes.end());
  };
  append(storedRecords.first(keep), storedVolumes.first(keep));
  append(std::span(arrived.records).first(newCount), std::span(arrived.volumes).first(newCount));
  append(storedRecords.subspan(resume, n - resume), storedVolumes.subspan(resume, n - resume));
  if (out.records.size() > kMaxChartRecords) {
    const auto drop = static_cast<std::ptrdiff_t>(out.records.size() - kMaxChartRecords);
    out.records.erase(out.records.begin(), out.records.begin() + drop);
    out.volumes.erase(out.volumes.begin(), out.volumes.begin() + drop);
  }
  return out;
}

int WriteChartDays(const DataFolder& folder, const ChartDays& days, int32_t code) {
  if (days.records.size() != days.volumes.size()) return 0;
  return WriteChartFiles(folder, days.records, days.volumes, code);
}

int64_t ChartWeekNumber(int32_t year, int32_t month, int32_t day) {
  static constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int64_t days = 0;
  if (year > 1900) {
    int64_t last = static_cast<int64_t>(year) - 1;
    days = 365 * (last - 1899) + LeapYearsThrough(last) - LeapYearsThrough(1899);
  }
  // In 64 bits: a record read from a file may hold any month, INT32_MIN included.
  const int64_t months = std::clamp<int64_t>(int64_t{month} - 1, 0, 12);
  for (int64_t k = 0; k < months; ++k) days += kMonthDays[k] + (k == 1 && IsLeapYear(year) ? 1 : 0);
  days += day;
  return days / 7;
}

int ReadChart(const DataFolder& folder, std::span<ChartRecord> records, std::span<VolumeRecord> volumes,
              int32_t code, int period, int adjust) {
  if (!ValidCode(code)) return -1;
  EnsureChartFolders(folder);
  const size_t capacity = std::min({kMaxChartRecords, records.size(), volumes.size()});

  std::optional<std::string> prices, vols;
  {
    const FolderLock lock(LockFolder(folder), false);
    prices = ReadWholeFile(PriceFilePath(folder, code), capacity * sizeof(ChartRecord));
    if (!prices) return -1;
    vols = ReadWholeFile(VolumeFilePath(folder, code), capacity * sizeof(VolumeRecord));
  }
  const size_t n = CopyRecords(*prices, records.first(capacity));
  size_t m = 0;
  if (vols) {
    m = CopyRecords(*vols, volumes.first(capacity));
    // Days the volume file lacks (a file cut short) get no volume and no adjustment rather than
    // whatever the caller's buffer held.
    for (size_t i = m; i < n; ++i) volumes[i] = VolumeRecord{};
  }

  if (adjust == 1 && vols && m >= 1 && n >= 1) {
    // The newest day (n - 1) is the reference of the factors and is never adjusted.
    for (size_t i = 0; i + 1 < n; ++i) {
      const double f = volumes[i].factor;
      if (!std::isfinite(f)) continue;
      ChartRecord& r = records[i];
      r.open = Scale(r.open, f);
      r.high = Scale(r.high, f);
      r.low = Scale(r.low, f);
      r.close = Scale(r.close, f);
      volumes[i].volume = Scale(volumes[i].volume, f);
    }
  }

  if (n == 0 || (period != kChartWeekly && period != kChartMonthly)) return static_cast<int>(n);
  return static_cast<int>(GroupBars(records, volumes, n, period));
}

int WriteChart(const DataFolder& folder, std::span<const ChartRecord> records, int32_t code) {
  if (!ValidCode(code)) return 0;
  EnsureChartFolders(folder);
  const FolderLock lock(LockFolder(folder), true);
  return WriteFileAtomic(PriceFilePath(folder, code), Bytes(records)) ? 1 : 0;
}

int WriteVolumes(const DataFolder& folder, std::span<const VolumeRecord> volumes, int32_t code) {
  if (!ValidCode(code)) return 0;
  EnsureChartFolders(folder);
  const FolderLock lock(LockFolder(folder), true);
  return WriteFileAtomic(VolumeFilePath(folder, code), Bytes(volumes)) ? 1 : 0;
}

int WriteChartFiles(const DataFolder& folder, std::span<const ChartRecord> records,
                    std::span<const VolumeRecord> volumes, int32_t code) {
  if (!ValidCode(code)) return 0;
  EnsureChartFolders(folder);
  const FolderLock lock(LockFolder(folder), true);
  RecoverPair(folder, code);
  const std::string prices = PriceFilePath(folder, code), vols = VolumeFilePath(folder, code);
  if (!WriteFileAtomic(Staged(vols), Bytes(volumes))) return 0;
  if (!WriteFileAtomic(Staged(prices), Bytes(records))) {
    ::unlink(Staged(vols).c_str());
    return 0;
  }
  if (::rename(Staged(vols).c_str(), vols.c_str()) != 0) {
    ::unlink(Staged(prices).c_str());
    ::unlink(Staged(vols).c_str());
    return 0;
  }
  // Should this last step fail, the new pair is finished at the next start; until then it is reported
  // as not written.
  return ::rename(Staged(prices).c_str(), prices.c_str()) == 0 ? 1 : 0;
}

void RecoverChartFiles(const DataFolder& folder) {
  EnsureChartFolders(folder);
  const FolderLock lock(LockFolder(folder), true);
  for (std::string_view sub : {"data/chdata_d", "data/chdata_da"}) {
    const std::string dir = folder.Path(sub);
    RemoveStaleTemporaries(dir);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (!name.ends_with(".dat.new")) continue;
      const int32_t code = LeadingInt(name);
      if (ValidCode(code) && name == std::to_string(code) + ".dat.new") RecoverPair(folder, code);
    }
  }
}

}  // namespace sorano
