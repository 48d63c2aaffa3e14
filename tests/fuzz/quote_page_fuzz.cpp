// The quote page parser on any page the service could send (EUC-JP bytes, converted as a download
// converts them). The record of a listed brand stays one: texts terminated inside their fields and
// well-formed, a market of the table, a price of at least 1, finite figures; a page it refuses leaves
// the record as it was; reading the same page twice gives the same record.
#include <cmath>
#include <cstring>

#include "core/net/euc.h"
#include "core/net/quote_page.h"
#include "core/store/market_sector.h"
#include "core/text/fixed_field.h"
#include "fuzz_support.h"

namespace {

void CheckText(std::span<const char> field) {
  FUZZ_CHECK(std::memchr(field.data(), 0, field.size()) != nullptr);
  FUZZ_CHECK(sorano::fuzz::IsWellFormedSjis(sorano::FieldText(field)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string page = sorano::EucToShiftJis(std::string_view(reinterpret_cast<const char*>(data), size));
  sorano::BrandRecord before;
  before.price = 1;
  before.market = 1;
  sorano::BrandRecord rec = before;
  if (!sorano::ParseQuotePage(page, rec)) {
    FUZZ_CHECK(std::memcmp(&rec, &before, sizeof rec) == 0);
    return 0;
  }
  CheckText(rec.name);
  CheckText(rec.quoteTime);
  CheckText(rec.fiscalPeriod);
  FUZZ_CHECK(rec.market >= 0 && rec.market < sorano::kMarketCount);
  FUZZ_CHECK(rec.price >= 1);
  for (double v : {rec.changePercent, rec.volumeRatio, rec.dividendYield, rec.dividendPerShare, rec.per,
                   rec.eps, rec.pbr, rec.bps, rec.equityRatio, rec.roe, rec.roa})
    FUZZ_CHECK(std::isfinite(v));
  sorano::BrandRecord again = rec;
  FUZZ_CHECK(sorano::ParseQuotePage(page, again));
  FUZZ_CHECK(std::memcmp(&again, &rec, sizeof rec) == 0);
  return 0;
}
