#pragma once
// Buy, edit, sell and delete on the holding and trade tables. Each operation saves the file it changed
// right away; when that write fails the user is told and the table is put back as it was, so memory
// and file never differ.
#include <cstdint>
#include <string_view>

#include "core/portfolio/holding_table.h"
#include "core/portfolio/trade_table.h"
#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"

namespace sorano {

// Messages (UTF-8).
inline constexpr std::string_view kMsgTableFull = "口座の登録数が上限に達しました。";
inline constexpr std::string_view kMsgBadDate = "日付に誤りがあります。";
inline constexpr std::string_view kMsgBadQuantity = "売却数量に誤りがあります。";
inline constexpr std::string_view kMsgBadPortfolioCode = "コードは1から9999までの数字で入力してください。";
inline constexpr std::string_view kMsgNegativeValue = "数量と単価は0以上の数字で入力してください。";
inline constexpr std::string_view kMsgHoldingsNotWritten =
    "口座のファイルに書き込めませんでした。\r\n口座は変更されていません。";
inline constexpr std::string_view kMsgHistoryNotWritten =
    "取引履歴のファイルに書き込めませんでした。\r\n取引履歴は変更されていません。";

enum class PortfolioStatus {
  Done,
  TableFull,    // all 999 holding slots in use; kMsgTableFull shown
  NoSuchSlot,   // the slot index is outside the table or the slot is free
  BadDate,      // sale dated before the purchase; kMsgBadDate shown (caption "Error")
  BadQuantity,  // sale of more shares than held, or of none; kMsgBadQuantity shown (caption "Error")
  BadValue,     // a code outside 1..9999 or a quantity or price below 0; kMsgBadPortfolioCode or
                // kMsgNegativeValue shown
  NotWritten,   // a file could not be written (kMsgHoldingsNotWritten or kMsgHistoryNotWritten shown);
                // tables and files are as they were
  Stale,        // the file had changed and no longer holds the chosen record, or cannot be read;
                // nothing done (portfolio_book.h)
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

// A record as the buy and edit dialogs may store it: a code of 1..9999 (0 would free the slot) and no
// quantity or price below 0. Otherwise the reason is shown and BadValue returned.
PortfolioStatus CheckHolding(const Holding& h, Prompt& prompt);
PortfolioStatus CheckTrade(const TradeRecord& t, Prompt& prompt);

// Puts h into the first free slot and saves the holdings; *slot (when given) receives the slot used.
PortfolioStatus BuyHolding(const DataFolder& folder, HoldingTable& table, const Holding& h, Prompt& prompt,
                           int* slot = nullptr);

// Replaces all six fields of a holding in use (the code too) and saves the holdings.
PortfolioStatus EditHolding(const DataFolder& folder, HoldingTable& table, int slot, const Holding& h,
                            Prompt& prompt);

// Sells from a holding in use. Checks, in this order, that the sale is not dated before the purchase,
// that 1 <= quantity <= the holding's quantity (messages captioned "Error") and that the price is not
// below 0. Then appends the trade (the holding's code, purchase date, whole quantity before the sale
// and purchase price, followed by the sale) to the history file, frees the slot when every share was
// sold or reduces the quantity, and saves the holdings. When the holdings cannot be saved the history
// file is put back as well.
PortfolioStatus SellHolding(const DataFolder& folder, HoldingTable& table, int slot, const Sale& sale,
                            Prompt& prompt);

// Frees a holding in use (all fields 0) and saves the holdings.
PortfolioStatus DeleteHolding(const DataFolder& folder, HoldingTable& table, int slot, Prompt& prompt);

// Replaces all thirteen fields of a trade in use and saves the history.
PortfolioStatus EditTrade(const DataFolder& folder, TradeTable& table, int slot, const TradeRecord& t,
                          Prompt& prompt);

// Frees a trade in use (all fields 0) and saves the history.
PortfolioStatus DeleteTrade(const DataFolder& folder, TradeTable& table, int slot, Prompt& prompt);

}  // namespace sorano
