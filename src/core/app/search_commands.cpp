// The search area of the command set: "コード・企業名検索...(&C)" and "条件指定検索...(&S)".
#include "core/app/command_area.h"
#include "core/app/command_handler.h"
#include "core/app/lists_area.h"
#include "core/app/search_area.h"
#include "core/app/search_view.h"
#include "core/text/numbers.h"

namespace sorano {
namespace {

constexpr int kSearchDialog = 32826;
constexpr int kScreeningDialog = 32969;

void ShowFound(Workspace& ws, Shell& shell, Prompt& prompt, std::vector<int32_t> codes) {
  ListSource found;
  found.kind = SourceKind::kCodes;
  found.codes = std::move(codes);
  ShowListSource(ws, shell, prompt, std::move(found));
}

void SearchDialog(Workspace& ws, Shell& shell, Prompt& prompt) {
  const std::optional<SearchBoxes> boxes = shell.Search().RunSearchDialog();
  if (!boxes) return;
  if (!boxes->code.empty()) {
    // The box takes up to four digits; anything else names no brand.
    if (boxes->code.size() <= 4 && boxes->code.find_first_not_of("0123456789") == std::string::npos)
      ShowBrand(ws, shell, prompt, LeadingInt(boxes->code));
    return;
  }
  NameSearch(ws, shell, prompt, boxes->name);
}

void ScreeningDialog(Workspace& ws, Shell& shell, Prompt& prompt) {
  ScreeningSelections selections = KeptSelections(ws.settings);
  if (!shell.Search().RunScreeningDialog(selections)) return;
  KeepSelections(ws.settings, selections);
  ShowFound(ws, shell, prompt, Screen(ws.brands, KeptSelections(ws.settings)));
}

}  // namespace

void NameSearch(Workspace& ws, Shell& shell, Prompt& prompt, std::string_view utf8) {
  if (utf8.empty()) return;
  ShowFound(ws, shell, prompt, SearchByName(ws.brands, utf8));
}

bool ExecuteSearchCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  switch (id) {
    case kSearchDialog:
      SearchDialog(ws, shell, prompt);
      return true;
    case kScreeningDialog:
      ScreeningDialog(ws, shell, prompt);
      return true;
  }
  return false;
}

}  // namespace sorano
