#include "core/lists/brand_list.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace sorano {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// -1, 0 or 1 of two Shift_JIS texts: byte by byte as unsigned bytes, except that a run of ASCII digits
// compares by its value ("2025年12月" < "2026年3月" < "2026年12月"; "03" ties "3"). No trail byte of a
// two-byte character is an ASCII digit, so a run never starts inside a character.
int CompareTexts(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      while (i < a.size() && a[i] == '0') ++i;
      while (j < b.size() && b[j] == '0') ++j;
      size_t endA = i;
      size_t endB = j;
      while (endA < a.size() && IsDigit(a[endA])) ++endA;
      while (endB < b.size() && IsDigit(b[endB])) ++endB;
      // Without leading zeros the longer run is the larger number; runs of one length compare as text.
      if (endA - i != endB - j) return endA - i < endB - j ? -1 : 1;
      if (const int c = a.substr(i, endA - i).compare(b.substr(j, endB - j)); c != 0)
        return (c > 0) - (c < 0);
      i = endA;
      j = endB;
      continue;
    }
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[j]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  return (i < a.size()) - (j < b.size());
}

// -1, 0 or 1. Texts compare as CompareTexts, numbers as numbers; a column never mixes the two, but
// should it, numbers come first.
int Compare(const SortKey& a, const SortKey& b) {
  if (a.isText != b.isText) return a.isText ? 1 : -1;
  if (a.isText) return CompareTexts(a.text, b.text);
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
