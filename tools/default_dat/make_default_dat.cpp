// make-default-dat: turns the exchange's table of listed issues (data_j.csv: UTF-8, optional BOM,
// ten unquoted comma-separated columns) into the shipped brand list default.dat, one Shift_JIS line
// "code,market,sector,name\r\n" per brand, in code order; and, when a third path is given, the size
// classes of those brands (size_class.dat: "code,class\r\n" with the exchange's 規模コード 1..7, brands
// without one left out), which the tree's 指標別 categories list.
//
//   make-default-dat data_j.csv default.dat [size_class.dat]
//
// Segments map to the program's market numbers (プライム 1 "東証1部", スタンダード 2 "東証2部",
// グロース 12 "マザーズ", foreign shares by their segment); funds (ETF・ETN, REIT・...) become market 1
// with sector 34 "上場投信". PRO Market rows and codes that are not four digits are left out.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/fs/file_io.h"
#include "core/store/market_sector.h"
#include "core/text/sjis.h"

namespace {

using namespace std::string_view_literals;

constexpr size_t kColumns = 10;
constexpr size_t kCodeColumn = 1, kNameColumn = 2, kSegmentColumn = 3, kSectorColumn = 5, kSizeColumn = 8;
constexpr int32_t kMarketFirst = 1, kMarketSecond = 2, kMarketMothers = 12;

struct Brand {
  int code;
  int32_t market;
  int32_t sector;
  std::string name;  // UTF-8
  int sizeClass;     // 規模コード 1..7, 0 for none ("-")
};

// Market number of a segment, 0 for "leave the row out", -1 for a segment this table does not know.
// fund is set for the segments whose rows are listed investment trusts.
int32_t SegmentMarket(std::string_view segment, bool& fund) {
  fund = false;
  if (segment.starts_with("プライム"sv)) return kMarketFirst;  // also プライム（外国株式）
  if (segment.starts_with("スタンダード"sv)) return kMarketSecond;
  if (segment.starts_with("グロース"sv)) return kMarketMothers;
  if (segment == "ETF・ETN"sv || segment.starts_with("REIT・"sv)) {
    fund = true;
    return kMarketFirst;
  }
  // Subscription certificates (8301, 8421) trade on the Standard market and carry no sector.
  if (segment == "出資証券"sv) return kMarketSecond;
  if (segment == "PRO Market"sv) return 0;
  return -1;
}

// Sector number of a 33-sector name; the exchange's names differ from the program's in two places.
int32_t SectorFor(std::string_view name) {
  if (name == "-"sv) return sorano::kSectorUnknown;
  if (name == "情報・通信業"sv) return sorano::SectorNumber("通信業");
  if (name == "証券、商品先物取引業"sv) return sorano::SectorNumber("証券業");
  return sorano::SectorNumber(name);
}

bool IsFourDigits(std::string_view code) {
  return code.size() == 4 &&
         std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string_view> Split(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    size_t comma = line.find(',');
    fields.push_back(line.substr(0, comma));
    if (comma == std::string_view::npos) break;
    line.remove_prefix(comma + 1);
  }
  return fields;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: make-default-dat data_j.csv default.dat [size_class.dat]\n");
    return 2;
  }
  std::optional<std::string> csv = sorano::ReadWholeFile(argv[1]);
  if (!csv) {
    std::fprintf(stderr, "make-default-dat: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string_view text = *csv;
  if (text.starts_with("\xEF\xBB\xBF"sv)) text.remove_prefix(3);

  std::vector<Brand> brands;
  std::map<std::string, int> leftOut;  // reason -> rows
  bool header = true;
  while (!text.empty()) {
    size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (header) {  // 日付,コード,銘柄名,...
      header = false;
      continue;
    }
    std::vector<std::string_view> f = Split(line);
    if (f.size() != kColumns) {
      ++leftOut["row without ten fields"];
      continue;
    }
    bool fund = false;
    const int32_t market = SegmentMarket(f[kSegmentColumn], fund);
    if (market == 0) {
      ++leftOut["PRO Market"];
      continue;
    }
    if (market < 0) {
      ++leftOut["unknown segment " + std::string(f[kSegmentColumn])];
      continue;
    }
    if (!IsFourDigits(f[kCodeColumn])) {
      ++leftOut["code not four digits"];
      continue;
    }
    const int code = std::stoi(std::string(f[kCodeColumn]));
    if (code < 1300) {
      ++leftOut["code below 1300"];
      continue;
    }
    const int32_t sector = fund ? sorano::kSectorListedFund : SectorFor(f[kSectorColumn]);
    if (sector < 0) {
      ++leftOut["unknown sector " + std::string(f[kSectorColumn])];
      continue;
    }
    if (f[kNameColumn].empty()) {
      ++leftOut["empty name"];
      continue;
    }
    const std::string_view size = f[kSizeColumn];
    const int sizeClass = size.size() == 1 && size[0] >= '1' && size[0] <= '7' ? size[0] - '0' : 0;
    brands.push_back({code, market, sector, std::string(f[kNameColumn]), sizeClass});
  }

  std::sort(brands.begin(), brands.end(), [](const Brand& a, const Brand& b) { return a.code < b.code; });
  const auto dup = std::adjacent_find(brands.begin(), brands.end(),
                                      [](const Brand& a, const Brand& b) { return a.code == b.code; });
  if (dup != brands.end()) {
    std::fprintf(stderr, "make-default-dat: code %d appears twice\n", dup->code);
    return 1;
  }

  std::string out;
  for (const Brand& b : brands) {
    out += std::to_string(b.code) + "," + std::to_string(b.market) + "," + std::to_string(b.sector) + "," +
           sorano::Utf8ToSjis(b.name) + "\r\n";
  }
  if (!sorano::WriteFileAtomic(argv[2], out)) {
    std::fprintf(stderr, "make-default-dat: cannot write %s\n", argv[2]);
    return 1;
  }

  if (argc == 4) {
    std::string classes;
    for (const Brand& b : brands)
      if (b.sizeClass != 0) classes += std::to_string(b.code) + "," + std::to_string(b.sizeClass) + "\r\n";
    if (!sorano::WriteFileAtomic(argv[3], classes)) {
      std::fprintf(stderr, "make-default-dat: cannot write %s\n", argv[3]);
      return 1;
    }
  }

  int total = 0;
  for (const auto& [reason, rows] : leftOut) total += rows;
  std::printf("wrote %zu brands to %s; left out %d rows\n", brands.size(), argv[2], total);
  for (const auto& [reason, rows] : leftOut) std::printf("  %6d  %s\n", rows, reason.c_str());
  return 0;
}
