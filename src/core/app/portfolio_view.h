#pragma once
// What the portfolio commands need from the desktop layer: the dialogs "口座買付", "口座編集",
// "口座売付" and "履歴編集", each laid out by its Form (portfolio_forms.h).
#include <functional>

#include "core/portfolio/portfolio_forms.h"

namespace sorano {

// Called with the boxes as edited when OK is pressed: true closes the dialog, false keeps it open
// (the function has told the user why).
template <typename Boxes>
using AcceptBoxes = std::function<bool(const Boxes&)>;

class PortfolioView {
 public:
  virtual ~PortfolioView() = default;
  // Each runs its dialog modally, its boxes showing boxes. True when it closed after an accepted OK,
  // false after キャンセル.
  virtual bool RunHoldingDialog(const Form<HoldingBoxes>& form, const HoldingBoxes& boxes,
                                const AcceptBoxes<HoldingBoxes>& accept) = 0;
  virtual bool RunSellDialog(const SellBoxes& boxes, const AcceptBoxes<SellBoxes>& accept) = 0;
  virtual bool RunTradeDialog(const TradeBoxes& boxes, const AcceptBoxes<TradeBoxes>& accept) = 0;
};

}  // namespace sorano
