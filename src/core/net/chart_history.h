#pragma once
// The daily history of one brand from the chart service's history pages: fetched 50 rows a page,
// merged with the stored days and written back to the brand's two chart files.
#include <cstdint>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/net/net_config.h"
#include "core/settings/data_folder.h"
#include "core/store/chart_record.h"

namespace sorano {

// Market number of "ヘラクレス", whose brands the chart service knows as "<code>.j".
inline constexpr int32_t kMarketHercules = 11;

// The symbol the services know a brand by: 1010 -> "998405", 1020 -> "998407", 1030 -> "23337",
// otherwise the code in decimal. withMarketSuffix adds ".j" for a brand on market 11 (the chart
// service wants it; the quote service does not).
std::string ServiceSymbol(int32_t code, int32_t market, bool withMarketSuffix);

// True for the three index pseudo-brands 1010, 1020 and 1030.
constexpr bool IsIndexCode(int32_t code) {
  return code == 1010 || code == 1020 || code == 1030;
}

// One row of a history page: a day and its volume.
struct HistoryDay {
  ChartRecord record;
  VolumeRecord volume;
};

// What one history page (converted to Shift_JIS) says.
struct HistoryPage {
  bool noData = false;           // the service's "のデータはありません。" page
  bool hasNext = false;          // "次の": another page follows
  std::vector<HistoryDay> rows;  // in page order, newest first; at most the maxRows asked for
};

// Cuts a history page into rows: markup cleaned ("\n", blanks, ",", "---", "<b>", "</b>" deleted), a
// row from "<tr align=right><td>" to "</td></tr>", cells split at "</td><td>": the date as
// year "年" month "月" day "日", open, high, low, close, then (index is false) the volume and the
// adjusted close, whose ratio to the close is the day's factor (1.0 when either is 0). Index rows have
// four prices, the close in the last cell, volume 1 and factor 1.0. A row cut off by the end of the
// page is not a row.
HistoryPage ParseHistoryPage(std::string page, bool index, size_t maxRows);

struct ChartRange {
  int fromYear = 0, fromMonth = 0, fromDay = 0;  // inclusive; day 0 means "from the month's start"
  int toYear = 0, toMonth = 0, toDay = 0;        // inclusive; day 31 means "to the month's end"
};

// The result of DownloadChartHistory when the files could not be written (a full disk, no permission):
// unlike a page without rows, that will not mend itself at the next brand.
inline constexpr std::string_view kHistoryNotStored = "ERROR: not stored";

// Downloads [range] for code and rewrites data/chdata_d and data/chdata_da of the brand.
// records / volumes hold the stored history (daily, unadjusted, as ReadChart gave it).
// update 0: the files get exactly the downloaded days. update 1: stored days 0..keep-1 stay and the
// downloaded days follow from index keep on (the last stored day, which the range includes, is
// replaced by its fresh row). At most kMaxChartRecords days are kept, the newest.
// Returns "OK" after both files were written (WriteChartFiles: old pair or new pair, never a mix);
// "ERROR" when a page without rows came back; kHistoryNotStored when the files could not be written;
// "" when the service has no data for the brand, a fetch failed or stop was requested between pages.
// Only "OK" changes the files; the buffers then hold what was written (as far as they reach).
std::string DownloadChartHistory(const NetConfig& config, const DataFolder& folder,
                                 std::span<ChartRecord> records, std::span<VolumeRecord> volumes,
                                 int32_t code, int32_t market, const ChartRange& range, int update, int keep,
                                 std::stop_token stop = {});

}  // namespace sorano
