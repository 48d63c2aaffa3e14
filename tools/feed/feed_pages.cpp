#include "feed_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/net/euc.h"
#include "core/store/market_sector.h"
#include "core/text/sjis.h"

namespace sorano::feed {
namespace {

// Page text is assembled in Shift_JIS (brand names arrive that way) and converted once at the end.
std::string S(std::string_view utf8) {
  return Utf8ToSjis(utf8);
}

std::string IndexValue(int64_t hundredths) {
  std::string s = Thousands(hundredths / 100);
  char frac[8];
  std::snprintf(frac, sizeof frac, ".%02d", static_cast<int>(std::llabs(hundredths % 100)));
  return s + frac;
}

std::string Cell(int64_t v, bool index) {
  if (v == kMissing) return "---";
  return index ? IndexValue(v) : Thousands(v);
}

std::string Symbol(const FeedBrand& b) {
  switch (b.code) {
    case 1010:
      return "998405";
    case 1020:
      return "998407";
    case 1030:
      return "23337";
  }
  return std::to_string(b.code);
}

const char* Suffix(int32_t market) {
  switch (market) {
    case 4:
    case 5:
      return ".O";
    case 6:
    case 7:
      return ".N";
    case 8:
      return ".S";
    case 9:
      return ".F";
    case 10:
      return ".Q";
    case 11:
      return ".J";
  }
  return ".T";
}

std::string PageHead(std::string_view titleUtf8) {
  return S("<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
           "charset=EUC-JP\">\n<title>") +
         S(titleUtf8) + S("</title>\n</head>\n<body>\n");
}

std::string PageTail() {
  return S("</body>\n</html>\n");
}

struct Hash {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
};

std::string Fixed2(double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

}  // namespace

std::string Thousands(int64_t v) {
  const bool negative = v < 0;
  std::string digits = std::to_string(negative ? -static_cast<uint64_t>(v) : static_cast<uint64_t>(v));
  std::string out;
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return negative ? "-" + out : out;
}

std::string HistoryPage(const FeedData& data, const HistoryQuery& q) {
  auto brand = data.BrandForSymbol(q.symbol);
  std::vector<FeedDay> rows;
  if (brand) {
    const int64_t from = int64_t{q.fromYear} * 10000 + q.fromMonth * 100 + q.fromDay;
    const int64_t to = int64_t{q.toYear} * 10000 + q.toMonth * 100 + q.toDay;
    for (const FeedDay& d : *data.History(brand->code))
      if (d.date >= from && d.date <= to) rows.push_back(d);
    std::reverse(rows.begin(), rows.end());  // newest first
  }
  std::string page = PageHead(q.symbol + ": 時系列");
  if (rows.empty()) {
    page += S("<p>") + q.symbol + S("のデータはありません。</p>\n") + PageTail();
    return ShiftJisToEuc(page);
  }
  const bool index = FeedData::IsIndex(brand->code);
  page += brand->nameSjis + S("\n<table border=0 cellpadding=2 cellspacing=1 width=\"100%\">\n");
  page += S("<tr bgcolor=\"#dcdcdc\"><th>日付</th><th>始値</th><th>高値</th><th>安値</th><th>終値</th>");
  page += index ? S("</tr>\n") : S("<th>出来高</th><th>調整後終値*</th></tr>\n");
  const size_t first = static_cast<size_t>(std::max(0, q.offset));
  const size_t last = std::min(rows.size(), first + kRowsPerPage);
  for (size_t i = first; i < last; ++i) {
    const FeedDay& d = rows[i];
    char date[64];
    std::snprintf(date, sizeof date, "%d年%d月%d日", d.date / 10000, d.date / 100 % 100, d.date % 100);
    std::string row = "<tr align=right><td>" + std::string(date) + "</td><td>" + Cell(d.open, index) +
                      "</td><td>" + Cell(d.high, index) + "</td><td>" + Cell(d.low, index) + "</td><td><b>" +
                      Cell(d.close, index) + "</b></td>";
    if (!index) row += "<td>" + Thousands(d.volume) + "</td><td>" + Cell(d.adjClose, false) + "</td>";
    row += "</tr>\n";
    page += S(row);
  }
  page += S("</table>\n");
  char count[96];
  std::snprintf(count, sizeof count, "<p>%zu - %zu件 / %zu件中</p>\n", first + 1, std::max(first + 1, last),
                rows.size());
  page += S(count);
  if (last < rows.size()) {
    std::string next = "/t?c=" + std::to_string(q.fromYear) + "&a=" + std::to_string(q.fromMonth) +
                       "&b=" + std::to_string(q.fromDay) + "&f=" + std::to_string(q.toYear) +
                       "&d=" + std::to_string(q.toMonth) + "&e=" + std::to_string(q.toDay) +
                       "&g=d&x=.csv&y=" + std::to_string(first + kRowsPerPage) + "&s=" + q.symbol +
                       "&z=" + q.symbol;
    page += S("<a href=\"" + next + "\">次の50件</a>\n");
  }
  page += PageTail();
  return ShiftJisToEuc(page);
}

std::string BrandLinkPage(const FeedData& data, const std::string& symbol, std::string_view titleUtf8) {
  const auto brand = data.BrandForSymbol(symbol);
  std::string page = PageHead(titleUtf8);
  if (!brand) {
    page += S("<p>「") + symbol + S("」に一致する銘柄はありません</p>\n");
  } else {
    // Trail bytes of Shift_JIS are never '<', '>' or '&': the name's markup characters are escaped whole.
    std::string name;
    for (char c : brand->nameSjis)
      name += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    page +=
        S("<h1>") + std::to_string(brand->code) + " " + name + S("</h1>\n<p>") + S(titleUtf8) + S("</p>\n");
  }
  return ShiftJisToEuc(page + PageTail());
}

std::string QuotePage(const FeedData& data, const std::string& symbol) {
  auto brand = data.BrandForSymbol(symbol);
  std::vector<FeedDay> days;
  if (brand) days = *data.History(brand->code);
  if (!brand || days.empty()) {
    std::string page =
        PageHead("ファイナンス") + S("<p>「") + symbol + S("」に一致する銘柄はありません</p>\n") + PageTail();
    return ShiftJisToEuc(page);
  }
  const bool index = FeedData::IsIndex(brand->code);
  const FeedDay& d = days.back();
  const int64_t prevClose = days.size() > 1 ? days[days.size() - 2].close : d.close;
  auto value = [index](int64_t v) { return v == kMissing ? int64_t{0} : index ? v / 100 : v; };
  const int64_t price = value(d.close);
  const int64_t change = price - value(prevClose);
  const double percent = value(prevClose) != 0
                             ? 100.0 * static_cast<double>(change) / static_cast<double>(value(prevClose))
                             : 0.0;
  Hash h{static_cast<uint64_t>(brand->code) * 104729u + 17};
  const int64_t shares = index ? 0 : static_cast<int64_t>(10 + h.Next() % 1500) * 1000000;
  const int64_t unit = index ? 0 : (h.Next() % 3 == 0 ? 100 : 1000);
  const int64_t tick = price >= 3000 ? 10 : price >= 1000 ? 5 : 1;
  const double eps = index ? 0 : static_cast<double>(price) / (8.0 + static_cast<double>(h.Next() % 40));
  const double bps =
      index ? 0 : static_cast<double>(price) / (0.5 + static_cast<double>(h.Next() % 30) / 10.0);
  const double dividend = index || h.Next() % 5 == 0 ? 0.0 : static_cast<double>(h.Next() % 60 + 5);
  const char* kind = h.Next() % 4 == 0 ? "(単)" : "(連)";
  const bool todayTraded = d.date == data.today();
  char time[32];
  if (todayTraded) {
    std::snprintf(time, sizeof time, "15:00");
  } else {
    std::snprintf(time, sizeof time, "%d/%02d", d.date / 100 % 100, d.date % 100);
  }
  std::string changeText = change == 0 ? "0 (0.00%)"
                                       : (change > 0 ? "+" : "") + Thousands(change) + " (" +
                                             (change > 0 ? "+" : "") + Fixed2(percent) + "%)";
  std::string market = std::string(MarketName(brand->market));
  if (market.empty()) market = "東証";

  std::string p = PageHead(std::to_string(brand->code) + " 株価");
  p += S("<table border=1 width=521 cellpadding=0 cellspacing=0><tr align=center><td nowrap colspan=6><b>");
  p += S("<small>" + std::to_string(d.date / 10000) + "年" + std::to_string(d.date / 100 % 100) + "月" +
         std::to_string(d.date % 100) + "日</small>&nbsp;<b>");
  p += brand->nameSjis;
  p += S("</b> (" + Symbol(*brand) + Suffix(brand->market) + ") " + market + " : 株価詳細</td></tr>\n");
  auto cell = [&p](std::string_view label, const std::string& text, const char* attrs = "<td nowrap>") {
    p += S(std::string(attrs) + std::string(label) + "<br>" + text + "</td>\n");
  };
  p += S("<tr align=center><td nowrap colspan=2>取引値<br>") +
       S(std::string(time) + "<b>" + Thousands(price)) + S("</b></td>\n");
  cell("前日比", "<font color=#ff0020>" + changeText + "</font>");
  cell("前日終値", Thousands(value(prevClose)));
  cell("出来高", index ? "---" : Thousands(d.volume) + "株");
  cell("時価総額", index ? "---" : Thousands(price * shares / 1000000) + "百万円");
  p += S("</tr><tr align=center>\n");
  cell("始値", d.open == kMissing ? "---" : Thousands(value(d.open)));
  cell("高値", d.high == kMissing ? "---" : Thousands(value(d.high)));
  cell("安値", d.low == kMissing ? "---" : Thousands(value(d.low)));
  cell("買気配", index ? "---" : Thousands(std::max<int64_t>(1, price - tick)));
  cell("売気配", index ? "---" : Thousands(price + tick));
  cell("発行済株式数", index ? "---" : Thousands(shares) + "株");
  p += S("</tr><tr align=center>\n");
  cell("配当利回り",
       dividend == 0 || price == 0 ? "---" : Fixed2(100.0 * dividend / static_cast<double>(price)) + "%");
  cell("1株配当", dividend == 0 ? "---" : Fixed2(dividend) + "円");
  cell("株価収益率", eps == 0 ? "---" : std::string(kind) + Fixed2(static_cast<double>(price) / eps) + "倍");
  cell("1株利益", eps == 0 ? "---" : std::string(kind) + Fixed2(eps) + "円");
  cell("純資産倍率", bps == 0 ? "---" : std::string(kind) + Fixed2(static_cast<double>(price) / bps) + "倍");
  cell("1株株主資本", bps == 0 ? "---" : std::string(kind) + Fixed2(bps) + "円");
  p += S("</tr><tr align=center>\n");
  cell("株主資本比率",
       index ? "---" : std::string(kind) + Fixed2(20.0 + static_cast<double>(h.Next() % 600) / 10.0) + "%");
  cell("株主資本利益率", index ? "---" : std::string(kind) + Fixed2(100.0 * eps / std::max(bps, 1.0)) + "%");
  cell("総資産利益率", index ? "---" : std::string(kind) + Fixed2(40.0 * eps / std::max(bps, 1.0)) + "%");
  cell("調整1株益", eps == 0 ? "---" : std::string(kind) + Fixed2(eps) + "円");
  cell("決算年月",
       index ? "---" : std::to_string(d.date / 10000 - (d.date / 100 % 100 <= 3 ? 1 : 0)) + "年3月");
  cell("単元株数", index ? "---" : Thousands(unit) + "株");
  p += S("</tr></table>\n") + PageTail();
  return ShiftJisToEuc(p);
}

std::string IntradayGif(const FeedData& data, int32_t code) {
  auto brand = data.Brand(code);
  if (!brand) return {};
  std::vector<FeedDay> days = *data.History(code);
  if (days.empty()) return {};
  const FeedDay& d = days.back();
  constexpr int kW = 160, kH = 80;
  std::vector<uint8_t> px(kW * kH, 0);  // 0 white, 1 grey, 2 blue, 3 red
  for (int x = 0; x < kW; ++x) px[(kH - 1) * kW + x] = 1;
  for (int y = 0; y < kH; ++y) px[y * kW] = 1;
  // A path from open to close that touches high and low, drawn as one column per time step.
  Hash h{static_cast<uint64_t>(d.date) * 31u + static_cast<uint64_t>(code)};
  const double lo = static_cast<double>(d.low == kMissing ? d.close : d.low);
  const double hi = static_cast<double>(d.high == kMissing ? d.close : d.high);
  const double span = std::max(1.0, hi - lo);
  double v = static_cast<double>(d.open == kMissing ? d.close : d.open);
  int prevY = -1;
  for (int x = 1; x < kW; ++x) {
    const double target = static_cast<double>(d.close);
    v += (target - v) / static_cast<double>(kW - x) +
         span * (static_cast<double>(h.Next() % 1000) / 1000.0 - 0.5) * 0.15;
    v = std::clamp(v, lo, hi);
    const int y = kH - 2 - static_cast<int>((v - lo) / span * (kH - 4));
    const int y0 = prevY < 0 ? y : std::min(prevY, y), y1 = prevY < 0 ? y : std::max(prevY, y);
    for (int yy = y0; yy <= y1; ++yy) px[yy * kW + x] = d.close >= d.open ? 3 : 2;
    prevY = y;
  }
  std::string gif = "GIF89a";
  auto le16 = [&gif](int v) {
    gif.push_back(static_cast<char>(v & 0xFF));
    gif.push_back(static_cast<char>(v >> 8));
  };
  le16(kW);
  le16(kH);
  gif += std::string("\xF1\x00\x00", 3);  // global table of 4 colours
  gif += std::string("\xFF\xFF\xFF\xA0\xA0\xA0\x00\x00\xC0\xD0\x00\x20", 12);
  gif.push_back(',');
  le16(0);
  le16(0);
  le16(kW);
  le16(kH);
  gif.push_back('\0');
  // LZW with minimum code size 7: codes stay 8 bits wide as long as a clear code comes before the
  // table grows to 256 entries, so every pixel is one byte and no compression is needed.
  constexpr uint8_t kClear = 128, kEnd = 129;
  std::string codes;
  for (size_t i = 0; i < px.size(); ++i) {
    if (i % 120 == 0) codes.push_back(static_cast<char>(kClear));
    codes.push_back(static_cast<char>(px[i]));
  }
  codes.push_back(static_cast<char>(kEnd));
  gif.push_back(7);
  for (size_t i = 0; i < codes.size(); i += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - i);
    gif.push_back(static_cast<char>(n));
    gif.append(codes, i, n);
  }
  gif.push_back('\0');
  gif.push_back(';');
  return gif;
}

}  // namespace sorano::feed
