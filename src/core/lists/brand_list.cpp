#include "core/lists/brand_list.h"

#include <algorithm>
#include <numeric>

namespace sorano {
namespace {

// -1, 0 or 1. Texts compare byte by byte as unsigned bytes (char_traits<char>), numbers as numbers;
// a column never mixes the two, but should it, numbers come first.
int Compare(const SortKey& a, const SortKey& b) {
  if (a.isText != b.isText) return a.isText ? 1 : -1;
  if (a.isText) {
    const int c = a.text.compare(b.text);
    return (c > 0) - (c < 0);
  }
  return (a.number > b.number) - (a.number < b.number);
}

}  // namespace

void BrandList::Fill(ListSource source, const ListTables& tables) {
  std::vector<ListRow> rows = FillRows(source, tables);
  source_ = std::move(source);
  rows_ = std::move(rows);
}

void BrandList::Clear() {
  source_ = ListSource{};
  rows_.clear();
}

bool BrandList::Sort(ColumnSet set, int column) {
  if (!Sortable(set, column) || column >= kMaxColumns) return false;
  int8_t& direction = directions_[static_cast<size_t>(column)];
  direction = direction == 1 ? -1 : 1;

  std::vector<SortKey> keys;
  keys.reserve(rows_.size());
  for (const ListRow& row : rows_) keys.push_back(CellKey(set, row, column));
  std::vector<uint32_t> order(rows_.size());
  std::iota(order.begin(), order.end(), 0u);
  const int sign = direction;
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    if (const int c = Compare(keys[a], keys[b]); c != 0) return c * sign < 0;
    return rows_[a].code < rows_[b].code;
  });

  std::vector<ListRow> sorted;
  sorted.reserve(rows_.size());
  for (uint32_t i : order) sorted.push_back(rows_[i]);
  rows_ = std::move(sorted);
  return true;
}

std::vector<int32_t> BrandList::Codes() const {
  std::vector<int32_t> codes;
  codes.reserve(rows_.size());
  for (const ListRow& row : rows_) codes.push_back(row.code);
  return codes;
}

}  // namespace sorano
