#pragma once
// What the portfolio needs of a brand: its name, current price and unit shares.
#include <cstdint>
#include <string>

#include "core/store/brand_record.h"
#include "core/store/brand_table.h"

namespace sorano {

struct BrandQuote {
  std::string name;  // Shift_JIS
  int32_t price = 0;
  int32_t unitShares = 0;
};

// The quote of a record; a missing record (nullptr) gives an empty name and zeros, like a free slot.
BrandQuote QuoteOf(const BrandRecord* record);

// The quote of code in the brand table, read under the table's lock. A code outside 0..9999 has no
// record and gives an empty name, price 0 and unit shares 0.
BrandQuote QuoteOf(const BrandTable& table, int32_t code);

}  // namespace sorano
