#pragma once
// What the search commands need from the desktop layer: the dialogs "コード・企業名から検索" and
// "銘柄スクリーニング", and the search band's code box.
#include <optional>
#include <string>
#include <string_view>

#include "core/lists/brand_search.h"

namespace sorano {

// The boxes of "コード・企業名から検索" as typed (UTF-8).
struct SearchBoxes {
  std::string code;
  std::string name;
};

class SearchView {
 public:
  virtual ~SearchView() = default;
  // Runs "コード・企業名から検索" modally: the boxes when closed with OK, nothing after キャンセル.
  virtual std::optional<SearchBoxes> RunSearchDialog() = 0;
  // Runs "銘柄スクリーニング" modally with each box on its entry of selections. True, with the entries
  // chosen in selections, when closed with OK.
  virtual bool RunScreeningDialog(ScreeningSelections& selections) = 0;
  // The code box shows text (CodeBoxText of the shown brand) without running a code search.
  virtual void ShowCode(std::string_view text) = 0;
};

}  // namespace sorano
