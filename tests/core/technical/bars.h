#pragma once
// Series builders for the technical tests.
#include <cstdint>
#include <vector>

#include "core/chart/price_series.h"
#include "core/technical/indicators.h"

namespace sorano::test {

// Bars with the given closes (open, high and low equal to the close), volume vol, one day apart
// from 2003-01-06 on (dates only matter to the date grid).
inline std::vector<PriceBar> FromCloses(const std::vector<int32_t>& closes, int32_t vol = 1000) {
  std::vector<PriceBar> bars;
  for (size_t i = 0; i < closes.size(); ++i) {
    PriceBar b;
    b.year = 2003 + static_cast<int32_t>(i / 336);
    b.month = 1 + static_cast<int32_t>(i / 28 % 12);
    b.day = 1 + static_cast<int32_t>(i % 28);
    b.open = b.high = b.low = b.close = closes[i];
    b.volume = vol;
    bars.push_back(b);
  }
  return bars;
}

inline std::vector<int32_t> Repeat(int32_t value, int n) {
  return std::vector<int32_t>(static_cast<size_t>(n), value);
}

// Rising (step > 0) or falling closes from start.
inline std::vector<int32_t> Ramp(int32_t start, int32_t step, int n) {
  std::vector<int32_t> v;
  for (int i = 0; i < n; ++i) v.push_back(start + step * i);
  return v;
}

// The window of the newest visible bars.
inline BarWindow Newest(const std::vector<PriceBar>& bars, int visible) {
  return ClampedWindow(bars, static_cast<int>(bars.size()) - visible, visible);
}

}  // namespace sorano::test
