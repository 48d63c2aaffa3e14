#pragma once
// Small series for the chart tests.
#include <vector>

#include "core/chart/chart_settings.h"
#include "core/chart/price_series.h"

namespace sorano::test {

// Bars with the given closes (open = high = low = close), on consecutive calendar days from
// 2003-01-01 (day 1 ... 28 of each month), volume 1000, factor 1.
inline PriceSeries SeriesOfCloses(const std::vector<int>& closes) {
  std::vector<PriceBar> bars;
  for (size_t i = 0; i < closes.size(); ++i) {
    PriceBar b;
    b.year = 2003 + static_cast<int>(i / (12 * 28));
    b.month = 1 + static_cast<int>((i / 28) % 12);
    b.day = 1 + static_cast<int>(i % 28);
    b.open = b.high = b.low = b.close = closes[i];
    b.volume = 1000;
    bars.push_back(b);
  }
  PriceSeries s;
  s.Assign(bars);
  return s;
}

inline PriceBar Bar(int y, int m, int d, int open, int high, int low, int close, int volume = 1000) {
  PriceBar b;
  b.year = y, b.month = m, b.day = d;
  b.open = open, b.high = high, b.low = low, b.close = close, b.volume = volume;
  return b;
}

// Settings with nothing drawn but what a test switches on; a 12-pixel font on the recording canvas.
inline ChartSettings QuietSettings() {
  ChartSettings s;
  s.check_font_size = 16;  // trunc(16 / 1.3) = 12
  s.check_line_y = 0;
  s.check_line_m_x = 0;
  s.check_shi_sma = 0;
  s.check_soku = 13;
  return s;
}

}  // namespace sorano::test
