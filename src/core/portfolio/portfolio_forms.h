#pragma once
// The boxes of the portfolio dialogs as text: what a dialog shows when it opens and how its boxes turn
// into records. The dialogs only move these strings in and out of their edit controls.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/portfolio/brand_quote.h"
#include "core/portfolio/holding_table.h"
#include "core/portfolio/portfolio_operations.h"
#include "core/portfolio/trade_table.h"

namespace sorano {

struct LocalDate {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
};

// Today's date in local time.
LocalDate TodayLocal();

// A box's value: its first 63 characters converted as a leading decimal integer (none: 0; beyond
// int32: saturated).
int32_t BoxValue(std::string_view text);

// "口座買付" and "口座編集": code, date (year, month, day), unit price, quantity.
struct HoldingBoxes {
  std::string code, year, month, day, price, quantity;
};
// Buy: today's date, every other box empty.
HoldingBoxes NewHoldingBoxes(LocalDate today);
HoldingBoxes HoldingBoxesOf(const Holding& h);
Holding HoldingFromBoxes(const HoldingBoxes& boxes);

// "口座売付": code (shown, not editable), date, unit price, quantity, fee, tax rate.
struct SellBoxes {
  std::string code, year, month, day, price, quantity, fee, taxRate;
};
// The holding's code, today's date, the brand's current price and its unit shares; fee and tax empty.
SellBoxes NewSellBoxes(const Holding& h, const BrandQuote& brand, LocalDate today);
// The code box is not part of the sale: a sale always belongs to the selected holding.
Sale SaleFromBoxes(const SellBoxes& boxes);

// "履歴編集": all thirteen fields of a trade.
struct TradeBoxes {
  std::string code, buyYear, buyMonth, buyDay, buyPrice, buyQuantity, sellYear, sellMonth, sellDay, sellPrice,
      sellQuantity, fee, taxRate;
};
TradeBoxes TradeBoxesOf(const TradeRecord& t);
TradeRecord TradeFromBoxes(const TradeBoxes& boxes);

// The layout of a dialog, top to bottom: a label and its box per line. A date line has three boxes,
// year, month and day, each followed by "年", "月" or "日".
template <typename Boxes>
struct FormLine {
  std::string_view label;
  std::string Boxes::*box;  // the only box, or the year of a date
  std::string Boxes::*month = nullptr;
  std::string Boxes::*day = nullptr;
  bool readOnly = false;  // shown, not editable
};
template <typename Boxes>
struct Form {
  std::string_view title;
  std::span<const FormLine<Boxes>> lines;
};
const Form<HoldingBoxes>& BuyForm();          // "口座買付"
const Form<HoldingBoxes>& HoldingEditForm();  // "口座編集"
const Form<SellBoxes>& SellForm();            // "口座売付"
const Form<TradeBoxes>& TradeEditForm();      // "履歴編集"

}  // namespace sorano
