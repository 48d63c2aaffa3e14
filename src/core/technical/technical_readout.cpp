#include "core/technical/technical_readout.h"

#include <cstdio>

namespace sorano {

namespace {

std::string Format(const char* format, int a, int b, int c) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, a, b, c);
  return buf;
}

}  // namespace

int64_t TradedValue(int32_t volume, int32_t close) {
  // At most 2^31 * 2^31 / 10^4, well inside int64.
  return static_cast<int64_t>(volume / 10000.0 * close);
}

std::string TradedValueText(int64_t t) {
  if (t < 10000) return std::to_string(t) + "万円";
  return std::to_string(t / 10000) + "億" + std::to_string(t % 10000) + "万円";
}

std::optional<std::array<std::string, 8>> TechnicalReadout(const PriceSeries& series, const ChartWindow& w,
                                                           int x) {
  if (w.pitch <= 0 || series.count() <= 0) return std::nullopt;
  const int p = x / w.pitch - 1;
  if (x < 0 || p < 0 || p >= w.visible) return std::nullopt;
  const int64_t k = static_cast<int64_t>(w.first) + p;
  if (k < 0 || k >= series.count()) return std::nullopt;
  const PriceBar& b = series[static_cast<int>(k)];
  return std::array<std::string, 8>{
      Format(" %4d/%2d/%2d", b.year, b.month, b.day),
      // A date no file of real days holds (garbage bytes) gets no weekday rather than overflowing.
      b.year >= 1 && b.year <= 9999 && b.month >= 1 && b.month <= 12 && b.day >= 0 && b.day <= 31
          ? DayOfWeekName(DayOfWeek(b.year, b.month, b.day))
          : "",
      "始:" + std::to_string(b.open),
      "高:" + std::to_string(b.high),
      "安:" + std::to_string(b.low),
      "終:" + std::to_string(b.close),
      "出:" + std::to_string(b.volume),
      TradedValueText(TradedValue(b.volume, b.close)),
  };
}

}  // namespace sorano
