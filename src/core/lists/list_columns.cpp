#include "core/lists/list_columns.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/portfolio/brand_quote.h"
#include "core/portfolio/portfolio_rows.h"
#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

// How a column gets its text and key from the row.
enum class Cell {
  kCode,
  kName,
  kQuoteTime,
  kInt,            // intField, "%d"
  kReal,           // realField with `decimals` decimals and `suffix`
  kChangeBar,      // n "-" for n = |changePercent / 15 * 10|, truncated
  kTradingValue,   // tradingValue / 100, "%d万"
  kMarket,         // market name
  kSector,         // sector name
  kFiscalPeriod,   // fiscalPeriod text
  kMarketCap,      // "%d億%d00万"
  kSharesIssued,   // "%d千"
  kEarningsYield,  // eps / price * 100, "%"
  kPriceDividend,  // price / dividendPerShare, "倍"
  kEmpty,          // no source field
  kAccount,        // the account row's cell of the same column
  kHistory,        // the history row's cell of the same column
};

struct ColumnDef {
  std::string_view title;
  Cell cell;
  int32_t BrandRecord::*intField = nullptr;
  double BrandRecord::*realField = nullptr;
  int decimals = 2;
  std::string_view suffix = {};
};

constexpr ColumnDef Int(std::string_view title, int32_t BrandRecord::*field) {
  return {title, Cell::kInt, field};
}
constexpr ColumnDef Real(std::string_view title, double BrandRecord::*field, std::string_view suffix,
                         int decimals = 2) {
  return {title, Cell::kReal, nullptr, field, decimals, suffix};
}
constexpr ColumnDef kCodeColumn{"コード", Cell::kCode};
constexpr ColumnDef kNameColumn{"銘柄名", Cell::kName};

constexpr ColumnDef kPriceColumns[] = {
    kCodeColumn,
    kNameColumn,
    {"更新日", Cell::kQuoteTime},
    Int("現在値", &BrandRecord::price),
    Int("高値", &BrandRecord::high),
    Int("安値", &BrandRecord::low),
    Int("前日比", &BrandRecord::change),
    {"前日比率", Cell::kChangeBar},
    Real("前日比率(%)", &BrandRecord::changePercent, "%"),
    Int("出来高", &BrandRecord::volume),
    Real("出来高比率(%)", &BrandRecord::volumeRatio, "%", 3),
    {"出来高総額", Cell::kTradingValue},
};

constexpr ColumnDef kCapitalColumns[] = {
    kCodeColumn,
    kNameColumn,
    {"市場", Cell::kMarket},
    {"業種", Cell::kSector},
    {"決算日", Cell::kFiscalPeriod},
    Int("単元額", &BrandRecord::unitValue),
    Int("単元株数", &BrandRecord::unitShares),
    {"時価総額", Cell::kMarketCap},
    {"発行株数", Cell::kSharesIssued},
};

constexpr ColumnDef kPerformanceColumns[] = {
    kCodeColumn,
    kNameColumn,
    Real("1株配当", &BrandRecord::dividendPerShare, "円"),
    Real("配当利回り", &BrandRecord::dividendYield, "%"),
    {"収益利回り", Cell::kEarningsYield},
    {"株価配当率", Cell::kPriceDividend},
    Real("PER(株価収益率)", &BrandRecord::per, "倍"),
    Real("EPS(1株利益)", &BrandRecord::eps, "円"),
    Real("PBR(純資産倍率)", &BrandRecord::pbr, "倍"),
    Real("BPS(1株株主資本)", &BrandRecord::bps, "円"),
    Real("ER(株主資本比率)", &BrandRecord::equityRatio, "%"),
    Real("ROE(株主資本利益率)", &BrandRecord::roe, "%"),
    Real("ROA(総資産利益率)", &BrandRecord::roa, "%"),
};

constexpr ColumnDef kCompanyColumns[] = {
    kCodeColumn,
    kNameColumn,
    {"業種分類", Cell::kEmpty},
    {"連結従業員数", Cell::kEmpty},
    {"単独従業員数", Cell::kEmpty},
    {"平均年齢", Cell::kEmpty},
};

constexpr ColumnDef kAccountColumns[] = {
    {"コード", Cell::kAccount},   {"銘柄名", Cell::kAccount},     {"買付約定日", Cell::kAccount},
    {"買付数量", Cell::kAccount}, {"買付単価", Cell::kAccount},   {"現株価", Cell::kAccount},
    {"含み損益", Cell::kAccount}, {"含み損益率", Cell::kAccount},
};

constexpr ColumnDef kHistoryColumns[] = {
    {"コード", Cell::kHistory}, {"銘柄名", Cell::kHistory},   {"買付日", Cell::kHistory},
    {"売付日", Cell::kHistory}, {"買付金額", Cell::kHistory}, {"売付金額", Cell::kHistory},
    {"差益", Cell::kHistory},   {"利回り", Cell::kHistory},   {"手数料", Cell::kHistory},
    {"税金", Cell::kHistory},
};

// Titles as spans of string_view, derived from the tables above.
template <size_t N>
struct Titles {
  std::string_view text[N];
  constexpr explicit Titles(const ColumnDef (&defs)[N]) : text{} {
    for (size_t i = 0; i < N; ++i) text[i] = defs[i].title;
  }
};
constexpr Titles kPriceTitles(kPriceColumns);
constexpr Titles kCapitalTitles(kCapitalColumns);
constexpr Titles kPerformanceTitles(kPerformanceColumns);
constexpr Titles kCompanyTitles(kCompanyColumns);
constexpr Titles kAccountTitles(kAccountColumns);
constexpr Titles kHistoryTitles(kHistoryColumns);

// The sets in ColumnSet order: columns, titles, the family of widths and how many columns are
// left-aligned.
struct SetInfo {
  std::span<const ColumnDef> defs;
  std::span<const std::string_view> titles;
  std::span<int32_t> (*widths)(SettingsStore&);
  int leftAligned;
};
constexpr SetInfo kSets[] = {
    {kPriceColumns, kPriceTitles.text, [](SettingsStore& s) { return std::span<int32_t>(s.list_kabu_size); },
     2},
    {kCapitalColumns, kCapitalTitles.text,
     [](SettingsStore& s) { return std::span<int32_t>(s.list_shihon_size); }, 3},
    {kPerformanceColumns, kPerformanceTitles.text,
     [](SettingsStore& s) { return std::span<int32_t>(s.list_gyouseki_size); }, 2},
    {kCompanyColumns, kCompanyTitles.text,
     [](SettingsStore& s) { return std::span<int32_t>(s.list_company_size); }, 2},
    {kAccountColumns, kAccountTitles.text,
     [](SettingsStore& s) { return std::span<int32_t>(s.list_kouza_size); }, 2},
    {kHistoryColumns, kHistoryTitles.text,
     [](SettingsStore& s) { return std::span<int32_t>(s.list_torihiki_size); }, 2},
};
static_assert(std::size(kSets) == static_cast<size_t>(ColumnSet::kHistory) + 1);

const SetInfo& Info(ColumnSet set) {
  return kSets[static_cast<size_t>(set)];
}

const ColumnDef* Def(ColumnSet set, int column) {
  const auto defs = Info(set).defs;
  return column >= 0 && static_cast<size_t>(column) < defs.size() ? &defs[static_cast<size_t>(column)]
                                                                  : nullptr;
}

constexpr std::string_view kNoValue = "---";
// The change bar is cut here: a damaged percentage must not make a line of millions of characters.
constexpr int kMaxBar = 64;

std::string Fixed(double v, int decimals, std::string_view suffix) {
  if (!std::isfinite(v)) return std::string(kNoValue);
  char buf[400];  // the largest double has 309 integer digits
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return std::string(kNoValue);
  return std::string(buf, end) + std::string(suffix);
}

// numerator / denominator * scale; a zero denominator gives 0 (shown 0.00).
double Ratio(double numerator, double denominator, double scale) {
  return denominator == 0 ? 0.0 : numerator / denominator * scale;
}

double EarningsYield(const BrandRecord& r) {
  return Ratio(r.eps, r.price, 100.0);
}
double PriceDividend(const BrandRecord& r) {
  return Ratio(r.price, r.dividendPerShare, 1.0);
}

int ChangeBarLength(double changePercent) {
  const double n = std::fabs(changePercent / 15.0 * 10.0);
  if (!(n < kMaxBar)) return std::isnan(n) ? 0 : kMaxBar;
  return static_cast<int>(n);
}

// "%d億%d00万" of a capitalisation in millions of yen; a negative one carries its sign once.
std::string MarketCapText(int64_t millions) {
  if (millions < 0) return "-" + MarketCapText(-millions);
  return std::to_string(millions / 100) + "億" + std::to_string(millions % 100) + "00万";
}

std::string TextOf(std::span<const char> field) {
  return SjisToUtf8(FieldText(field));
}

SortKey Number(long double v) {
  // NaN would break the ordering; it sorts below every number.
  return {std::isnan(v) ? -std::numeric_limits<long double>::infinity() : v, {}, false};
}
SortKey Text(std::string_view sjis) {
  return {0, sjis, true};
}

}  // namespace

ColumnSet ColumnSetOf(const ListSource& source, int32_t tabNum) {
  if (source.kind == SourceKind::kAccount) return ColumnSet::kAccount;
  if (source.kind == SourceKind::kHistory) return ColumnSet::kHistory;
  switch (tabNum) {
    case 1:
      return ColumnSet::kCapital;
    case 2:
      return ColumnSet::kPerformance;
    case 3:
      return ColumnSet::kCompany;
  }
  return ColumnSet::kPrice;
}

std::span<const std::string_view> ColumnTitles(ColumnSet set) {
  return Info(set).titles;
}

int LeftAlignedColumns(ColumnSet set) {
  return Info(set).leftAligned;
}

std::span<int32_t> ColumnWidths(SettingsStore& s, ColumnSet set) {
  return Info(set).widths(s);
}

std::string CellText(ColumnSet set, const ListRow& row, int column) {
  const ColumnDef* d = Def(set, column);
  if (d == nullptr) return {};
  const BrandRecord& r = row.brand;
  const size_t col = static_cast<size_t>(column);
  switch (d->cell) {
    case Cell::kCode:
      return std::to_string(row.code);
    case Cell::kName:
      return TextOf(r.name);
    case Cell::kQuoteTime:
      return TextOf(r.quoteTime);
    case Cell::kInt:
      return std::to_string(r.*(d->intField));
    case Cell::kReal:
      return Fixed(r.*(d->realField), d->decimals, d->suffix);
    case Cell::kChangeBar:
      return std::string(static_cast<size_t>(ChangeBarLength(r.changePercent)), '-');
    case Cell::kTradingValue:
      return std::to_string(r.tradingValue / 100) + "万";
    case Cell::kMarket:
      return std::string(MarketName(r.market));
    case Cell::kSector:
      return std::string(SectorName(r.sector));
    case Cell::kFiscalPeriod:
      return TextOf(r.fiscalPeriod);
    case Cell::kMarketCap:
      return MarketCapText(r.marketCap);
    case Cell::kSharesIssued:
      return std::to_string(r.sharesIssued) + "千";
    case Cell::kEarningsYield:
      return Fixed(EarningsYield(r), 2, "%");
    case Cell::kPriceDividend:
      return Fixed(PriceDividend(r), 2, "倍");
    case Cell::kEmpty:
      return {};
    case Cell::kAccount:
      return MakeAccountRow(row.holding, QuoteOf(&r)).cells.at(col);
    case Cell::kHistory:
      return MakeHistoryRow(row.trade, QuoteOf(&r)).cells.at(col);
  }
  return {};
}

int RowImage(ColumnSet set, const ListRow& row) {
  switch (set) {
    case ColumnSet::kAccount:
      return RowIconOf(UnrealisedGain(row.holding, row.brand.price));
    case ColumnSet::kHistory:
      return RowIconOf(AmountsOf(row.trade).gain);
    default:
      return RowIconOf(row.brand.change);
  }
}

CellColours CellColoursOf(ColumnSet set, const ListRow& row, int rowIndex, int column,
                          const SettingsStore& s) {
  CellColours c{static_cast<uint32_t>(s.color_list[2]), static_cast<uint32_t>(s.color_list[rowIndex % 2])};
  const int32_t change = row.brand.change;
  if (set != ColumnSet::kPrice || change == 0 || column < 6 || column > 8) return c;
  const uint32_t marked = static_cast<uint32_t>(change > 0 ? s.color_list[3] : s.color_list[4]);
  if (s.check_list_bk == 1) {
    c.background = marked;
    c.text = static_cast<uint32_t>(s.color_list[1]);
  } else {
    c.text = marked;
  }
  return c;
}

bool Sortable(ColumnSet set, int column) {
  return set != ColumnSet::kAccount && set != ColumnSet::kHistory && Def(set, column) != nullptr;
}

SortKey CellKey(ColumnSet set, const ListRow& row, int column) {
  const ColumnDef* d = Def(set, column);
  if (d == nullptr) return {};
  const BrandRecord& r = row.brand;
  switch (d->cell) {
    case Cell::kCode:
      return Number(row.code);
    case Cell::kName:
      return Text(FieldText(r.name));
    case Cell::kQuoteTime:
      return Text(FieldText(r.quoteTime));
    case Cell::kInt:
      return Number(r.*(d->intField));
    case Cell::kReal:
      return Number(r.*(d->realField));
    case Cell::kChangeBar:
      return Number(ChangeBarLength(r.changePercent));
    case Cell::kTradingValue:
      return Number(r.tradingValue / 100);
    case Cell::kMarket:
      return Number(r.market);
    case Cell::kSector:
      return Number(r.sector);
    case Cell::kFiscalPeriod:
      return Text(FieldText(r.fiscalPeriod));
    case Cell::kMarketCap:
      return Number(r.marketCap);
    case Cell::kSharesIssued:
      return Number(r.sharesIssued);
    case Cell::kEarningsYield:
      return Number(EarningsYield(r));
    case Cell::kPriceDividend:
      return Number(PriceDividend(r));
    case Cell::kEmpty:
    case Cell::kAccount:
    case Cell::kHistory:
      return {};
  }
  return {};
}

}  // namespace sorano
