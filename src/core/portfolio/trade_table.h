#pragma once
// One closed trade of the history: a line of thirteen integers of data/myhistory.dat, the holding as it
// stood before the sale followed by the sale.
#include <array>
#include <cstdint>

#include "core/portfolio/slot_table.h"

namespace sorano {

struct TradeRecord {
  static constexpr size_t kFieldCount = 13;

  int32_t code = 0;  // BrandCode; 0 marks a free slot
  int32_t buyYear = 0;
  int32_t buyMonth = 0;
  int32_t buyDay = 0;
  int32_t buyQuantity = 0;  // the holding's whole quantity before this sale
  int32_t buyPrice = 0;     // unit purchase price, yen
  int32_t sellYear = 0;
  int32_t sellMonth = 0;
  int32_t sellDay = 0;
  int32_t sellQuantity = 0;  // shares sold
  int32_t sellPrice = 0;     // unit sale price, yen
  int32_t fee = 0;           // yen
  int32_t taxRate = 0;       // percent; the tax itself is computed for the history list

  std::array<int32_t, kFieldCount> Fields() const {
    return {code,      buyYear, buyMonth,     buyDay,    buyQuantity, buyPrice, sellYear,
            sellMonth, sellDay, sellQuantity, sellPrice, fee,         taxRate};
  }
  static TradeRecord FromFields(const std::array<int32_t, kFieldCount>& f) {
    return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12]};
  }
  bool operator==(const TradeRecord&) const = default;
};

using TradeTable = SlotTable<TradeRecord>;

}  // namespace sorano
