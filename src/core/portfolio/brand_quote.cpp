#include "core/portfolio/brand_quote.h"

#include <mutex>

#include "core/text/fixed_field.h"

namespace sorano {

BrandQuote QuoteOf(const BrandRecord* record) {
  if (!record) return {};
  return {std::string(FieldText(record->name)), record->price, record->unitShares};
}

BrandQuote QuoteOf(const BrandTable& table, int32_t code) {
  std::lock_guard lock(table.mutex());
  return QuoteOf(table.Find(code));
}

}  // namespace sorano
