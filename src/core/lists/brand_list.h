#pragma once
// What the list pane shows: the source it was filled from, its rows and their order.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/lists/list_columns.h"
#include "core/lists/list_row.h"

namespace sorano {

class BrandList {
 public:
  // Replaces the rows with those of source (FillRows).
  void Fill(ListSource source, const ListTables& tables);
  // Reads the rows of the same source again (after a download or a folder change).
  void Refill(const ListTables& tables) { Fill(source_, tables); }
  // Nothing listed.
  void Clear();

  // Sorts by a column of set: ascending when the column's last sort was not ascending, otherwise
  // descending. Keys are typed values (CellKey); ties keep code order and, for one code, row order.
  // False, rows untouched, when the column cannot be sorted.
  bool Sort(ColumnSet set, int column);

  const ListSource& source() const { return source_; }
  std::span<const ListRow> rows() const { return rows_; }
  // The codes of the rows in their order.
  std::vector<int32_t> Codes() const;

 private:
  ListSource source_;
  std::vector<ListRow> rows_;
  // Each column's last direction: 0 none yet, 1 ascending, -1 descending.
  std::array<int8_t, kMaxColumns> directions_{};
};

}  // namespace sorano
