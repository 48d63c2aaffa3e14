#pragma once
// Buy, edit, sell and delete on the holding and trade tables. Each operation saves the file it changed
// right away; when that write fails the table is put back as it was, so memory and file never differ.
#include <cstdint>

#include "core/prompt/prompt.h"
#include "core/portfolio/holding_table.h"
#include "core/portfolio/trade_table.h"
#include "core/settings/data_folder.h"

namespace sorano {

enum class PortfolioStatus {
  Done,
  TableFull,   // all 999 holding slots in use; "口座の登録数が上限に達しました。" shown
  NoSuchSlot,  // the slot index is outside the table or the slot is free
  BadDate,  // sale dated before the purchase; "日付に誤りがあります。" shown, the dialog stays open
  BadQuantity,  // sale of more shares than held, or of none; "売却数量に誤りがあります。" shown
  NotWritten,   // a file could not be written; tables and files are as they were
};

// What the sell dialog hands over: the sale date and the boxes of the sale.
struct Sale {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  int32_t quantity = 0;  // shares sold
  int32_t price = 0;     // unit sale price, yen
  int32_t fee = 0;       // yen
  int32_t taxRate = 0;   // percent

  bool operator==(const Sale&) const = default;
};

// year * 10000 + month * 100 + day, in 64 bits so that no typed year can overflow it.
int64_t DateKey(int32_t year, int32_t month, int32_t day);

// Puts h into the first free slot and saves the holdings; *slot (when given) receives the slot used.
// The values are not checked (a code of 0 leaves the slot free).
PortfolioStatus BuyHolding(const DataFolder& folder, HoldingTable& table, const Holding& h, Prompt& prompt,
                           int* slot = nullptr);

// Replaces all six fields of a holding in use (the code too) and saves the holdings.
PortfolioStatus EditHolding(const DataFolder& folder, HoldingTable& table, int slot, const Holding& h);

// Sells from a holding in use. Checks, in this order, that the sale is not dated before the purchase
// and that 1 <= quantity <= the holding's quantity (messages captioned "Error"). Then appends the trade
// (the holding's code, purchase date, whole quantity before the sale and purchase price, followed by
// the sale) to the history file, frees the slot when every share was sold or reduces the quantity, and
// saves the holdings. When the holdings cannot be saved the history file is put back as well.
PortfolioStatus SellHolding(const DataFolder& folder, HoldingTable& table, int slot, const Sale& sale,
                            Prompt& prompt);

// Frees a holding in use (all fields 0) and saves the holdings.
PortfolioStatus DeleteHolding(const DataFolder& folder, HoldingTable& table, int slot);

// Replaces all thirteen fields of a trade in use and saves the history.
PortfolioStatus EditTrade(const DataFolder& folder, TradeTable& table, int slot, const TradeRecord& t);

// Frees a trade in use (all fields 0) and saves the history.
PortfolioStatus DeleteTrade(const DataFolder& folder, TradeTable& table, int slot);

}  // namespace sorano
