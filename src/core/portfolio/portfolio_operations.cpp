#include "core/portfolio/portfolio_operations.h"

#include <cstdio>
#include <optional>
#include <string>

#include "core/fs/file_io.h"
#include "core/portfolio/portfolio_files.h"

namespace sorano {
namespace {

// Sets one slot and saves; on a failed save the slot gets its old record back.
PortfolioStatus StoreHolding(const DataFolder& folder, HoldingTable& table, int slot, const Holding& h) {
  Holding old = table.slots[slot];
  table.slots[slot] = h;
  if (SaveHoldings(folder, table)) return PortfolioStatus::Done;
  table.slots[slot] = old;
  return PortfolioStatus::NotWritten;
}

PortfolioStatus StoreTrade(const DataFolder& folder, TradeTable& table, int slot, const TradeRecord& t) {
  TradeRecord old = table.slots[slot];
  table.slots[slot] = t;
  if (SaveHistory(folder, table)) return PortfolioStatus::Done;
  table.slots[slot] = old;
  return PortfolioStatus::NotWritten;
}

}  // namespace

int64_t DateKey(int32_t year, int32_t month, int32_t day) {
  return int64_t{year} * 10000 + int64_t{month} * 100 + day;
}

PortfolioStatus BuyHolding(const DataFolder& folder, HoldingTable& table, const Holding& h, Prompt& prompt,
                           int* slot) {
  int free = table.FirstFree();
  if (free < 0) {
    prompt.Message("口座の登録数が上限に達しました。", "エラー");
    return PortfolioStatus::TableFull;
  }
  PortfolioStatus status = StoreHolding(folder, table, free, h);
  if (slot && status == PortfolioStatus::Done) *slot = free;
  return status;
}

PortfolioStatus EditHolding(const DataFolder& folder, HoldingTable& table, int slot, const Holding& h) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  return StoreHolding(folder, table, slot, h);
}

PortfolioStatus SellHolding(const DataFolder& folder, HoldingTable& table, int slot, const Sale& sale,
                            Prompt& prompt) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  const Holding h = table.slots[slot];
  if (DateKey(h.buyYear, h.buyMonth, h.buyDay) > DateKey(sale.year, sale.month, sale.day)) {
    prompt.Message("日付に誤りがあります。", "Error");
    return PortfolioStatus::BadDate;
  }
  // A sale of no shares or of a negative number would record a trade that never happened (and a
  // negative one would grow the holding), so both count as a wrong quantity.
  if (sale.quantity > h.quantity || sale.quantity < 1) {
    prompt.Message("売却数量に誤りがあります。", "Error");
    return PortfolioStatus::BadQuantity;
  }

  TradeRecord trade{h.code,     h.buyYear, h.buyMonth,    h.buyDay,   h.quantity, h.buyPrice,  sale.year,
                    sale.month, sale.day,  sale.quantity, sale.price, sale.fee,   sale.taxRate};
  std::string historyPath = HistoryPath(folder);
  std::optional<std::string> historyBefore;
  if (FileExists(historyPath, 0) == 1) historyBefore = ReadWholeFile(historyPath);
  if (!AppendTrade(folder, trade)) return PortfolioStatus::NotWritten;

  Holding rest = h;
  if (sale.quantity == h.quantity) {
    rest = Holding{};
  } else {
    rest.quantity = h.quantity - sale.quantity;  // 1 <= sale.quantity < h.quantity: no overflow
  }
  if (StoreHolding(folder, table, slot, rest) == PortfolioStatus::Done) return PortfolioStatus::Done;

  // The shares are still in the holdings file, so the trade must not stay in the history.
  if (historyBefore) {
    WriteFileAtomic(historyPath, *historyBefore);
  } else {
    std::remove(historyPath.c_str());
  }
  return PortfolioStatus::NotWritten;
}

PortfolioStatus DeleteHolding(const DataFolder& folder, HoldingTable& table, int slot) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  return StoreHolding(folder, table, slot, Holding{});
}

PortfolioStatus EditTrade(const DataFolder& folder, TradeTable& table, int slot, const TradeRecord& t) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  return StoreTrade(folder, table, slot, t);
}

PortfolioStatus DeleteTrade(const DataFolder& folder, TradeTable& table, int slot) {
  if (!table.InUse(slot)) return PortfolioStatus::NoSuchSlot;
  return StoreTrade(folder, table, slot, TradeRecord{});
}

}  // namespace sorano
