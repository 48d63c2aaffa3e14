#include "core/portfolio/portfolio_files.h"

#include <cstdio>

#include "core/fs/file_io.h"
#include "core/text/numbers.h"

namespace sorano {
namespace {

constexpr std::string_view kHoldingsFile = "data/myproperty.dat";
constexpr std::string_view kHistoryFile = "data/myhistory.dat";

template <typename Record>
std::string RecordLine(const Record& r) {
  std::string line;
  for (int32_t v : r.Fields()) {
    if (!line.empty()) line += ',';
    line += std::to_string(v);
  }
  line += "\r\n";
  return line;
}

template <typename Record>
Record ParseLine(std::string_view line) {
  std::array<int32_t, Record::kFieldCount> fields{};
  size_t pos = 0;
  for (size_t i = 0; i < fields.size() && pos <= line.size(); ++i) {
    size_t comma = line.find(',', pos);
    size_t end = comma == std::string_view::npos ? line.size() : comma;
    fields[i] = LeadingInt(line.substr(pos, end - pos));
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
  }
  return Record::FromFields(fields);
}

template <typename Record>
int ParseTable(std::string_view text, SlotTable<Record>& table) {
  table.Clear();
  size_t pos = 0;
  int slot = 0;
  while (slot < kPortfolioSlots && pos < text.size()) {
    size_t nl = text.find('\n', pos);
    size_t end = nl == std::string_view::npos ? text.size() : nl;
    table.slots[slot++] = ParseLine<Record>(text.substr(pos, end - pos));
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
  }
  table.overflow.assign(text.substr(pos));
  return slot;
}

template <typename Record>
std::string TableText(const SlotTable<Record>& table) {
  std::string text;
  for (const Record& r : table.slots)
    if (r.code != 0) text += RecordLine(r);
  text += table.overflow;
  return text;
}

template <typename Record>
int LoadTable(const std::string& path, SlotTable<Record>& table, Prompt& prompt) {
  table.Clear();
  // Nothing bought or sold yet: the account is empty, which is no error.
  if (FileExists(path, 0) == 0 && FileExists(path, 1) == 0) return 0;
  std::optional<std::string> text = ReadWholeFile(path);
  if (!text) {
    prompt.Message("ファイルを開けませんでした", "エラー");
    return -1;
  }
  return ParseTable(*text, table);
}

bool WriteDataFile(const DataFolder& folder, const std::string& path, std::string_view text) {
  EnsureFolder(folder.Path("data"));
  return WriteFileAtomic(path, text);
}

}  // namespace

std::string HoldingsPath(const DataFolder& folder) {
  return folder.Path(kHoldingsFile);
}
std::string HistoryPath(const DataFolder& folder) {
  return folder.Path(kHistoryFile);
}

std::string HoldingLine(const Holding& h) {
  return RecordLine(h);
}
std::string TradeLine(const TradeRecord& t) {
  return RecordLine(t);
}

int ParseHoldings(std::string_view text, HoldingTable& table) {
  return ParseTable(text, table);
}
int ParseHistory(std::string_view text, TradeTable& table) {
  return ParseTable(text, table);
}

std::string HoldingsText(const HoldingTable& table) {
  return TableText(table);
}
std::string HistoryText(const TradeTable& table) {
  return TableText(table);
}

int LoadHoldings(const DataFolder& folder, HoldingTable& table, Prompt& prompt) {
  return LoadTable(HoldingsPath(folder), table, prompt);
}
int LoadHistory(const DataFolder& folder, TradeTable& table, Prompt& prompt) {
  return LoadTable(HistoryPath(folder), table, prompt);
}

bool SaveHoldings(const DataFolder& folder, const HoldingTable& table) {
  return WriteDataFile(folder, HoldingsPath(folder), HoldingsText(table));
}
bool SaveHistory(const DataFolder& folder, const TradeTable& table) {
  return WriteDataFile(folder, HistoryPath(folder), HistoryText(table));
}

bool AppendTrade(const DataFolder& folder, const TradeRecord& trade) {
  std::string path = HistoryPath(folder);
  std::string text;
  if (FileExists(path, 0) == 1 || FileExists(path, 1) == 1) {
    // An existing history that cannot be read is left alone rather than replaced by one line.
    std::optional<std::string> old = ReadWholeFile(path);
    if (!old) return false;
    text = std::move(*old);
  }
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  text += TradeLine(trade);
  // Rewritten whole rather than appended in place, so a failed write never leaves half a line.
  return WriteDataFile(folder, path, text);
}

}  // namespace sorano
