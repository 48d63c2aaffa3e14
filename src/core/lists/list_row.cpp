#include "core/lists/list_row.h"

#include <algorithm>
#include <mutex>

#include "core/fs/file_io.h"
#include "core/store/market_sector.h"
#include "core/text/numbers.h"

namespace sorano {
namespace {

// The categories walk these codes (the code ranges bring their own bounds).
constexpr int32_t kCategoryFirst = 1300;
constexpr int32_t kCategoryLast = 9998;
constexpr int32_t kIndexBrands[] = {1010, 1020, 1030};

bool Between(double v, int64_t low, int64_t high) {
  return static_cast<double>(low) < v && v < static_cast<double>(high);
}

// Whether a brand in use belongs to a category source.
bool InCategory(const ListSource& s, const BrandRecord& r, const SizeClasses& sizes, int32_t code) {
  switch (s.kind) {
    case SourceKind::kMarket:
      return r.market == s.number;
    case SourceKind::kSector:
      // "不明" also gathers the brands that carry no sector at all.
      return r.sector == s.number || (s.number == kSectorUnknown && r.sector == 0);
    case SourceKind::kUnitValue:
      return Between(r.unitValue, s.low, s.high);
    case SourceKind::kYield:
      return Between(r.dividendYield, s.low, s.high);
    case SourceKind::kMarketCap:
      return Between(r.marketCap, s.low, s.high);
    case SourceKind::kSizeClass:
      return (s.number & size_class::Bit(sizes.ofCode[static_cast<size_t>(code)])) != 0 &&
             sizes.ofCode[static_cast<size_t>(code)] != 0;
    default:
      return false;
  }
}

ListRow BrandRow(const BrandTable& brands, int32_t code) {
  ListRow row;
  row.code = code;
  if (const BrandRecord* r = brands.Find(code)) row.brand = *r;
  return row;
}

// The row of an account or history slot: its record in `member`, its brand's record beside it.
template <typename Record>
ListRow PortfolioRow(const BrandTable& brands, const SlotTable<Record>& table, int slot,
                     Record ListRow::*member) {
  const Record& record = table.slots[static_cast<size_t>(slot)];
  ListRow row = BrandRow(brands, record.code);
  row.slot = slot;
  row.*member = record;
  return row;
}

}  // namespace

std::vector<ListRow> FillRows(const ListSource& s, const ListTables& t) {
  std::vector<ListRow> rows;
  std::lock_guard lock(t.brands.mutex());
  const auto records = t.brands.records();
  auto walk = [&](int32_t first, int32_t last, auto&& wanted) {
    for (int32_t code = std::max(first, 0); code <= std::min(last, static_cast<int32_t>(kBrandCount) - 1);
         ++code) {
      const BrandRecord& r = records[static_cast<size_t>(code)];
      if (r.price != 0 && wanted(r, code)) rows.push_back(BrandRow(t.brands, code));
    }
  };

  switch (s.kind) {
    case SourceKind::kNone:
      break;
    case SourceKind::kFolder:
      if (s.number >= 0 && s.number < static_cast<int32_t>(kFolderCount)) {
        for (int32_t code : t.folders[static_cast<size_t>(s.number)].codes) {
          if (code == 0) break;
          rows.push_back(BrandRow(t.brands, code));
        }
      }
      break;
    case SourceKind::kAccount:
      for (int slot : t.holdings.SlotsInUse())
        rows.push_back(PortfolioRow(t.brands, t.holdings, slot, &ListRow::holding));
      break;
    case SourceKind::kHistory:
      for (int slot : t.trades.SlotsInUse())
        rows.push_back(PortfolioRow(t.brands, t.trades, slot, &ListRow::trade));
      break;
    case SourceKind::kCodeRange:
      // low inclusive, high exclusive; both inside int32 by construction of the tree's table.
      walk(static_cast<int32_t>(std::clamp<int64_t>(s.low, 0, kBrandCount)),
           static_cast<int32_t>(std::clamp<int64_t>(s.high, 0, kBrandCount)) - 1,
           [](const BrandRecord&, int32_t) { return true; });
      break;
    case SourceKind::kSizeClass:
      walk(kCategoryFirst, static_cast<int32_t>(kBrandCount) - 1,
           [&](const BrandRecord& r, int32_t code) { return InCategory(s, r, t.sizes, code); });
      break;
    case SourceKind::kMarket:
    case SourceKind::kSector:
    case SourceKind::kUnitValue:
    case SourceKind::kYield:
    case SourceKind::kMarketCap:
      walk(kCategoryFirst, kCategoryLast,
           [&](const BrandRecord& r, int32_t code) { return InCategory(s, r, t.sizes, code); });
      break;
    case SourceKind::kIndexBrands:
      for (int32_t code : kIndexBrands) rows.push_back(BrandRow(t.brands, code));
      break;
    case SourceKind::kCodes:
      for (int32_t code : s.codes) rows.push_back(BrandRow(t.brands, code));
      break;
  }
  return rows;
}

int LoadSizeClasses(const std::string& path, SizeClasses& classes) {
  classes.ofCode.fill(0);
  std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return -1;
  int read = 0;
  std::string_view rest = *text;
  while (!rest.empty()) {
    const size_t eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos) continue;
    const int32_t code = LeadingInt(line.substr(0, comma));
    const int32_t cls = LeadingInt(line.substr(comma + 1));
    if (code < 0 || code >= static_cast<int32_t>(kBrandCount) || cls < 1 || cls > size_class::kMax) continue;
    classes.ofCode[static_cast<size_t>(code)] = static_cast<uint8_t>(cls);
    ++read;
  }
  return read;
}

}  // namespace sorano
