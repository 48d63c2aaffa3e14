#pragma once
// Where the rows of the list pane come from: a folder, the account, the trade history, a category of
// the brand table, or a plain list of codes (a search result).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/store/brand_record.h"

namespace sorano {

enum class SourceKind {
  kNone,         // nothing listed
  kFolder,       // number: the folder's slot; its codes in stored order
  kAccount,      // the holdings, one row per slot in use
  kHistory,      // the trade history, one row per slot in use
  kCodeRange,    // codes in use with low <= code < high
  kMarket,       // codes 1300..9998 in use on market `number`
  kSector,       // codes 1300..9998 in use in sector `number` (35 "不明" also takes sector 0)
  kUnitValue,    // codes 1300..9998 in use with low < unitValue < high (yen)
  kYield,        // codes 1300..9998 in use with low < dividendYield < high (percent)
  kMarketCap,    // codes 1300..9998 in use with low < marketCap < high (millions of yen)
  kSizeClass,    // codes 1300..9999 in use whose size class is in the bit set `number` (none: nothing)
  kIndexBrands,  // 1010, 1020, 1030
  kCodes,        // `codes` in their order
};

struct ListSource {
  SourceKind kind = SourceKind::kNone;
  int32_t number = 0;
  int64_t low = 0;
  int64_t high = 0;
  std::vector<int32_t> codes;

  bool operator==(const ListSource&) const = default;
  bool IsBrandList() const { return kind != SourceKind::kAccount && kind != SourceKind::kHistory; }
};

// The size classes of the exchange's table (規模コード): 1 TOPIX Core30, 2 TOPIX Large70, 4 TOPIX
// Mid400, 6 TOPIX Small 1, 7 TOPIX Small 2; 0 for a brand without one.
namespace size_class {
inline constexpr int32_t kCore30 = 1;
inline constexpr int32_t kLarge70 = 2;
inline constexpr int32_t kMax = 7;
constexpr int32_t Bit(int32_t sizeClass) {
  return 1 << sizeClass;
}
}  // namespace size_class

// The size class of every code, from the shipped file size_class.dat: lines "code,class" (a "\r"
// before the "\n" is harmless). Lines whose code is outside 0..9999 or whose class is outside 1..7 are
// skipped.
struct SizeClasses {
  std::array<uint8_t, kBrandCount> ofCode{};
};
// Reads the file into classes (cleared first). The number of codes read, -1 when it cannot be read.
int LoadSizeClasses(const std::string& path, SizeClasses& classes);

}  // namespace sorano
