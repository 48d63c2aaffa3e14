#pragma once
// The account and the trade history together with their files data/myproperty.dat and
// data/myhistory.dat, which the user also edits by hand (the editor commands open them).
//
// Each table remembers the stamp of its file as it last read or wrote it. Every operation first reads
// the file again when it is no longer that one (an editor saved it, a sale appended to the history),
// so a stale table is never written over the user's edit. An operation on a record the user chose in
// the list names the record as shown and its slot; after a new reading it acts on that record where
// the file now has it, and when the file no longer holds it the user is told and nothing is done.
#include <optional>
#include <string_view>

#include "core/fs/file_io.h"
#include "core/portfolio/holding_table.h"
#include "core/portfolio/portfolio_operations.h"
#include "core/portfolio/trade_table.h"
#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"

namespace sorano {

inline constexpr std::string_view kMsgRecordChanged =
    "選択した項目はほかのプログラムで変更されていたため、一覧を読み直しました。\r\n"
    "もう一度操作してください。";

class PortfolioBook {
 public:
  const HoldingTable& holdings() const { return holdings_.table; }
  const TradeTable& trades() const { return trades_.table; }

  // Empty the table and read its file (LoadHoldings, LoadHistory: a missing file is an empty table;
  // an existing one that cannot be read is reported). Returns their result.
  int LoadHoldings(const DataFolder& folder, Prompt& prompt);
  int LoadHistory(const DataFolder& folder, Prompt& prompt);

  // The slot where the table, read again when its file changed, holds the record shown at slot: slot
  // itself when it still holds it, else the first slot holding an equal record. nullopt, after
  // kMsgRecordChanged (or the reading's own message), when there is none.
  std::optional<int> FindHolding(const DataFolder& folder, Prompt& prompt, int slot, const Holding& shown);
  std::optional<int> FindTrade(const DataFolder& folder, Prompt& prompt, int slot, const TradeRecord& shown);

  // The operations of portfolio_operations.h on fresh tables. Those on a chosen record return Stale
  // when FindHolding / FindTrade finds none. Buy returns Stale only when the holdings file exists but
  // cannot be read (writing would replace it).
  PortfolioStatus Buy(const DataFolder& folder, Prompt& prompt, const Holding& h);
  PortfolioStatus EditHolding(const DataFolder& folder, Prompt& prompt, int slot, const Holding& shown,
                              const Holding& h);
  PortfolioStatus Sell(const DataFolder& folder, Prompt& prompt, int slot, const Holding& shown,
                       const Sale& sale);
  PortfolioStatus DeleteHolding(const DataFolder& folder, Prompt& prompt, int slot, const Holding& shown);
  PortfolioStatus EditTrade(const DataFolder& folder, Prompt& prompt, int slot, const TradeRecord& shown,
                            const TradeRecord& t);
  PortfolioStatus DeleteTrade(const DataFolder& folder, Prompt& prompt, int slot, const TradeRecord& shown);

 private:
  // A table with the stamp of its file as last read or written; read is false before the first
  // reading and when the file exists but could not be read.
  template <typename Record>
  struct Side {
    SlotTable<Record> table;
    std::optional<FileStamp> stamp;
    bool read = false;
  };

  template <typename Record>
  static int Load(Side<Record>& side, const DataFolder& folder, Prompt& prompt);
  // Reads the file again when it is not the one last read or written; false when it cannot be read.
  template <typename Record>
  static bool Fresh(Side<Record>& side, const DataFolder& folder, Prompt& prompt);
  template <typename Record>
  static std::optional<int> Find(Side<Record>& side, const DataFolder& folder, Prompt& prompt, int slot,
                                 const Record& shown);
  // The stamp after an operation: the file as this table wrote it.
  template <typename Record>
  static PortfolioStatus Written(Side<Record>& side, const DataFolder& folder, PortfolioStatus status);

  Side<Holding> holdings_;
  Side<TradeRecord> trades_;
};

}  // namespace sorano
