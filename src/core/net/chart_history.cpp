#include "core/net/chart_history.h"

#include <algorithm>
#include <vector>

#include "core/store/chart_file.h"
#include "core/text/cut.h"
#include "core/text/numbers.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

// Shift_JIS texts of the history page.
const std::string kNoData = Utf8ToSjis("のデータはありません。");
const std::string kNextPage = Utf8ToSjis("次の");
const std::string kYear = Utf8ToSjis("年");
const std::string kMonth = Utf8ToSjis("月");
const std::string kDay = Utf8ToSjis("日");

constexpr std::string_view kRowStart = "<tralign=right><td>";  // "<tr align=right><td>" without its blank
constexpr std::string_view kRowEnd = "</td></tr>";
constexpr std::string_view kCellSep = "</td><td>";
constexpr int kRowsPerPage = 50;

std::vector<std::string_view> Cells(std::string_view row) {
  std::vector<std::string_view> cells;
  size_t pos = 0;
  for (;;) {
    const size_t sep = row.find(kCellSep, pos);
    if (sep == std::string_view::npos) {
      cells.push_back(row.substr(pos));
      return cells;
    }
    cells.push_back(row.substr(pos, sep - pos));
    pos = sep + kCellSep.size();
  }
}

// "2003年12月5日": year = the first four characters, month between 年 and 月, day between 月 and 日.
void ParseDate(std::string_view cell, ChartRecord& r) {
  r.year = LeadingInt(cell.substr(0, 4));
  const size_t y = cell.find(kYear);
  const size_t m = y == std::string_view::npos ? y : cell.find(kMonth, y + kYear.size());
  const size_t d = m == std::string_view::npos ? m : cell.find(kDay, m + kMonth.size());
  r.month = m == std::string_view::npos ? 0 : LeadingInt(cell.substr(y + kYear.size(), m - y - kYear.size()));
  r.day = d == std::string_view::npos ? 0 : LeadingInt(cell.substr(m + kMonth.size(), d - m - kMonth.size()));
}

HistoryDay ParseRow(std::string_view text, bool index) {
  const std::vector<std::string_view> c = Cells(text);
  auto cell = [&c](size_t i) { return i < c.size() ? c[i] : std::string_view(); };
  HistoryDay row;
  ParseDate(cell(0), row.record);
  row.record.open = LeadingInt(cell(1));
  row.record.high = LeadingInt(cell(2));
  row.record.low = LeadingInt(cell(3));
  if (index) {
    // Index rows have four price cells and no volume; the close is the last cell.
    row.record.close = LeadingInt(c.back());
    row.volume.volume = 1;
    row.volume.factor = 1.0;
  } else {
    row.record.close = LeadingInt(cell(4));
    row.volume.volume = LeadingInt(cell(5));
    const int32_t adjusted = LeadingInt(cell(6));
    // A day whose close or adjusted close is missing ("---" reads as 0) keeps the neutral factor.
    row.volume.factor = (adjusted != 0 && row.record.close != 0)
                            ? static_cast<double>(adjusted) / static_cast<double>(row.record.close)
                            : 1.0;
  }
  return row;
}

std::string PageUrl(const NetConfig& config, const ChartRange& r, int offset, const std::string& symbol) {
  const std::string base = "/t?c=" + std::to_string(r.fromYear) + "&a=" + std::to_string(r.fromMonth) +
                           "&b=" + std::to_string(r.fromDay) + "&f=" + std::to_string(r.toYear) +
                           "&d=" + std::to_string(r.toMonth) + "&e=" + std::to_string(r.toDay) +
                           "&g=d&x=.csv";
  return ServiceUrl(config.chartHost,
                    base + "&y=" + std::to_string(offset) + "&s=" + symbol + "&z=" + symbol);
}

}  // namespace

HistoryPage ParseHistoryPage(std::string page, bool index, size_t maxRows) {
  HistoryPage result;
  if (page.find(kNoData) != std::string::npos) {
    result.noData = true;
    return result;
  }
  for (std::string_view markup : {"\n", " ", ",", "---", "<b>", "</b>"}) DeleteAll(page, markup);
  size_t pos = 0;
  while (result.rows.size() < maxRows) {
    const size_t start = FindAfter(page, pos, kRowStart);
    if (start == std::string::npos) break;
    const size_t cellsAt = start + kRowStart.size();
    const size_t end = FindAfter(page, cellsAt, kRowEnd);
    if (end == std::string::npos) break;  // a row cut off by the end of the page
    result.rows.push_back(ParseRow(std::string_view(page).substr(cellsAt, end - cellsAt), index));
    pos = end + kRowEnd.size();
  }
  result.hasNext = page.find(kNextPage) != std::string::npos;
  return result;
}

std::string ServiceSymbol(int32_t code, int32_t market, bool withMarketSuffix) {
  switch (code) {
    case 1010:
      return "998405";
    case 1020:
      return "998407";
    case 1030:
      return "23337";
  }
  std::string s = std::to_string(code);
  if (withMarketSuffix && market == kMarketHercules) s += ".j";
  return s;
}

std::string DownloadChartHistory(const NetConfig& config, const DataFolder& folder,
                                 std::span<ChartRecord> records, std::span<VolumeRecord> volumes,
                                 int32_t code, int32_t market, const ChartRange& range, int update, int keep,
                                 std::stop_token stop) {
  const std::string symbol = ServiceSymbol(code, market, true);
  const bool index = IsIndexCode(code);
  std::vector<HistoryDay> arrived;  // newest first, the page order
  for (int offset = 0;; offset += kRowsPerPage) {
    if (stop.stop_requested()) return "";
    const std::string text = FetchPage(config, PageUrl(config, range, offset, symbol), stop);
    if (text.empty() || text == "ERROR") return "";
    HistoryPage page = ParseHistoryPage(text, index, kMaxChartRecords - arrived.size());
    if (page.noData) return "";
    if (page.rows.empty()) return "ERROR";
    arrived.insert(arrived.end(), page.rows.begin(), page.rows.end());
    // Older rows beyond the buffers' capacity would be dropped anyway: stop asking for them.
    if (arrived.size() >= kMaxChartRecords || !page.hasNext) break;
  }

  // File order, oldest first, after the kept stored days.
  const size_t stored = std::min(records.size(), volumes.size());
  const size_t kept = update == 1 ? static_cast<size_t>(std::clamp(keep, 0, static_cast<int>(stored))) : 0;
  ChartDays downloaded;
  for (auto it = arrived.rbegin(); it != arrived.rend(); ++it) {
    downloaded.records.push_back(it->record);
    downloaded.volumes.push_back(it->volume);
  }
  const ChartDays out = MergeChartDays(records.first(kept), volumes.first(kept), kept, kept, downloaded);
  if (WriteChartDays(folder, out, code) == 0) return std::string(kHistoryNotStored);
  std::copy_n(out.records.begin(), std::min(out.records.size(), records.size()), records.begin());
  std::copy_n(out.volumes.begin(), std::min(out.volumes.size(), volumes.size()), volumes.begin());
  return "OK";
}

}  // namespace sorano
