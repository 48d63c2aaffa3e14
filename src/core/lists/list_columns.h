#pragma once
// The six column sets of the list pane: titles, alignment, the settings family that holds their
// widths, the text of every cell, the row images, the cell colours and the sort key of every column.
//
// Cell texts are UTF-8. Integers print as "%d"; a value with "円", "倍" or "%" has two decimals (the
// volume ratio three). A ratio whose divisor is 0 shows 0.00 (no inf, no nan); a stored value that is
// not finite (a damaged view.dat) shows "---". Colours are 0x00BBGGRR.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/lists/list_row.h"
#include "core/settings/settings_store.h"

namespace sorano {

enum class ColumnSet {
  kPrice,        // 株価情報: 12 columns, list_kabu_size
  kCapital,      // 資本情報: 9 columns, list_shihon_size
  kPerformance,  // 業績情報: 13 columns, list_gyouseki_size
  kCompany,      // the memo page's set: code and name filled, four empty columns, list_company_size
  kAccount,      // 口座管理: 8 columns, list_kouza_size
  kHistory,      // 取引履歴: 10 columns, list_torihiki_size
};

// The most columns any set has.
inline constexpr int kMaxColumns = 13;

// The set a list shows: the account and history sets by their source, otherwise page tabNum
// (0 price, 1 capital, 2 performance, 3 company; another value shows the price set).
ColumnSet ColumnSetOf(const ListSource& source, int32_t tabNum);

std::span<const std::string_view> ColumnTitles(ColumnSet set);
// The first n columns are left-aligned, the others right-aligned.
int LeftAlignedColumns(ColumnSet set);
// The width family of the set (element i = column i); it may hold more elements than the set has
// columns.
std::span<int32_t> ColumnWidths(SettingsStore& settings, ColumnSet set);

// The text of a cell; empty for a column the set does not have.
std::string CellText(ColumnSet set, const ListRow& row, int column);

// Row images: 0 rising, 1 unchanged, 2 falling. Brand rows by their change (0 unchanged, below 0
// falling); account rows by the unrealised gain, history rows by the gain of the sale.
int RowImage(ColumnSet set, const ListRow& row);

struct CellColours {
  uint32_t text = 0;
  uint32_t background = 0;
};
// Rows alternate color_list00 and color_list01 with text color_list02. On the price page, columns 6 to
// 8 of a rising brand take color_list03 as their text (check_list_bk 1: as their background, with text
// color_list01), of a falling brand color_list04.
CellColours CellColoursOf(ColumnSet set, const ListRow& row, int rowIndex, int column,
                          const SettingsStore& settings);

// What a column sorts by: a number (integers and decimals alike, exactly) or Shift_JIS bytes, whose
// runs of ASCII digits compare by value (BrandList::Sort). A value that is not a number sorts below
// every number.
struct SortKey {
  long double number = 0;
  std::string_view text;
  bool isText = false;
};
// False for the account and history sets, which are not sorted, and for a column the set lacks.
bool Sortable(ColumnSet set, int column);
SortKey CellKey(ColumnSet set, const ListRow& row, int column);

}  // namespace sorano
