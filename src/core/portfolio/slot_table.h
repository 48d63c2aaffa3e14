#pragma once
// The fixed table behind the holdings and the trade history: 999 record slots, a slot in use when its
// code is not 0, plus the file lines that did not fit.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace sorano {

inline constexpr int kPortfolioSlots = 999;

template <typename Record>
struct SlotTable {
  std::array<Record, kPortfolioSlots> slots{};
  // The bytes of the file after its 999th line, kept verbatim and written back after the slots, so a
  // hand-edited file longer than the table loses nothing when the table is saved.
  std::string overflow;

  void Clear() {
    slots.fill(Record{});
    overflow.clear();
  }
  bool InUse(int slot) const { return slot >= 0 && slot < kPortfolioSlots && slots[slot].code != 0; }
  // The first slot whose code is 0, or -1 when all are in use.
  int FirstFree() const {
    for (int i = 0; i < kPortfolioSlots; ++i)
      if (slots[i].code == 0) return i;
    return -1;
  }
  // Slot indexes in use, in slot order: the rows of the account or history list.
  std::vector<int> SlotsInUse() const {
    std::vector<int> used;
    for (int i = 0; i < kPortfolioSlots; ++i)
      if (slots[i].code != 0) used.push_back(i);
    return used;
  }
};

}  // namespace sorano
