#include "core/store/market_sector.h"

#include <array>
#include <string>

#include "core/text/sjis.h"

namespace sorano {
namespace {

constexpr std::array<std::string_view, kMarketCount> kMarketNames = {
    "",        "東証1部", "東証2部", "東証外国部", "大証1部",    "大証2部",  "名証1部",
    "名証2部", "札証",    "福証",    "JASDAQ",     "ヘラクレス", "マザーズ",
};

constexpr std::array<std::string_view, kSectorCount> kSectorNames = {
    "",
    "水産・農林業",
    "鉱業",
    "建設業",
    "食料品",
    "繊維製品",
    "パルプ・紙",
    "化学",
    "医薬品",
    "石油・石炭製品",
    "ゴム製品",
    "ガラス・土石製品",
    "鉄鋼",
    "非鉄金属",
    "金属製品",
    "機械",
    "電気機器",
    "輸送用機器",
    "精密機器",
    "その他製品",
    "電気・ガス業",
    "倉庫・運輸関連業",
    "陸運業",
    "海運業",
    "空運業",
    "通信業",
    "卸売業",
    "小売業",
    "銀行業",
    "証券業",
    "保険業",
    "その他金融業",
    "不動産業",
    "サービス業",
    "上場投信",
    "不明",
};

template <size_t N>
std::string_view Lookup(const std::array<std::string_view, N>& names, int32_t n) {
  return n >= 0 && static_cast<size_t>(n) < N ? names[static_cast<size_t>(n)] : std::string_view();
}

template <size_t N>
std::array<std::string, N> ToSjis(const std::array<std::string_view, N>& names) {
  std::array<std::string, N> out;
  for (size_t i = 0; i < N; ++i) out[i] = Utf8ToSjis(names[i]);
  return out;
}

template <size_t N>
std::string_view LookupSjis(const std::array<std::string, N>& names, int32_t n) {
  return n >= 0 && static_cast<size_t>(n) < N ? std::string_view(names[static_cast<size_t>(n)])
                                              : std::string_view();
}

template <size_t N>
int32_t Number(const std::array<std::string_view, N>& names, std::string_view name) {
  if (name.empty()) return -1;
  for (size_t i = 0; i < N; ++i)
    if (names[i] == name) return static_cast<int32_t>(i);
  return -1;
}

}  // namespace

std::string_view MarketName(int32_t market) {
  return Lookup(kMarketNames, market);
}
std::string_view SectorName(int32_t sector) {
  return Lookup(kSectorNames, sector);
}
// Converted once, on first use; function-local statics are initialised thread-safely.
std::string_view MarketNameSjis(int32_t market) {
  static const auto names = ToSjis(kMarketNames);
  return LookupSjis(names, market);
}
std::string_view SectorNameSjis(int32_t sector) {
  static const auto names = ToSjis(kSectorNames);
  return LookupSjis(names, sector);
}
int32_t MarketNumber(std::string_view utf8Name) {
  return Number(kMarketNames, utf8Name);
}
int32_t SectorNumber(std::string_view utf8Name) {
  return Number(kSectorNames, utf8Name);
}

}  // namespace sorano
