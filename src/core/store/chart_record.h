#pragma once
// The two parallel record files of a brand's daily history: data/chdata_d/<code>.dat holds one
// ChartRecord per trading day, data/chdata_da/<code>.dat the VolumeRecord of the same day at the same
// index. Oldest day first, no header, little-endian.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace sorano {

static_assert(std::endian::native == std::endian::little, "record files are little-endian byte images");

// Buffers of callers hold this many records; longer files are read only this far (oldest first).
inline constexpr size_t kMaxChartRecords = 12000;

// One trading day (or, after grouping, one weekly or monthly bar). Prices in yen.
struct ChartRecord {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;  // 0 in a monthly bar
  int32_t open = 0;
  int32_t high = 0;
  int32_t low = 0;
  int32_t close = 0;
};
static_assert(sizeof(ChartRecord) == 28);
static_assert(offsetof(ChartRecord, year) == 0);
static_assert(offsetof(ChartRecord, month) == 4);
static_assert(offsetof(ChartRecord, day) == 8);
static_assert(offsetof(ChartRecord, open) == 12);
static_assert(offsetof(ChartRecord, high) == 16);
static_assert(offsetof(ChartRecord, low) == 20);
static_assert(offsetof(ChartRecord, close) == 24);

// The day's volume in shares and its split-adjustment factor (adjusted close / delivered close; 1.0
// when the day needs no adjustment).
struct VolumeRecord {
  int32_t volume = 0;
  char padding[4] = {};  // kept as read; zero in new records
  double factor = 1.0;
  char reserved[8] = {};  // kept as read; zero in new records
};
static_assert(sizeof(VolumeRecord) == 24);
static_assert(offsetof(VolumeRecord, volume) == 0);
static_assert(offsetof(VolumeRecord, padding) == 4);
static_assert(offsetof(VolumeRecord, factor) == 8);
static_assert(offsetof(VolumeRecord, reserved) == 16);

}  // namespace sorano
