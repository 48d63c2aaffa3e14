// data/view.dat of any bytes: the whole records of its first 2,560,000 bytes are loaded as they stand,
// the table saves to exactly 2,560,000 bytes holding them, and what reads a record (the market and
// sector names, the portfolio's view of a brand) takes any record without reading outside it.
#include <cstring>

#include "core/portfolio/brand_quote.h"
#include "core/store/brand_table.h"
#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  const std::string path = folder.Path("data/view.dat");
  sorano::fuzz::WriteFile(path, bytes);
  static sorano::BrandTable table;
  std::memset(static_cast<void*>(table.records().data()), 0, table.records().size_bytes());
  const int n = sorano::LoadBrandTable(folder, table);
  const size_t whole = std::min(size / sizeof(sorano::BrandRecord), sorano::kBrandCount);
  FUZZ_CHECK(n == static_cast<int>(whole));
  FUZZ_CHECK(sorano::SaveBrandTable(folder, table) == 1);
  const std::string saved = sorano::fuzz::ReadFile(path);
  FUZZ_CHECK(saved.size() == sorano::kBrandCount * sizeof(sorano::BrandRecord));
  const size_t kept = whole * sizeof(sorano::BrandRecord);
  FUZZ_CHECK(saved.compare(0, kept, bytes.substr(0, kept)) == 0);
  FUZZ_CHECK(saved.find_first_not_of('\0', kept) == std::string::npos);
  for (size_t code = 0; code < whole; ++code) {
    const sorano::BrandRecord& r = table[code];
    const sorano::BrandQuote q = sorano::QuoteOf(&r);
    FUZZ_CHECK(q.name.size() <= sizeof r.name);  // an unterminated name ends with its field
    FUZZ_CHECK(q.price == r.price);
    sorano::SjisToUtf8(q.name);
    FUZZ_CHECK(sorano::MarketName(r.market).size() < 32 && sorano::SectorName(r.sector).size() < 64);
  }
  return 0;
}
