#pragma once
// One row of the list pane and how the rows of a source are gathered.
#include <cstdint>
#include <vector>

#include "core/lists/list_source.h"
#include "core/portfolio/holding_table.h"
#include "core/portfolio/trade_table.h"
#include "core/store/brand_folder.h"
#include "core/store/brand_table.h"

namespace sorano {

struct ListRow {
  int32_t code = 0;
  // The account or history slot of the row; -1 in a brand list.
  int32_t slot = -1;
  // The brand's record as it stood when the list was filled; zeros for a code outside the table.
  BrandRecord brand{};
  Holding holding{};    // account rows
  TradeRecord trade{};  // history rows
};

// What a fill reads.
struct ListTables {
  const BrandTable& brands;
  const FolderTable& folders;
  const HoldingTable& holdings;
  const TradeTable& trades;
  const SizeClasses& sizes;
};

// The rows of a source, in the order the source gives them: a folder's codes as stored (up to its
// first 0), the account's and the history's slots in use in slot order, a category's codes in use in
// code order, the codes of kCodes as given. A brand is in use when its price is not 0. The brand table
// is locked once for the whole fill.
std::vector<ListRow> FillRows(const ListSource& source, const ListTables& tables);

}  // namespace sorano
