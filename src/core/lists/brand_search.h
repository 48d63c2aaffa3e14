#pragma once
// Finding brands in the brand table: by name, and by the sixteen conditions of the screening dialog
// "銘柄スクリーニング". Both look at codes 1300..9998 only and return codes in ascending order; only
// the brand table is searched, never the network.
//
// A screening condition is the index of the entry chosen in its combo box; entry 0 is "なし" (no
// condition). The buckets of unit value, capitalisation and the ratios meet without a gap: an entry
// "…未満" holds the values from the bound of the entry before it up to (not including) its own, an entry
// "…以上" every value from its bound up, and the first entry keeps an exclusive lower bound, so a
// missing figure (0) is in no bucket. Ratios that are not finite are in no bucket.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/settings/settings_store.h"
#include "core/store/brand_table.h"

namespace sorano {

// The conditions in dialog order: market ①②③, sector ①②③, unit value, market capitalisation, then
// the eight ratios. The first eight are stored as check_conditionsarch00..07.
namespace screening {
inline constexpr int kMarket1 = 0;
inline constexpr int kSector1 = 3;
inline constexpr int kUnitValue = 6;
inline constexpr int kMarketCap = 7;
inline constexpr int kFirstRatio = 8;
inline constexpr int kStored = 8;
inline constexpr int kCount = 16;
}  // namespace screening

// The entry chosen for every condition.
using ScreeningSelections = std::array<int32_t, screening::kCount>;

// The label shown before a condition's box (UTF-8): "市場", "業種", "単元額", "時価総額", "配当利回り", …
// The three market and the three sector boxes share their label.
std::string_view ScreeningLabel(int condition);
// The entries of a condition's combo box (UTF-8), "なし" first. Empty for an unknown condition.
std::vector<std::string_view> ScreeningEntries(int condition);

// The selections kept in the settings: the stored eight and the ratio selections of the run. An index
// outside its box's list (a hand-edited registry) reads as 0, "なし".
ScreeningSelections KeptSelections(const SettingsStore& settings);
void KeepSelections(SettingsStore& settings, const ScreeningSelections& selections);

// The codes 1300..9998 in use (price not 0) that pass every condition whose selection is not 0. A
// market or sector passes when it equals one of the three selections other than 0. With every
// selection at 0, every brand in use. Selections outside their lists count as 0. The table is locked
// for the walk.
std::vector<int32_t> Screen(const BrandTable& table, const ScreeningSelections& selections);

// The codes 1300..9998 whose name contains text (UTF-8) as whole characters, compared in Shift_JIS
// without case folding or width normalisation. Empty text, or text with a character Shift_JIS cannot
// hold, finds nothing. The table is locked for the walk.
std::vector<int32_t> SearchByName(const BrandTable& table, std::string_view utf8);

}  // namespace sorano
