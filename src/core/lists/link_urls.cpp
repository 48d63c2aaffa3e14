#include "core/lists/link_urls.h"

#include "core/net/chart_history.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

// What follows the path prefix.
enum class Tail {
  kCode,          // the code
  kSymbol,        // the code, or an index brand's symbol
  kCodeHtml,      // the code and ".html"
  kResearchHtml,  // the code's first digit, "/", the code and ".html"
  kName,          // the brand's name, percent-encoded
};

struct Link {
  int id;
  char (SettingsStore::*host)[256];
  std::string_view path;
  Tail tail;
  bool forIndexes;
};

constexpr Link kLinks[] = {
    {32913, &SettingsStore::host_news, "/news?s=", Tail::kCode, false},
    {32971, &SettingsStore::host_quote, "/q?d=b&s=", Tail::kSymbol, true},
    {32869, &SettingsStore::host_board, "/bbs?action=q&board=", Tail::kSymbol, true},
    {32914, &SettingsStore::host_profile, "/biz/fundamental/", Tail::kCodeHtml, false},
    {32915, &SettingsStore::host_profile, "/biz/independent/", Tail::kCodeHtml, false},
    {32916, &SettingsStore::host_profile, "/biz/consolidate/", Tail::kCodeHtml, false},
    {32917, &SettingsStore::host_profile, "/biz/interim/", Tail::kCodeHtml, false},
    {32918, &SettingsStore::host_news, "/z/a/", Tail::kResearchHtml, false},
    {32872, &SettingsStore::host_analysis, "/servlets/Query?SRC=indiv/superChart&code=", Tail::kCode, false},
    {32873, &SettingsStore::host_analysis, "/servlets/Query?SRC=indiv/check&code=", Tail::kCode, false},
    {33025, &SettingsStore::host_statements, "/investor/invsub/results/statemnt.asp?symbol=", Tail::kCode,
     false},
    {33026, &SettingsStore::host_statements,
     "/investor/invsub/results/statemnt.asp?lstStatement=Balance&stmtView=Ann&Symbol=JP:", Tail::kCode,
     false},
    {33027, &SettingsStore::host_statements,
     "/investor/invsub/results/statemnt.asp?lstStatement=CashFlow&stmtView=Ann&Symbol=JP:", Tail::kCode,
     false},
    {33028, &SettingsStore::host_statements,
     "/investor/invsub/results/statemnt.asp?lstStatement=10YearSummary&stmtView=Ann&Symbol=JP:", Tail::kCode,
     false},
    {32980, &SettingsStore::host_search, "/search?q=", Tail::kName, true},
};

const Link* FindLink(int id) {
  for (const Link& l : kLinks)
    if (l.id == id) return &l;
  return nullptr;
}

// Every byte but the unreserved characters of a URL as %XX.
std::string PercentEncoded(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

}  // namespace

bool IsLinkCommand(int id) {
  return FindLink(id) != nullptr;
}

std::optional<std::string> LinkUrl(int id, int32_t code, std::string_view sjisName, const SettingsStore& s) {
  const Link* link = FindLink(id);
  if (link == nullptr || (!link->forIndexes && IsIndexCode(code))) return std::nullopt;
  const std::string digits = std::to_string(code);
  std::string tail;
  switch (link->tail) {
    case Tail::kCode:
      tail = digits;
      break;
    case Tail::kSymbol:
      tail = ServiceSymbol(code, 0, false);
      break;
    case Tail::kCodeHtml:
      tail = digits + ".html";
      break;
    case Tail::kResearchHtml:
      tail = digits.substr(0, 1) + "/" + digits + ".html";
      break;
    case Tail::kName:
      if (sjisName.empty()) return std::nullopt;
      tail = PercentEncoded(SjisToUtf8(sjisName));
      break;
  }
  return "http://" + std::string(FieldText(s.*(link->host))) + std::string(link->path) + tail;
}

}  // namespace sorano
