#pragma once
// Reading and writing a brand's chart files (data/chdata_d/<code>.dat and data/chdata_da/<code>.dat),
// with the split adjustment and the weekly and monthly grouping that every reader of prices uses.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/settings/data_folder.h"
#include "core/store/chart_record.h"

namespace sorano {

enum ChartPeriodNumber : int { kChartDaily = 0, kChartWeekly = 1, kChartMonthly = 2 };

// "data/chdata_d/7203.dat" and "data/chdata_da/7203.dat" below the data folder.
std::string PriceFilePath(const DataFolder& folder, int32_t code);
std::string VolumeFilePath(const DataFolder& folder, int32_t code);

// Reads the brand's days into the caller's buffers and returns the number of bars delivered, or -1
// when the price file cannot be opened (or code is outside 0..9999). At most
// min(kMaxChartRecords, records.size(), volumes.size()) days are read; a trailing partial record is
// ignored. adjust 1 multiplies every day but the newest by its factor (prices and volume, truncated
// toward zero, clamped to int32). period 1 groups Sunday-to-Saturday weeks, 2 calendar months (day 0);
// the bars overwrite the buffers from index 0, oldest first.
// A missing volume file leaves volumes as the caller passed it (and prices unadjusted); a volume file
// shorter than the price file gives the days it lacks volume 0 and factor 1.0.
int ReadChart(const DataFolder& folder, std::span<ChartRecord> records, std::span<VolumeRecord> volumes,
              int32_t code, int period, int adjust);

// Rewrite the whole price / volume file with exactly these records (temporary file + rename, so a
// reader never sees a short file). 1 on success, 0 when the file cannot be written.
int WriteChart(const DataFolder& folder, std::span<const ChartRecord> records, int32_t code);
int WriteVolumes(const DataFolder& folder, std::span<const VolumeRecord> volumes, int32_t code);

// Rewrites both files of the brand so that whatever happens (a crash, a kill, a full disk) the pair is
// afterwards either both old files or both new ones, never a mix:
//   1. the volumes go to "chdata_da/<code>.dat.new", 2. the prices to "chdata_d/<code>.dat.new" (from
//   here on the new pair is complete: the price file's ".new" is the mark), 3. the volume file and
//   4. the price file are renamed into place.
// A pair left between 2 and 4 is finished by RecoverChartFiles (or by the next write of the brand), one
// left before 2 is dropped. The chart folder is locked (FolderLock) throughout, and ReadChart takes the
// same lock shared, so no reader sees a half-renamed pair. 1 on success; 0 when the files could not
// be written, the old pair then in place.
int WriteChartFiles(const DataFolder& folder, std::span<const ChartRecord> records,
                    std::span<const VolumeRecord> volumes, int32_t code);

// At start, before anything is written: finishes or drops every pair rewrite that a crash interrupted
// (see WriteChartFiles) and removes the temporaries left in both chart folders.
void RecoverChartFiles(const DataFolder& folder);

// A brand's days as its two files hold them: oldest first, a day's volume at its record's index.
struct ChartDays {
  std::vector<ChartRecord> records;
  std::vector<VolumeRecord> volumes;
};

// How new days join a stored history, for a download and an import alike: the stored days
// [0, keep), then the arrived days (oldest first), then the stored days [resume, n); of these the
// newest kMaxChartRecords. n is the shorter of the two stored spans; keep and resume are clamped to
// 0 <= keep <= resume <= n.
ChartDays MergeChartDays(std::span<const ChartRecord> storedRecords,
                         std::span<const VolumeRecord> storedVolumes, size_t keep, size_t resume,
                         const ChartDays& arrived);

// Rewrites both files with the days as one pair (WriteChartFiles; records and volumes of the same
// length). 1 when both were written; 0 otherwise, the old pair then in place.
int WriteChartDays(const DataFolder& folder, const ChartDays& days, int32_t code);

// Week number used by the weekly grouping: (days of the years 1900..year-1 + days of the months before
// month + day) / 7, Gregorian leap rule. 1900-01-01 (a Monday) is day 1, so weeks run Sunday to Saturday.
// Years before 1900 count no year days; months outside 1..12 are clamped to the year's range.
int64_t ChartWeekNumber(int32_t year, int32_t month, int32_t day);

}  // namespace sorano
