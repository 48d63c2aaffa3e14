#pragma once
// The pages sorano-feed serves, in the outside services' formats. Every page is EUC-JP.
#include <cstdint>
#include <string>
#include <string_view>

#include "feed_data.h"

namespace sorano::feed {

// The query of a history page request: "/t?c=&a=&b=&f=&d=&e=&g=d&x=.csv&y=&s=&z=".
struct HistoryQuery {
  int32_t fromYear = 0, fromMonth = 0, fromDay = 0;
  int32_t toYear = 0, toMonth = 0, toDay = 0;
  int32_t offset = 0;    // y: rows skipped, a multiple of 50
  std::string symbol;    // s (and z)
  std::string rawQuery;  // to build the link to the next page
};

// Rows per history page.
inline constexpr int kRowsPerPage = 50;

// History rows in [from, to] (day 0 and day 31 work as bounds), 50 a page, newest first, with the
// "次の" link while more rows follow; the "のデータはありません。" page for an unknown symbol or an empty
// range.
std::string HistoryPage(const FeedData& data, const HistoryQuery& q);

// The detailed quote page of "/q?s=<symbol>&d=b", or the "一致する銘柄はありません" page.
std::string QuotePage(const FeedData& data, const std::string& symbol);

// The page an outside link opens for a brand (news, board, company profile, ...): its title and the
// brand's code and name, or the "一致する銘柄はありません" page.
std::string BrandLinkPage(const FeedData& data, const std::string& symbol, std::string_view titleUtf8);

// A small GIF of the brand's last day, price against time; empty when the brand does not exist.
std::string IntradayGif(const FeedData& data, int32_t code);

// Thousands separators: 1234000 -> "1,234,000".
std::string Thousands(int64_t v);

}  // namespace sorano::feed
