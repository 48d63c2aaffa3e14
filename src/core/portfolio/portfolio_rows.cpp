#include "core/portfolio/portfolio_rows.h"

#include <charconv>
#include <cstdio>

#include "core/text/sjis.h"

namespace sorano {
namespace {

std::string DateText(int32_t year, int32_t month, int32_t day) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%d/%02d/%02d", year, month, day);
  return buf;
}

// "%0.2f%%" of diff / base * 100. A zero base has no rate; it shows 0.00% rather than inf or nan.
std::string RateText(int64_t diff, int32_t base) {
  double rate = base == 0 ? 0.0 : static_cast<double>(diff) / base * 100.0;
  char buf[400];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, rate, std::chars_format::fixed, 2);
  if (ec != std::errc()) return "0.00%";
  return std::string(buf, end) + "%";
}

std::string Yen(int64_t v) {
  return std::to_string(v) + "円";
}

}  // namespace

int RowIconOf(int64_t gain) {
  if (gain > 0) return kRowRising;
  if (gain == 0) return kRowUnchanged;
  return kRowFalling;
}

int64_t UnrealisedGain(const Holding& h, int32_t price) {
  // |price - buyPrice| < 2^32 and |quantity| <= 2^31, so the product stays inside int64.
  return (int64_t{price} - h.buyPrice) * h.quantity;
}

TradeAmounts AmountsOf(const TradeRecord& t) {
  TradeAmounts a;
  // The cost of the shares sold, not of the whole holding (buyQuantity): a partial sale at a gain
  // shows a profit, in step with its tax and row state.
  a.purchase = int64_t{t.buyPrice} * t.sellQuantity;
  a.sale = int64_t{t.sellPrice} * t.sellQuantity;
  // Each product lies within (-2^62, 2^62], so the difference fits int64.
  a.profit = a.sale - a.purchase;
  a.gain = (int64_t{t.sellPrice} - t.buyPrice) * t.sellQuantity;
  // gain * taxRate can reach 2^94.
  a.tax = static_cast<__int128>(a.gain) * t.taxRate / 100;
  return a;
}

AccountRow MakeAccountRow(const Holding& h, const BrandQuote& brand) {
  int64_t gain = UnrealisedGain(h, brand.price);
  AccountRow row;
  row.cells = {std::to_string(h.code),
               SjisToUtf8(brand.name),
               DateText(h.buyYear, h.buyMonth, h.buyDay),
               std::to_string(h.quantity),
               std::to_string(h.buyPrice),
               std::to_string(brand.price),
               std::to_string(gain),
               RateText(int64_t{brand.price} - h.buyPrice, h.buyPrice)};
  row.icon = RowIconOf(gain);
  return row;
}

HistoryRow MakeHistoryRow(const TradeRecord& t, const BrandQuote& brand) {
  TradeAmounts a = AmountsOf(t);
  HistoryRow row;
  row.cells = {std::to_string(t.code),
               SjisToUtf8(brand.name),
               DateText(t.buyYear, t.buyMonth, t.buyDay),
               DateText(t.sellYear, t.sellMonth, t.sellDay),
               Yen(a.purchase),
               Yen(a.sale),
               Yen(a.profit),
               RateText(int64_t{t.sellPrice} - t.buyPrice, t.buyPrice),
               Yen(t.fee),
               WideText(a.tax) + "円"};
  row.icon = RowIconOf(a.gain);
  return row;
}

std::string WideText(__int128 v) {
  bool negative = v < 0;
  // Digits of the magnitude, taken from a negative value so that the most negative one works too.
  char buf[48];
  char* p = buf + sizeof buf;
  do {
    int digit = static_cast<int>(v % 10);
    *--p = static_cast<char>('0' + (digit < 0 ? -digit : digit));
    v /= 10;
  } while (v != 0);
  if (negative) *--p = '-';
  return std::string(p, buf + sizeof buf);
}

}  // namespace sorano
