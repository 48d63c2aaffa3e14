#pragma once
// The detailed quote page of one brand, cut into the fields of its BrandRecord.
#include <array>
#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>

#include "core/net/net_config.h"
#include "core/store/brand_record.h"
#include "core/store/brand_table.h"

namespace sorano {

// The 50 search patterns of the quote page, UTF-8 (searched as Shift_JIS). The value of pattern n is
// the text after its first occurrence up to the next occurrence of pattern n + 1.
extern const std::array<std::string_view, 50> QuoteLabelTable;

// Fills rec from a quote page already converted to Shift_JIS (its "\n" are removed here). A label
// missing from the page, or whose closing pattern is missing, leaves its fields as they were. A price
// that reads as 0 ("---") keeps the old price, since a price of 0 marks an unused slot. Returns false,
// rec untouched, for the "一致する銘柄はありません" page, an empty page and a fetch's error text
// ("ERROR", "ERROR: <status> <text>").
bool ParseQuotePage(std::string page, BrandRecord& rec);

// Fetches "/q?s=<symbol>&d=b" from the quote host and updates table[code] (under the table's lock;
// the page is fetched and parsed without it). "OK", or "ERROR" when the page could not be used or
// code is outside 0..9999 (the record is then unchanged). A stop request ends the fetch with "ERROR".
std::string ScrapeQuote(const NetConfig& config, BrandTable& table, int32_t code, std::stop_token stop = {});

}  // namespace sorano
