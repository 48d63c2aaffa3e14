#pragma once
// The market numbers (0..12) and sector numbers (0..35) of BrandRecord, with the names shown in list
// views and tree categories and matched on the quote page. Number 0 has an empty name in both tables.
#include <cstdint>
#include <string_view>

namespace sorano {

inline constexpr int32_t kMarketCount = 13;       // 0..12
inline constexpr int32_t kSectorCount = 36;       // 0..35
inline constexpr int32_t kSectorListedFund = 34;  // "上場投信"
inline constexpr int32_t kSectorUnknown = 35;     // "不明"

// UTF-8 names; empty for 0 and for numbers outside the table.
std::string_view MarketName(int32_t market);
std::string_view SectorName(int32_t sector);

// The same names as Shift_JIS bytes (for file and record texts).
std::string_view MarketNameSjis(int32_t market);
std::string_view SectorNameSjis(int32_t sector);

// Number of the market / sector with this UTF-8 name, or -1 when no entry has it (the empty name too).
int32_t MarketNumber(std::string_view utf8Name);
int32_t SectorNumber(std::string_view utf8Name);

}  // namespace sorano
