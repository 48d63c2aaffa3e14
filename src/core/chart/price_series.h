#pragma once
// The in-memory price series the price chart and the technical pane draw: up to 12000 bars of one
// brand in one period, index 0 the oldest. Allocated once and only ever overwritten by the next load.
#include <cstdint>
#include <span>
#include <vector>

namespace sorano {

// The value of check_ymd.
enum ChartPeriod : int32_t { kPeriodDaily = 0, kPeriodWeekly = 1, kPeriodMonthly = 2 };

// One bar: the stored day (ChartRecord) and its volume and split factor (VolumeRecord) read as one.
// A weekly or monthly bar carries the date of its first day; a monthly bar has day 0.
struct PriceBar {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  int32_t open = 0;
  int32_t high = 0;
  int32_t low = 0;
  int32_t close = 0;
  int32_t volume = 0;   // shares
  double factor = 1.0;  // split-adjustment factor of the bar's last day
};

class PriceSeries {
 public:
  static constexpr int kCapacity = 12000;

  PriceSeries() : bars_(kCapacity) {}

  // Bars delivered by the last load, or -1 when the brand has no price file.
  int count() const { return count_; }
  bool HasFile() const { return count_ >= 0; }

  // Bar i, 0 <= i < count().
  const PriceBar& operator[](int i) const { return bars_[static_cast<size_t>(i)]; }
  // The loaded bars (empty when count() <= 0).
  std::span<const PriceBar> bars() const {
    return {bars_.data(), static_cast<size_t>(count_ > 0 ? count_ : 0)};
  }

  // The whole fixed buffer, for a loader to fill before SetCount.
  std::span<PriceBar> buffer() { return bars_; }
  // n is clamped to -1 ... kCapacity.
  void SetCount(int n) { count_ = n < -1 ? -1 : (n > kCapacity ? kCapacity : n); }

  // Replaces the content with bars (at most kCapacity of them, the oldest first).
  void Assign(std::span<const PriceBar> bars) {
    size_t n = bars.size() < bars_.size() ? bars.size() : bars_.size();
    for (size_t i = 0; i < n; ++i) bars_[i] = bars[i];
    count_ = static_cast<int>(n);
  }

 private:
  std::vector<PriceBar> bars_;
  int count_ = -1;
};

}  // namespace sorano
