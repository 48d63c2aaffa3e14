#include "core/lists/brand_search.h"

#include <cmath>
#include <limits>
#include <mutex>
#include <optional>

#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

constexpr int32_t kFirstCode = 1300;
constexpr int32_t kLastCode = 9998;
constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// An entry of a bucket condition: low <= value < high, except that the first entry of a list also
// excludes its low bound.
struct Bucket {
  std::string_view text;
  double low;
  double high;
};

constexpr Bucket kUnitValueBuckets[] = {
    {"5万円未満", 10000, 50000},      {"10万円未満", 50000, 100000},      {"50万円未満", 100000, 500000},
    {"100万円未満", 500000, 1000000}, {"100万円以上", 1000000, kNoLimit},
};
// Millions of yen.
constexpr Bucket kMarketCapBuckets[] = {
    {"50億円未満", 0, 5000},          {"100億円未満", 5000, 10000},     {"500億円未満", 10000, 50000},
    {"1000億円未満", 50000, 100000},  {"5000億円未満", 100000, 500000}, {"1兆円未満", 500000, 1000000},
    {"1兆円以上", 1000000, kNoLimit},
};
constexpr Bucket kRatioBuckets[] = {
    {"1%未満", 0, 1}, {"3%未満", 1, 3},   {"5%未満", 3, 5},
    {"8%未満", 5, 8}, {"10%未満", 8, 10}, {"10%以上", 10, kNoLimit},
};

enum class Kind { kMarket, kSector, kBucket };

struct Condition {
  std::string_view label;
  Kind kind;
  std::span<const Bucket> buckets = {};
  double (*value)(const BrandRecord&) = nullptr;
};

// The table of the sixteen conditions in dialog order. The value of a ratio may be inf or nan (no
// dividend, a damaged record); such a brand passes no entry.
constexpr Condition kConditions[screening::kCount] = {
    {"市場", Kind::kMarket},
    {"市場", Kind::kMarket},
    {"市場", Kind::kMarket},
    {"業種", Kind::kSector},
    {"業種", Kind::kSector},
    {"業種", Kind::kSector},
    {"単元額", Kind::kBucket, kUnitValueBuckets,
     [](const BrandRecord& r) { return static_cast<double>(r.unitValue); }},
    {"時価総額", Kind::kBucket, kMarketCapBuckets,
     [](const BrandRecord& r) { return static_cast<double>(r.marketCap); }},
    {"配当利回り", Kind::kBucket, kRatioBuckets, [](const BrandRecord& r) { return r.dividendYield; }},
    // The price is never 0 here: a slot whose price is 0 is never listed.
    {"収益利回り", Kind::kBucket, kRatioBuckets,
     [](const BrandRecord& r) { return r.eps / r.price * 100.0; }},
    {"株価配当率", Kind::kBucket, kRatioBuckets,
     [](const BrandRecord& r) { return r.price / r.dividendPerShare; }},
    {"PER", Kind::kBucket, kRatioBuckets, [](const BrandRecord& r) { return r.per; }},
    {"PBR", Kind::kBucket, kRatioBuckets, [](const BrandRecord& r) { return r.pbr; }},
    {"株主資本比率", Kind::kBucket, kRatioBuckets, [](const BrandRecord& r) { return r.equityRatio; }},
    {"ROE", Kind::kBucket, kRatioBuckets, [](const BrandRecord& r) { return r.roe; }},
    {"ROA", Kind::kBucket, kRatioBuckets, [](const BrandRecord& r) { return r.roa; }},
};

// Entries after "なし".
int32_t EntryCount(const Condition& c) {
  switch (c.kind) {
    case Kind::kMarket:
      return kMarketCount - 1;
    case Kind::kSector:
      return kSectorCount - 1;
    case Kind::kBucket:
      return static_cast<int32_t>(c.buckets.size());
  }
  return 0;
}

int32_t Valid(int condition, int32_t selection) {
  return selection >= 0 && selection <= EntryCount(kConditions[condition]) ? selection : 0;
}

bool InBucket(std::span<const Bucket> buckets, int32_t entry, double v) {
  if (!std::isfinite(v)) return false;
  const Bucket& b = buckets[static_cast<size_t>(entry - 1)];
  const bool aboveLow = entry == 1 ? v > b.low : v >= b.low;
  return aboveLow && v < b.high;
}

// Whether value equals one of the selections of the three boxes starting at first that are not なし;
// nullopt when all three are なし (no condition).
std::optional<bool> OneOf(const ScreeningSelections& s, int first, int32_t value) {
  bool any = false;
  for (int i = first; i < first + 3; ++i) {
    if (s[static_cast<size_t>(i)] == 0) continue;
    any = true;
    if (s[static_cast<size_t>(i)] == value) return true;
  }
  return any ? std::optional<bool>(false) : std::nullopt;
}

bool Passes(const ScreeningSelections& s, const BrandRecord& r) {
  if (OneOf(s, screening::kMarket1, r.market) == false) return false;
  // "不明" also takes the brands that carry no sector at all, as the tree's category does.
  const int32_t sector = r.sector == 0 ? kSectorUnknown : r.sector;
  if (OneOf(s, screening::kSector1, sector) == false) return false;
  for (int i = screening::kUnitValue; i < screening::kCount; ++i) {
    const int32_t entry = s[static_cast<size_t>(i)];
    if (entry != 0 && !InBucket(kConditions[i].buckets, entry, kConditions[i].value(r))) return false;
  }
  return true;
}

}  // namespace

std::string_view ScreeningLabel(int condition) {
  return condition >= 0 && condition < screening::kCount ? kConditions[condition].label : std::string_view();
}

std::vector<std::string_view> ScreeningEntries(int condition) {
  if (condition < 0 || condition >= screening::kCount) return {};
  const Condition& c = kConditions[condition];
  std::vector<std::string_view> entries = {"なし"};
  for (int32_t i = 1; i <= EntryCount(c); ++i) {
    switch (c.kind) {
      case Kind::kMarket:
        entries.push_back(MarketName(i));
        break;
      case Kind::kSector:
        entries.push_back(SectorName(i));
        break;
      case Kind::kBucket:
        entries.push_back(c.buckets[static_cast<size_t>(i - 1)].text);
        break;
    }
  }
  return entries;
}

ScreeningSelections KeptSelections(const SettingsStore& settings) {
  ScreeningSelections s{};
  for (int i = 0; i < screening::kCount; ++i) {
    const int32_t kept = i < screening::kStored ? settings.check_conditionsarch[i]
                                                : settings.runtime.screening_ratios[i - screening::kStored];
    s[static_cast<size_t>(i)] = Valid(i, kept);
  }
  return s;
}

void KeepSelections(SettingsStore& settings, const ScreeningSelections& s) {
  for (int i = 0; i < screening::kCount; ++i) {
    const int32_t v = Valid(i, s[static_cast<size_t>(i)]);
    if (i < screening::kStored)
      settings.check_conditionsarch[i] = v;
    else
      settings.runtime.screening_ratios[i - screening::kStored] = v;
  }
}

std::vector<int32_t> Screen(const BrandTable& table, const ScreeningSelections& selections) {
  ScreeningSelections s;
  for (int i = 0; i < screening::kCount; ++i)
    s[static_cast<size_t>(i)] = Valid(i, selections[static_cast<size_t>(i)]);
  std::vector<int32_t> codes;
  std::lock_guard lock(table.mutex());
  const auto records = table.records();
  for (int32_t code = kFirstCode; code <= kLastCode; ++code) {
    const BrandRecord& r = records[static_cast<size_t>(code)];
    if (r.price != 0 && Passes(s, r)) codes.push_back(code);
  }
  return codes;
}

std::vector<int32_t> SearchByName(const BrandTable& table, std::string_view utf8) {
  const std::optional<std::string> text = Utf8ToSjisExact(utf8);
  if (!text || text->empty()) return {};
  std::vector<int32_t> codes;
  std::lock_guard lock(table.mutex());
  const auto records = table.records();
  for (int32_t code = kFirstCode; code <= kLastCode; ++code)
    if (SjisContains(FieldText(records[static_cast<size_t>(code)].name), *text)) codes.push_back(code);
  return codes;
}

}  // namespace sorano
