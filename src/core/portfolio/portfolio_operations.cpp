#include "core/portfolio/portfolio_operations.h"

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>

#include "core/fs/file_io.h"
#include "core/portfolio/portfolio_files.h"

namespace sorano {
namespace {

constexpr std::string_view kCaptionError = "エラー";
constexpr int32_t kHighestCode = 9999;

PortfolioStatus Refuse(Prompt& prompt, std::string_view text, PortfolioStatus status,
                       std::string_view caption = kCaptionError) {
  prompt.Message(text, caption);
  return status;
}

PortfolioStatus CheckValues(int32_t code, std::initializer_list<int32_t> amounts, Prompt& prompt) {
  if (code < 1 || code > kHighestCode) return Refuse(prompt, kMsgBadPortfolioCode, PortfolioStatus::BadValue);
  for (int32_t v : amounts)
    if (v < 0) return Refuse(prompt, kMsgNegativeValue, PortfolioStatus::BadValue);
  return PortfolioStatus::Done;
}

// Sets one slot and saves; on a failed save the slot gets its old record back.
template <typename Record>
PortfolioStatus Store(const DataFolder& folder, SlotTable<Record>& table, int slot, const Record& r,
                      Prompt& prompt) {
  const Record old = table.slots[slot];
  table.slots[slot] = r;
  if constexpr (std::is_same_v<Record, Holding>) {
    if (SaveHoldings(folder, table)) return PortfolioStatus::Done;
  } else {
    if (SaveHistory(folder, table)) return PortfolioStatus::Done;
  }
  table.slots[slot] = old;
  return Refuse(prompt, std::is_same_v<Record, Holding> ? kMsgHoldingsNotWritten : kMsgHistoryNotWritten,
                PortfolioStatus::NotWritten);
}

}  // namespace

int64_t DateKey(int32_t year, int32_t month, int32_t day) {
  return int64_t{year} * 10000 + int64_t{month} * 100 + day;
}

PortfolioStatus CheckHolding(const Holding& h, Prompt& prompt) {
  return CheckValues(h.code, {h.quantity, h.buyPrice}, prompt);
}

PortfolioStatus CheckTrade(const TradeRecord& t, Prompt& prompt) {
  return CheckValues(t.code, {t.buyQuantity, t.buyPrice, t.sellQuantity, t.sellPrice}, prompt);
}

PortfolioStatus BuyHolding(const DataFolder& folder, HoldingTable& table, const Holding& h, Prompt& prompt,
                           int* slot) {
  if (const PortfolioStatus s = CheckHolding(h, prompt); s != PortfolioStatus::Done) return s;
  const int free = table.FirstFree();
  if (free < 0) return Refuse(prompt, kMsgTableFull, PortfolioStatus::TableFull);
  const PortfolioStatus status = Store(folder, table, free, h, prompt);
  if (slot && status == PortfolioStatus::Done) *slot = free;
  return status;
}

PortfolioStatus EditHolding(const DataFolder& folder, HoldingTable& table, int slot, const Holding& h,
                            Prompt& prompt) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  if (const PortfolioStatus s = CheckHolding(h, prompt); s != PortfolioStatus::Done) return s;
  return Store(folder, table, slot, h, prompt);
}

PortfolioStatus SellHolding(const DataFolder& folder, HoldingTable& table, int slot, const Sale& sale,
                            Prompt& prompt) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  const Holding h = table.slots[slot];
  if (DateKey(h.buyYear, h.buyMonth, h.buyDay) > DateKey(sale.year, sale.month, sale.day))
    return Refuse(prompt, kMsgBadDate, PortfolioStatus::BadDate, "Error");
  // A sale of no shares or of a negative number would record a trade that never happened (and a
  // negative one would grow the holding), so both count as a wrong quantity.
  if (sale.quantity > h.quantity || sale.quantity < 1)
    return Refuse(prompt, kMsgBadQuantity, PortfolioStatus::BadQuantity, "Error");
  if (sale.price < 0) return Refuse(prompt, kMsgNegativeValue, PortfolioStatus::BadValue);

  TradeRecord trade{h.code,     h.buyYear, h.buyMonth,    h.buyDay,   h.quantity, h.buyPrice,  sale.year,
                    sale.month, sale.day,  sale.quantity, sale.price, sale.fee,   sale.taxRate};
  std::string historyPath = HistoryPath(folder);
  std::optional<std::string> historyBefore;
  if (FileExists(historyPath, 0) == 1) historyBefore = ReadWholeFile(historyPath);
  if (!AppendTrade(folder, trade)) return Refuse(prompt, kMsgHistoryNotWritten, PortfolioStatus::NotWritten);

  Holding rest = h;
  if (sale.quantity == h.quantity) {
    rest = Holding{};
  } else {
    rest.quantity = h.quantity - sale.quantity;  // 1 <= sale.quantity < h.quantity: no overflow
  }
  if (Store(folder, table, slot, rest, prompt) == PortfolioStatus::Done) return PortfolioStatus::Done;

  // The shares are still in the holdings file, so the trade must not stay in the history.
  if (historyBefore) {
    WriteFileAtomic(historyPath, *historyBefore);
  } else {
    std::remove(historyPath.c_str());
  }
  return PortfolioStatus::NotWritten;
}

PortfolioStatus DeleteHolding(const DataFolder& folder, HoldingTable& table, int slot, Prompt& prompt) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  return Store(folder, table, slot, Holding{}, prompt);
}

PortfolioStatus EditTrade(const DataFolder& folder, TradeTable& table, int slot, const TradeRecord& t,
                          Prompt& prompt) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  if (const PortfolioStatus s = CheckTrade(t, prompt); s != PortfolioStatus::Done) return s;
  return Store(folder, table, slot, t, prompt);
}

PortfolioStatus DeleteTrade(const DataFolder& folder, TradeTable& table, int slot, Prompt& prompt) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  return Store(folder, table, slot, TradeRecord{}, prompt);
}

}  // namespace sorano
