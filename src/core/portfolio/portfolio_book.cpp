#include "core/portfolio/portfolio_book.h"

#include <type_traits>

#include "core/portfolio/portfolio_files.h"

namespace sorano {
namespace {

template <typename Record>
std::string PathOf(const DataFolder& folder) {
  if constexpr (std::is_same_v<Record, Holding>)
    return HoldingsPath(folder);
  else
    return HistoryPath(folder);
}

}  // namespace

template <typename Record>
int PortfolioBook::Load(Side<Record>& side, const DataFolder& folder, Prompt& prompt) {
  // The stamp before the reading: a change made while it reads shows as a change next time.
  side.stamp = StampOf(PathOf<Record>(folder));
  int read = 0;
  if constexpr (std::is_same_v<Record, Holding>)
    read = sorano::LoadHoldings(folder, side.table, prompt);
  else
    read = sorano::LoadHistory(folder, side.table, prompt);
  side.read = read >= 0;
  return read;
}

template <typename Record>
bool PortfolioBook::Fresh(Side<Record>& side, const DataFolder& folder, Prompt& prompt) {
  if (!side.read || StampOf(PathOf<Record>(folder)) != side.stamp) Load(side, folder, prompt);
  return side.read;
}

template <typename Record>
std::optional<int> PortfolioBook::Find(Side<Record>& side, const DataFolder& folder, Prompt& prompt, int slot,
                                       const Record& shown) {
  if (!Fresh(side, folder, prompt)) return std::nullopt;
  const SlotTable<Record>& t = side.table;
  if (t.InUse(slot) && t.slots[static_cast<size_t>(slot)] == shown) return slot;
  for (int i = 0; i < kPortfolioSlots; ++i)
    if (t.InUse(i) && t.slots[static_cast<size_t>(i)] == shown) return i;
  prompt.Message(kMsgRecordChanged, "お知らせ", PromptIcon::Information);
  return std::nullopt;
}

template <typename Record>
PortfolioStatus PortfolioBook::Written(Side<Record>& side, const DataFolder& folder, PortfolioStatus status) {
  if (status == PortfolioStatus::Done) side.stamp = StampOf(PathOf<Record>(folder));
  return status;
}

int PortfolioBook::LoadHoldings(const DataFolder& folder, Prompt& prompt) {
  return Load(holdings_, folder, prompt);
}

int PortfolioBook::LoadHistory(const DataFolder& folder, Prompt& prompt) {
  return Load(trades_, folder, prompt);
}

std::optional<int> PortfolioBook::FindHolding(const DataFolder& folder, Prompt& prompt, int slot,
                                              const Holding& shown) {
  return Find(holdings_, folder, prompt, slot, shown);
}

std::optional<int> PortfolioBook::FindTrade(const DataFolder& folder, Prompt& prompt, int slot,
                                            const TradeRecord& shown) {
  return Find(trades_, folder, prompt, slot, shown);
}

PortfolioStatus PortfolioBook::Buy(const DataFolder& folder, Prompt& prompt, const Holding& h) {
  if (!Fresh(holdings_, folder, prompt)) return PortfolioStatus::Stale;
  return Written(holdings_, folder, BuyHolding(folder, holdings_.table, h, prompt));
}

PortfolioStatus PortfolioBook::EditHolding(const DataFolder& folder, Prompt& prompt, int slot,
                                           const Holding& shown, const Holding& h) {
  const std::optional<int> at = FindHolding(folder, prompt, slot, shown);
  if (!at) return PortfolioStatus::Stale;
  return Written(holdings_, folder, sorano::EditHolding(folder, holdings_.table, *at, h, prompt));
}

PortfolioStatus PortfolioBook::Sell(const DataFolder& folder, Prompt& prompt, int slot, const Holding& shown,
                                    const Sale& sale) {
  const std::optional<int> at = FindHolding(folder, prompt, slot, shown);
  if (!at) return PortfolioStatus::Stale;
  // The history file gets a line the trade table has not read: its stamp stays, so the next history
  // operation reads the file first.
  return Written(holdings_, folder, SellHolding(folder, holdings_.table, *at, sale, prompt));
}

PortfolioStatus PortfolioBook::DeleteHolding(const DataFolder& folder, Prompt& prompt, int slot,
                                             const Holding& shown) {
  const std::optional<int> at = FindHolding(folder, prompt, slot, shown);
  if (!at) return PortfolioStatus::Stale;
  return Written(holdings_, folder, sorano::DeleteHolding(folder, holdings_.table, *at, prompt));
}

PortfolioStatus PortfolioBook::EditTrade(const DataFolder& folder, Prompt& prompt, int slot,
                                         const TradeRecord& shown, const TradeRecord& t) {
  const std::optional<int> at = FindTrade(folder, prompt, slot, shown);
  if (!at) return PortfolioStatus::Stale;
  return Written(trades_, folder, sorano::EditTrade(folder, trades_.table, *at, t, prompt));
}

PortfolioStatus PortfolioBook::DeleteTrade(const DataFolder& folder, Prompt& prompt, int slot,
                                           const TradeRecord& shown) {
  const std::optional<int> at = FindTrade(folder, prompt, slot, shown);
  if (!at) return PortfolioStatus::Stale;
  return Written(trades_, folder, sorano::DeleteTrade(folder, trades_.table, *at, prompt));
}

}  // namespace sorano
