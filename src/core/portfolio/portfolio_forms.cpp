#include "core/portfolio/portfolio_forms.h"

#include <ctime>

#include "core/text/numbers.h"

namespace sorano {
namespace {

std::string Text(int32_t v) {
  return std::to_string(v);
}

using H = HoldingBoxes;
constexpr FormLine<H> kHoldingLines[] = {
    {"買付銘柄コード", &H::code},
    {"買付日付 (例：2003 10 10)", &H::year, &H::month, &H::day},
    {"買付単価", &H::price},
    {"買付数量", &H::quantity},
};
constexpr Form<H> kBuyForm{"口座買付", kHoldingLines};
constexpr Form<H> kHoldingEditForm{"口座編集", kHoldingLines};

using S = SellBoxes;
constexpr FormLine<S> kSellLines[] = {
    {"売付銘柄コード", &S::code, nullptr, nullptr, true},
    {"売付日付 (例：2003 10 10)", &S::year, &S::month, &S::day},
    {"売付単価", &S::price},
    {"売付数量", &S::quantity},
    {"手数料", &S::fee},
    {"税金", &S::taxRate},
};
constexpr Form<S> kSellForm{"口座売付", kSellLines};

using T = TradeBoxes;
constexpr FormLine<T> kTradeLines[] = {
    {"銘柄コード", &T::code},
    {"買付日付", &T::buyYear, &T::buyMonth, &T::buyDay},
    {"買付単価", &T::buyPrice},
    {"買付数量", &T::buyQuantity},
    {"売付日付", &T::sellYear, &T::sellMonth, &T::sellDay},
    {"売付単価", &T::sellPrice},
    {"売付数量", &T::sellQuantity},
    {"手数料", &T::fee},
    {"税金", &T::taxRate},
};
constexpr Form<T> kTradeEditForm{"履歴編集", kTradeLines};

}  // namespace

const Form<HoldingBoxes>& BuyForm() {
  return kBuyForm;
}
const Form<HoldingBoxes>& HoldingEditForm() {
  return kHoldingEditForm;
}
const Form<SellBoxes>& SellForm() {
  return kSellForm;
}
const Form<TradeBoxes>& TradeEditForm() {
  return kTradeEditForm;
}

LocalDate TodayLocal() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (!localtime_r(&now, &tm)) return {};
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

int32_t BoxValue(std::string_view text) {
  // The dialogs read at most 63 characters of a box.
  return LeadingInt(text.substr(0, 63));
}

HoldingBoxes NewHoldingBoxes(LocalDate today) {
  HoldingBoxes b;
  b.year = Text(today.year);
  b.month = Text(today.month);
  b.day = Text(today.day);
  return b;
}

HoldingBoxes HoldingBoxesOf(const Holding& h) {
  return {Text(h.code),   Text(h.buyYear),  Text(h.buyMonth),
          Text(h.buyDay), Text(h.buyPrice), Text(h.quantity)};
}

Holding HoldingFromBoxes(const HoldingBoxes& b) {
  return {BoxValue(b.code), BoxValue(b.year),     BoxValue(b.month),
          BoxValue(b.day),  BoxValue(b.quantity), BoxValue(b.price)};
}

SellBoxes NewSellBoxes(const Holding& h, const BrandQuote& brand, LocalDate today) {
  SellBoxes b;
  b.code = Text(h.code);
  b.year = Text(today.year);
  b.month = Text(today.month);
  b.day = Text(today.day);
  b.price = Text(brand.price);
  b.quantity = Text(brand.unitShares);
  return b;
}

Sale SaleFromBoxes(const SellBoxes& b) {
  return {BoxValue(b.year),  BoxValue(b.month), BoxValue(b.day),    BoxValue(b.quantity),
          BoxValue(b.price), BoxValue(b.fee),   BoxValue(b.taxRate)};
}

TradeBoxes TradeBoxesOf(const TradeRecord& t) {
  return {Text(t.code),         Text(t.buyYear),  Text(t.buyMonth),  Text(t.buyDay),  Text(t.buyPrice),
          Text(t.buyQuantity),  Text(t.sellYear), Text(t.sellMonth), Text(t.sellDay), Text(t.sellPrice),
          Text(t.sellQuantity), Text(t.fee),      Text(t.taxRate)};
}

TradeRecord TradeFromBoxes(const TradeBoxes& b) {
  TradeRecord t;
  t.code = BoxValue(b.code);
  t.buyYear = BoxValue(b.buyYear);
  t.buyMonth = BoxValue(b.buyMonth);
  t.buyDay = BoxValue(b.buyDay);
  t.buyQuantity = BoxValue(b.buyQuantity);
  t.buyPrice = BoxValue(b.buyPrice);
  t.sellYear = BoxValue(b.sellYear);
  t.sellMonth = BoxValue(b.sellMonth);
  t.sellDay = BoxValue(b.sellDay);
  t.sellQuantity = BoxValue(b.sellQuantity);
  t.sellPrice = BoxValue(b.sellPrice);
  t.fee = BoxValue(b.fee);
  t.taxRate = BoxValue(b.taxRate);
  return t;
}

}  // namespace sorano
