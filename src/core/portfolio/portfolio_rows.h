#pragma once
// The cells of the account list and the history list, and their row icons, computed from a table slot
// and the brand's current quote. Cells are UTF-8, ready for the list view.
//
// Amounts (price x quantity, the gains and the tax) are computed wider than the 32-bit fields they come
// from, so that large holdings show their exact value instead of a wrapped one.
#include <array>
#include <cstdint>
#include <string>

#include "core/portfolio/brand_quote.h"
#include "core/portfolio/holding_table.h"
#include "core/portfolio/trade_table.h"

namespace sorano {

// Image indexes of the row-state images: rising, unchanged, falling.
inline constexpr int kRowRising = 0;
inline constexpr int kRowUnchanged = 1;
inline constexpr int kRowFalling = 2;

// kRowRising above zero, kRowUnchanged at zero, kRowFalling below.
int RowIconOf(int64_t gain);

// (price - buyPrice) * quantity.
int64_t UnrealisedGain(const Holding& h, int32_t price);

struct TradeAmounts {
  int64_t purchase = 0;  // buyPrice * sellQuantity: what the shares sold cost
  int64_t sale = 0;      // sellPrice * sellQuantity
  int64_t profit = 0;    // sale - purchase
  int64_t gain = 0;      // (sellPrice - buyPrice) * sellQuantity: the row state
  __int128 tax = 0;      // gain * taxRate / 100, truncated toward zero
};
TradeAmounts AmountsOf(const TradeRecord& t);

// Account list: code, name, "%d/%02d/%02d" buy date, quantity, unit price, current price, unrealised
// gain, gain rate "%0.2f%%".
struct AccountRow {
  std::array<std::string, 8> cells;
  int icon = kRowUnchanged;
};
AccountRow MakeAccountRow(const Holding& h, const BrandQuote& brand);

// History list: code, name, buy date, sell date, purchase amount, sale amount, profit, yield, fee, tax;
// amounts end in "円".
struct HistoryRow {
  std::array<std::string, 10> cells;
  int icon = kRowUnchanged;
};
HistoryRow MakeHistoryRow(const TradeRecord& t, const BrandQuote& brand);

// Exact decimal text of a 128-bit integer.
std::string WideText(__int128 v);

}  // namespace sorano
