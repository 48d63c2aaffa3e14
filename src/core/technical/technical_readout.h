#pragma once
// The status-bar read-out of the technical pane: the bar under the mouse, in eight parts.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/chart/chart_window.h"
#include "core/chart/price_series.h"

namespace sorano {

// Traded value in units of 10,000 yen: trunc(volume / 10000.0 * close), in 64 bits (a large volume
// at a high price exceeds int32).
int64_t TradedValue(int32_t volume, int32_t close);

// "%d万円" below 10,000 (100 million yen), otherwise "%d億%d万円" with the remainder without
// leading zeros: 500万円, 12億3000万円, 1億5万円. UTF-8.
std::string TradedValueText(int64_t tenThousandYen);

// The parts for the cursor at client x: 0 " %4d/%2d/%2d", 1 the weekday name, 2 "始:%d" open,
// 3 "高:%d" high, 4 "安:%d" low, 5 "終:%d" close, 6 "出:%d" volume, 7 the traded value. The bar is
// first + (x / pitch - 1); nothing when that position is not a bar of the window (the pane then
// leaves the status bar as it was) or the series has no data. UTF-8.
std::optional<std::array<std::string, 8>> TechnicalReadout(const PriceSeries& series, const ChartWindow& w,
                                                           int x);

}  // namespace sorano
