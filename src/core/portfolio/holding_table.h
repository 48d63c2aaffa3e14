#pragma once
// One holding of the account: a line "code,buyYear,buyMonth,buyDay,quantity,buyPrice" of
// data/myproperty.dat.
#include <array>
#include <cstdint>

#include "core/portfolio/slot_table.h"

namespace sorano {

struct Holding {
  static constexpr size_t kFieldCount = 6;

  int32_t code = 0;  // BrandCode; 0 marks a free slot
  int32_t buyYear = 0;
  int32_t buyMonth = 0;
  int32_t buyDay = 0;
  int32_t quantity = 0;  // shares held
  int32_t buyPrice = 0;  // unit purchase price, yen

  // The fields in file order.
  std::array<int32_t, kFieldCount> Fields() const {
    return {code, buyYear, buyMonth, buyDay, quantity, buyPrice};
  }
  static Holding FromFields(const std::array<int32_t, kFieldCount>& f) {
    return {f[0], f[1], f[2], f[3], f[4], f[5]};
  }
  bool operator==(const Holding&) const = default;
};

using HoldingTable = SlotTable<Holding>;

}  // namespace sorano
