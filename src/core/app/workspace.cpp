#include "core/app/workspace.h"

#include "core/chart/price_series_load.h"

namespace sorano {

int ReloadSeries(Workspace& ws) {
  const int count = LoadMainSeries(ws.series, ws.settings);
  // As after a size notification: the window ends at the newest bar (the next paint clamps first).
  ws.window.first = count > 0 ? count : 0;
  ws.comparisons.Forget();
  return count;
}

}  // namespace sorano
