#include "core/chart/chart_readout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/chart/moving_average.h"

namespace sorano {

int BarUnderPoint(const ChartWindow& w, int count, int x) {
  if (x < 0 || w.Stride() <= 0) return -1;
  const int i = x / w.Stride() - 1;
  if (i < 0 || i >= w.visible) return -1;
  const int t = w.first + i;
  return t >= 0 && t < count ? t : -1;
}

std::string TradingValueText(int32_t volume, int32_t close) {
  const double value = volume / 10000.0 * close;
  const long long v = std::fabs(value) < 9e18 ? static_cast<long long>(value) : 0;
  char buf[64];
  if (v >= 10000) {
    std::snprintf(buf, sizeof buf, "%lld億%lld万円", v / 10000, v % 10000);
  } else {
    std::snprintf(buf, sizeof buf, "%lld万円", v);
  }
  return buf;
}

int32_t PriceAtHeight(const PriceScale& scale, int y) {
  const double H = scale.paneHeight;
  const double range = scale.range > 0 ? scale.range : 1;
  if (H == 0) return scale.bottom;
  return Trunc32((H - y) / (H / range) + scale.bottom);
}

std::array<std::string, 9> StatusReadout(const PriceBar& b, const PriceScale& scale, int y) {
  std::array<std::string, 9> parts;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%4d/%2d/%2d", b.year, b.month, b.day);
  parts[0] = buf;
  parts[1] = DayOfWeekName(DayOfWeek(b.year, b.month, b.day));
  std::snprintf(buf, sizeof buf, "始:%d", b.open);
  parts[2] = buf;
  std::snprintf(buf, sizeof buf, "高:%d", b.high);
  parts[3] = buf;
  std::snprintf(buf, sizeof buf, "安:%d", b.low);
  parts[4] = buf;
  std::snprintf(buf, sizeof buf, "終:%d", b.close);
  parts[5] = buf;
  std::snprintf(buf, sizeof buf, "出:%d", b.volume);
  parts[6] = buf;
  parts[7] = TradingValueText(b.volume, b.close);
  std::snprintf(buf, sizeof buf, "%d", PriceAtHeight(scale, y));
  parts[8] = buf;
  return parts;
}

Point FittedTrendPoint(const PriceSeries& series, const ChartWindow& w, const PriceScale& scale, int x) {
  const int pitch = std::max(1, w.pitch);
  const int px = pitch * (x / pitch);
  if (series.count() <= 0) return {px, 0};
  const int t = std::clamp(w.first + x / std::max(1, w.Stride()), 0, series.count() - 1);
  return {px, scale.Y(series[t].close)};
}

TrendLineEnds TrendLine(int mode, Point anchor, Point cursor, const PriceSeries& series, const ChartWindow& w,
                        const PriceScale& scale) {
  switch (mode) {
    case 1:
      return {anchor, {cursor.x, anchor.y}};
    case 2:
      return {anchor, {anchor.x, cursor.y}};
    case 3:
      return {FittedTrendPoint(series, w, scale, anchor.x), FittedTrendPoint(series, w, scale, cursor.x)};
    default:
      return {anchor, cursor};
  }
}

}  // namespace sorano
