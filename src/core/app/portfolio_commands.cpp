// The portfolio area of the command set: buy, sell, edit and delete in the account list, edit and
// delete in the history list. The record a command acts on is the one its selected row showed; the
// book finds it again in a file an editor may have changed meanwhile (portfolio_book.h).
#include <functional>

#include "core/app/command_area.h"
#include "core/app/lists_area.h"
#include "core/app/portfolio_view.h"
#include "core/portfolio/brand_quote.h"

namespace sorano {
namespace {

constexpr int kBuy = 32990;
constexpr int kDeleteHolding = 32991;
constexpr int kEditHolding = 32992;
constexpr int kEditTrade = 32994;
constexpr int kDeleteTrade = 33002;
constexpr int kSell = 33003;

// A dialog stays open on a refusal the user can correct there; it closes once the operation is done
// or has nothing left to act on.
bool Closes(PortfolioStatus status) {
  switch (status) {
    case PortfolioStatus::BadDate:
    case PortfolioStatus::BadQuantity:
    case PortfolioStatus::BadValue:
    case PortfolioStatus::NotWritten:
      return false;
    default:
      return true;
  }
}

// The list is filled again from the tables after every dialog and delete.
void ShowTables(Workspace& ws, Shell& shell, Prompt& prompt) {
  FillList(ws, shell, prompt, ws.list.source(), ListChange::kSameSource);
}

// The rows of the list's selection, in row order; kMsgNoItemSelected when there is none.
std::vector<ListRow> SelectedRows(const Workspace& ws, Shell& shell, Prompt& prompt) {
  std::vector<ListRow> rows;
  for (int row : shell.Lists().SelectedRows())
    if (row >= 0 && static_cast<size_t>(row) < ws.list.rows().size())
      rows.push_back(ws.list.rows()[static_cast<size_t>(row)]);
  if (rows.empty()) prompt.Message(kMsgNoItemSelected, kCaptionWarning, PromptIcon::Warning);
  return rows;
}

void Buy(Workspace& ws, Shell& shell, Prompt& prompt) {
  const DataFolder folder = ws.settings.data_folder();
  const bool ok = shell.Portfolio().RunHoldingDialog(
      BuyForm(), NewHoldingBoxes(TodayLocal()), [&](const HoldingBoxes& boxes) {
        return Closes(ws.portfolio.Buy(folder, prompt, HoldingFromBoxes(boxes)));
      });
  if (ok) ShowTables(ws, shell, prompt);
}

// Edit and sell open their dialog on the holding as the file now has it.
void OnHolding(Workspace& ws, Shell& shell, Prompt& prompt,
               const std::function<bool(const DataFolder&, int slot, const Holding& h)>& dialog) {
  const std::vector<ListRow> rows = SelectedRows(ws, shell, prompt);
  if (rows.empty()) return;
  const DataFolder folder = ws.settings.data_folder();
  const std::optional<int> slot = ws.portfolio.FindHolding(folder, prompt, rows[0].slot, rows[0].holding);
  if (!slot || dialog(folder, *slot, ws.portfolio.holdings().slots[static_cast<size_t>(*slot)]))
    ShowTables(ws, shell, prompt);
}

void EditHolding(Workspace& ws, Shell& shell, Prompt& prompt) {
  OnHolding(ws, shell, prompt, [&](const DataFolder& folder, int slot, const Holding& h) {
    return shell.Portfolio().RunHoldingDialog(
        HoldingEditForm(), HoldingBoxesOf(h), [&](const HoldingBoxes& b) {
          return Closes(ws.portfolio.EditHolding(folder, prompt, slot, h, HoldingFromBoxes(b)));
        });
  });
}

void Sell(Workspace& ws, Shell& shell, Prompt& prompt) {
  OnHolding(ws, shell, prompt, [&](const DataFolder& folder, int slot, const Holding& h) {
    const SellBoxes boxes = NewSellBoxes(h, QuoteOf(ws.brands, h.code), TodayLocal());
    return shell.Portfolio().RunSellDialog(boxes, [&](const SellBoxes& b) {
      return Closes(ws.portfolio.Sell(folder, prompt, slot, h, SaleFromBoxes(b)));
    });
  });
}

void EditTrade(Workspace& ws, Shell& shell, Prompt& prompt) {
  const std::vector<ListRow> rows = SelectedRows(ws, shell, prompt);
  if (rows.empty()) return;
  const DataFolder folder = ws.settings.data_folder();
  const std::optional<int> slot = ws.portfolio.FindTrade(folder, prompt, rows[0].slot, rows[0].trade);
  if (slot) {
    const TradeRecord t = ws.portfolio.trades().slots[static_cast<size_t>(*slot)];
    const bool ok = shell.Portfolio().RunTradeDialog(TradeBoxesOf(t), [&](const TradeBoxes& b) {
      return Closes(ws.portfolio.EditTrade(folder, prompt, *slot, t, TradeFromBoxes(b)));
    });
    if (!ok) return;
  }
  ShowTables(ws, shell, prompt);
}

// Every selected row's record is deleted; the first that cannot be ends the run.
void Delete(Workspace& ws, Shell& shell, Prompt& prompt, bool holdings) {
  const std::vector<ListRow> rows = SelectedRows(ws, shell, prompt);
  if (rows.empty()) return;
  const DataFolder folder = ws.settings.data_folder();
  for (const ListRow& row : rows) {
    const PortfolioStatus s = holdings ? ws.portfolio.DeleteHolding(folder, prompt, row.slot, row.holding)
                                       : ws.portfolio.DeleteTrade(folder, prompt, row.slot, row.trade);
    if (s != PortfolioStatus::Done) break;
  }
  ShowTables(ws, shell, prompt);
}

}  // namespace

bool ExecutePortfolioCommand(Workspace& ws, Shell& shell, Prompt& prompt, int id) {
  switch (id) {
    case kBuy:
      Buy(ws, shell, prompt);
      return true;
    case kEditHolding:
      EditHolding(ws, shell, prompt);
      return true;
    case kSell:
      Sell(ws, shell, prompt);
      return true;
    case kDeleteHolding:
      Delete(ws, shell, prompt, true);
      return true;
    case kEditTrade:
      EditTrade(ws, shell, prompt);
      return true;
    case kDeleteTrade:
      Delete(ws, shell, prompt, false);
      return true;
  }
  return false;
}

void MarkPortfolioCommand(const Workspace& ws, int id, MenuItemState& state) {
  // The account commands act on the account list, the history commands on the history list.
  const SourceKind shown = ws.list.source().kind;
  const bool history = id == kEditTrade || id == kDeleteTrade;
  state.enabled = state.enabled && shown == (history ? SourceKind::kHistory : SourceKind::kAccount);
}

}  // namespace sorano
