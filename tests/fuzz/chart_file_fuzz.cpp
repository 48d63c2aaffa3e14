// ReadChart on any pair of price and volume files, every period, adjustment on and off. Input: one byte
// of switches (bit 0: a volume file exists), two bytes giving the length of the price file's bytes,
// then the price bytes and the volume bytes.
// Daily bars are the file's records as stored; days the volume file lacks get no volume and factor
// 1.0; the newest day is never adjusted; weekly and monthly bars are no more than the days, start with
// the first day, end with the last day's close and carry every day's volume.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/store/chart_file.h"
#include "fuzz_support.h"

namespace {

using sorano::ChartRecord;
using sorano::kMaxChartRecords;
using sorano::VolumeRecord;

constexpr int32_t kCode = 7203;

struct Read {
  std::vector<ChartRecord> records = std::vector<ChartRecord>(kMaxChartRecords);
  std::vector<VolumeRecord> volumes = std::vector<VolumeRecord>(kMaxChartRecords);
  int n = 0;
};

void ReadInto(Read& r, int period, int adjust) {
  std::fill(r.records.begin(), r.records.end(), ChartRecord{});
  std::fill(r.volumes.begin(), r.volumes.end(), VolumeRecord{});
  r.n = sorano::ReadChart(sorano::DataFolder(sorano::fuzz::Scratch()), r.records, r.volumes, kCode, period,
                          adjust);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const bool withVolumes = (data[0] & 1) != 0;
  const size_t priceLen = std::min<size_t>(data[1] | (data[2] << 8) | ((data[0] & 0x1E) << 15), size - 3);
  const std::string_view prices(reinterpret_cast<const char*>(data) + 3, priceLen);
  const std::string_view vols(reinterpret_cast<const char*>(data) + 3 + priceLen, size - 3 - priceLen);
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  sorano::fuzz::WriteFile(sorano::PriceFilePath(folder, kCode), prices);
  std::remove(sorano::VolumeFilePath(folder, kCode).c_str());
  if (withVolumes) sorano::fuzz::WriteFile(sorano::VolumeFilePath(folder, kCode), vols);

  static Read daily, adjusted, grouped;
  ReadInto(daily, 0, 0);
  const size_t n = std::min(prices.size() / sizeof(ChartRecord), kMaxChartRecords);
  FUZZ_CHECK(daily.n == static_cast<int>(n));
  FUZZ_CHECK(n == 0 || std::memcmp(daily.records.data(), prices.data(), n * sizeof(ChartRecord)) == 0);
  const size_t m = withVolumes ? std::min(vols.size() / sizeof(VolumeRecord), kMaxChartRecords) : 0;
  for (size_t i = 0; i < n; ++i) {
    if (i < m) {
      FUZZ_CHECK(
          std::memcmp(&daily.volumes[i], vols.data() + i * sizeof(VolumeRecord), sizeof(VolumeRecord)) == 0);
    } else {
      FUZZ_CHECK(daily.volumes[i].volume == 0 && daily.volumes[i].factor == 1.0);
    }
  }

  ReadInto(adjusted, 0, 1);
  FUZZ_CHECK(adjusted.n == daily.n);
  if (n > 0)
    FUZZ_CHECK(std::memcmp(&adjusted.records[n - 1], &daily.records[n - 1], sizeof(ChartRecord)) == 0);

  for (int adjust : {0, 1}) {
    const Read& days = adjust ? adjusted : daily;
    int64_t dayVolume = 0;
    bool small = true;  // no volume saturates when every day's volume is modest
    for (size_t i = 0; i < n; ++i) {
      dayVolume += days.volumes[i].volume;
      small = small && days.volumes[i].volume >= 0 && days.volumes[i].volume <= 1000000;
    }
    for (int period : {1, 2}) {
      ReadInto(grouped, period, adjust);
      FUZZ_CHECK(grouped.n >= (n > 0 ? 1 : 0) && grouped.n <= static_cast<int>(n));
      if (n == 0) continue;
      const ChartRecord& first = grouped.records[0];
      FUZZ_CHECK(first.year == days.records[0].year && first.month == days.records[0].month);
      FUZZ_CHECK(first.open == days.records[0].open);
      FUZZ_CHECK(grouped.records[static_cast<size_t>(grouped.n - 1)].close == days.records[n - 1].close);
      int64_t barVolume = 0;
      for (int j = 0; j < grouped.n; ++j) {
        barVolume += grouped.volumes[static_cast<size_t>(j)].volume;
        if (period == 2) FUZZ_CHECK(grouped.records[static_cast<size_t>(j)].day == 0);
      }
      if (small) FUZZ_CHECK(barVolume == dayVolume);
    }
  }
  return 0;
}
