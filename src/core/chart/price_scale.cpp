#include "core/chart/price_scale.h"

#include <algorithm>

namespace sorano {

int PriceScale::Y(int64_t v) const {
  const int64_t r = range > 0 ? range : 1;
  const int64_t y = paneHeight - ((v - bottom) * paneHeight) / r;
  return static_cast<int>(std::clamp<int64_t>(y, -16000000, 16000000));
}

PriceScale ComputePriceScale(const PriceSeries& series, const ChartWindow& w, int paneHeight) {
  PriceScale s;
  s.paneHeight = paneHeight;
  const int count = series.count();
  const int end = std::min(w.first + w.visible, count);  // exclusive
  int start = w.first >= w.visible ? w.first - w.visible / 2 : w.first;
  start = std::max(start, 0);
  if (end <= start) return s;
  int32_t top = 0;
  int32_t bottom = 1000000000;
  for (int i = start; i < end; ++i) {
    top = std::max(top, series[i].high);
    bottom = std::min(bottom, series[i].low);
  }
  s.top = top;
  s.bottom = bottom;
  const int64_t range = static_cast<int64_t>(top) - bottom;
  s.range = range <= 0 ? 1 : static_cast<int32_t>(std::min<int64_t>(range, INT32_MAX));
  return s;
}

}  // namespace sorano

namespace sorano {

int GridUnit(int32_t top) {
  if (top > 100000000) return 1000000;
  if (top > 10000000) return 100000;
  if (top > 1000000) return 10000;
  if (top > 100000) return 1000;
  if (top > 10000) return 100;
  if (top > 1000) return 10;
  return 5;
}

std::vector<GridLabel> GridLabels(const PriceScale& scale) {
  std::vector<GridLabel> out;
  const int64_t u = GridUnit(scale.top);
  const int64_t range = scale.range > 0 ? scale.range : 1;
  const int64_t r = scale.bottom - (scale.bottom / u) * u;
  const int64_t k = range / u;
  const int64_t m = k / 10 + 1;
  for (int64_t i = 1; i <= k / m; ++i) {
    const int64_t price = scale.bottom - r + m * u * i;
    const int64_t y = scale.paneHeight - ((m * u * i - r) * scale.paneHeight) / range;
    out.push_back({static_cast<int32_t>(std::clamp<int64_t>(price, INT32_MIN, INT32_MAX)),
                   static_cast<int>(std::clamp<int64_t>(y, -16000000, 16000000))});
  }
  return out;
}

}  // namespace sorano
