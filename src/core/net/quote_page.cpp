#include "core/net/quote_page.h"

#include <limits>
#include <span>

#include "core/net/chart_history.h"
#include "core/store/market_sector.h"
#include "core/text/cut.h"
#include "core/text/fixed_field.h"
#include "core/text/numbers.h"
#include "core/text/sjis.h"

namespace sorano {

const std::array<std::string_view, 50> QuoteLabelTable = {
    "<table border=1 width=521 cellpadding=0 cellspacing=0><tr align=center><td nowrap colspan=6><b>",
    "<small>",
    "&nbsp;<b>",
    "</td>",
    "<td nowrap colspan=2>取引値<br>",
    "</b></td>",
    "前日比<br>",
    "</td>",
    "前日終値<br>",
    "</td>",
    "出来高<br>",
    "</td>",
    "時価総額<br>",
    "</td>",
    "始値<br>",
    "</td>",
    "高値<br>",
    "</td>",
    "安値<br>",
    "</td>",
    "買気配<br>",
    "</td>",
    "売気配<br>",
    "</td>",
    "発行済株式数<br>",
    "</td>",
    "配当利回り<br>",
    "</td>",
    "1株配当<br>",
    "</td>",
    "株価収益率<br>",
    "</td>",
    "1株利益<br>",
    "</td>",
    "純資産倍率<br>",
    "</td>",
    "1株株主資本<br>",
    "</td>",
    "株主資本比率<br>",
    "</td>",
    "株主資本利益率<br>",
    "</td>",
    "総資産利益率<br>",
    "</td>",
    "調整1株益<br>",
    "</td>",
    "決算年月<br>",
    "</td>",
    "単元株数<br>",
    "</td>",
};

namespace {

struct SjisTexts {
  std::array<std::string, 50> labels;
  std::string noMatch = Utf8ToSjis("一致する銘柄はありません");
  std::string kabushiki = Utf8ToSjis("(株)");
  std::string toushou = Utf8ToSjis("東証");
  std::string toushou1 = Utf8ToSjis("東証1部");
  std::string million = Utf8ToSjis("百万円");
  std::string kabu = Utf8ToSjis("株");
  std::string yen = Utf8ToSjis("円");
  std::string bai = Utf8ToSjis("倍");
  std::string consolidated = Utf8ToSjis("(連)");
  std::string single = Utf8ToSjis("(単)");
  SjisTexts() {
    for (size_t i = 0; i < labels.size(); ++i) labels[i] = Utf8ToSjis(QuoteLabelTable[i]);
  }
};

const SjisTexts& Texts() {
  static const SjisTexts texts;
  return texts;
}

int32_t Saturate(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

void SetText(std::span<char> field, std::string_view sjis) {
  SetField(field, sjis);
}

// Text before the first ',' and after it (empty when there is none).
std::pair<std::string_view, std::string_view> SplitComma(std::string_view v) {
  const size_t c = v.find(',');
  if (c == std::string_view::npos) return {v, {}};
  return {v.substr(0, c), v.substr(c + 1)};
}

void ApplyTitle(std::string v, BrandRecord& rec) {
  const SjisTexts& t = Texts();
  DeleteAll(v, t.kabushiki);
  ReplaceAll(v, "</b>", ",");
  DeleteAll(v, " (");
  ReplaceAll(v, ")", ",");
  for (std::string_view suffix : {".O", ".Q", ".T", ".J", ".S", ".N", ".F"}) DeleteAll(v, suffix);
  const size_t comma = v.find(',');
  SetText(rec.name, std::string_view(v).substr(0, comma));
  v = comma == std::string::npos ? std::string() : v.substr(comma + 1);
  DeleteAll(v, " ");
  const size_t first = v.find(',');
  std::string_view market;
  if (first != std::string::npos) {
    market = std::string_view(v).substr(first + 1);
    market = market.substr(0, market.find(':'));
  }
  if (market == t.toushou || market == t.toushou1) {
    rec.market = 1;
  } else {
    const int32_t n = MarketNumber(SjisToUtf8(market));
    rec.market = n > 0 ? n : 0;
  }
}

}  // namespace

bool ParseQuotePage(std::string page, BrandRecord& rec) {
  const SjisTexts& t = Texts();
  DeleteAll(page, "\n");
  // Besides "ERROR", the status error text ("ERROR: 503 ...") is no page either.
  if (page.empty() || page.starts_with("ERROR") || page.find(t.noMatch) != std::string::npos) return false;
  for (size_t n = 2; n <= 48; n += 2) {
    const size_t at = page.find(t.labels[n]);
    if (at == std::string::npos) continue;
    const size_t from = at + t.labels[n].size();
    const size_t to = page.find(t.labels[n + 1], from);
    if (to == std::string::npos) continue;
    std::string v = page.substr(from, to - from);
    DeleteAll(v, ",");
    switch (n) {
      case 2:
        ApplyTitle(std::move(v), rec);
        break;
      case 4: {
        ReplaceAll(v, "<b>", ",");
        auto [time, price] = SplitComma(v);
        SetText(rec.quoteTime, time);
        const int32_t p = LeadingInt(price);
        if (p > 0) rec.price = p;
        break;
      }
      case 6: {
        for (std::string_view tag :
             {"<font color=#ff0020>", "<font color=ff0020>", "<font color=\"#ff0020\">", "</font>"})
          DeleteAll(v, tag);
        ReplaceAll(v, " (", ",");
        auto [change, percent] = SplitComma(v);
        rec.change = LeadingInt(change);
        rec.changePercent = LeadingDouble(percent);
        break;
      }
      case 10:
        rec.volume = LeadingInt(v);
        rec.tradingValue = Saturate(int64_t{rec.volume / 100} * rec.price);
        break;
      case 12:
        DeleteAll(v, t.million);
        rec.marketCap = LeadingInt(v);
        break;
      case 14:
        rec.open = LeadingInt(v);
        break;
      case 16:
        rec.high = LeadingInt(v);
        break;
      case 18:
        rec.low = LeadingInt(v);
        break;
      case 20:
        rec.bid = LeadingInt(v);
        break;
      case 22:
        rec.ask = LeadingInt(v);
        break;
      case 24:
        DeleteAll(v, t.kabu);
        rec.sharesIssued = LeadingInt(v);
        if (rec.sharesIssued != 0)
          rec.volumeRatio = static_cast<double>(rec.volume) / static_cast<double>(rec.sharesIssued) / 100.0;
        break;
      case 26:
        DeleteAll(v, "%");
        rec.dividendYield = LeadingDouble(v);
        break;
      case 28:
        DeleteAll(v, t.yen);
        rec.dividendPerShare = LeadingDouble(v);
        break;
      case 30:
      case 34:
        DeleteAll(v, t.consolidated);
        DeleteAll(v, t.single);
        DeleteAll(v, t.bai);
        (n == 30 ? rec.per : rec.pbr) = LeadingDouble(v);
        break;
      case 32:
      case 36:
        DeleteAll(v, t.consolidated);
        DeleteAll(v, t.single);
        DeleteAll(v, t.yen);
        (n == 32 ? rec.eps : rec.bps) = LeadingDouble(v);
        break;
      case 38:
        DeleteAll(v, t.consolidated);
        DeleteAll(v, t.single);
        rec.equityRatio = LeadingDouble(v);
        break;
      case 40:
      case 42:
        DeleteAll(v, t.consolidated);
        DeleteAll(v, t.single);
        DeleteAll(v, "%");
        (n == 40 ? rec.roe : rec.roa) = LeadingDouble(v);
        break;
      case 46:
        SetText(rec.fiscalPeriod, v);
        break;
      case 48:
        DeleteAll(v, t.kabu);
        rec.unitShares = LeadingInt(v);
        rec.unitValue = rec.unitShares != 0 ? Saturate(int64_t{rec.unitShares} * rec.price) : rec.price;
        break;
      default:  // 8 前日終値 and 44 調整1株益 are only searched
        break;
    }
  }
  return true;
}

std::string ScrapeQuote(const NetConfig& config, BrandTable& table, int32_t code, std::stop_token stop) {
  if (code < 0 || code >= static_cast<int32_t>(kBrandCount)) return "ERROR";
  const std::string page =
      FetchPage(config, ServiceUrl(config.quoteHost, "/q?s=" + ServiceSymbol(code, 0, false) + "&d=b"),
                std::move(stop));
  BrandRecord rec;
  {
    std::lock_guard lock(table.mutex());
    rec = table[static_cast<size_t>(code)];
  }
  if (!ParseQuotePage(page, rec)) return "ERROR";
  std::lock_guard lock(table.mutex());
  table[static_cast<size_t>(code)] = rec;
  return "OK";
}

}  // namespace sorano
