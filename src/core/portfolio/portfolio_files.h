#pragma once
// The two portfolio files under the data folder: data/myproperty.dat (holdings) and data/myhistory.dat
// (trade history). Plain text, one record per line, signed decimal fields joined by "," and ended by
// "\r\n", no header; both are also edited by hand in a text editor.
#include <string>
#include <string_view>

#include "core/portfolio/holding_table.h"
#include "core/portfolio/trade_table.h"
#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"

namespace sorano {

std::string HoldingsPath(const DataFolder& folder);  // data/myproperty.dat
std::string HistoryPath(const DataFolder& folder);   // data/myhistory.dat

// One file line, "%d,%d,...,%d\r\n".
std::string HoldingLine(const Holding& h);
std::string TradeLine(const TradeRecord& t);

// Fill an emptied table from file text. Lines end at "\n" (a "\r" before it is ignored); each line
// gives the next slot from slot 0 on, its fields split at "," and converted as leading decimal integers
// (not a number: 0; beyond int32: saturated; missing fields: 0; extra fields: ignored). A last line
// without a line end is read too. At most 999 lines are read; the rest of the text is kept in the
// table's overflow. Returns the number of lines read.
int ParseHoldings(std::string_view text, HoldingTable& table);
int ParseHistory(std::string_view text, TradeTable& table);

// The file text of a table: every slot in use in slot order, then the overflow.
std::string HoldingsText(const HoldingTable& table);
std::string HistoryText(const TradeTable& table);

// Empty the table and read the file into it; the lines read. A file that does not exist yet gives an
// empty table (nothing bought or sold yet) and 0. When an existing file cannot be read,
// "ファイルを開けませんでした" is shown (caption "エラー"), the table stays empty and -1 is returned.
int LoadHoldings(const DataFolder& folder, HoldingTable& table, Prompt& prompt);
int LoadHistory(const DataFolder& folder, TradeTable& table, Prompt& prompt);

// Rewrite the file whole (atomically), creating the folder data/ when missing. False when it cannot be
// written; the old file is then untouched.
bool SaveHoldings(const DataFolder& folder, const HoldingTable& table);
bool SaveHistory(const DataFolder& folder, const TradeTable& table);

// Add one line at the end of the history file, creating the file when missing. When the file's last
// line has no line end, "\r\n" is put before the new line so the two stay separate. The in-memory
// history is not touched. False when the file cannot be read or written (it is then untouched).
bool AppendTrade(const DataFolder& folder, const TradeRecord& trade);

}  // namespace sorano
