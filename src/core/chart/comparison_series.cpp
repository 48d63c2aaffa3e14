#include "core/chart/comparison_series.h"

#include "core/chart/price_series_load.h"
#include "core/store/chart_file.h"

namespace sorano {

const PriceSeries* ComparisonSeriesSet::Get(int slot, const DataFolder& folder, int32_t code, int period,
                                            int adjust) {
  if (code == 0 || slot < 0 || slot > kLineSlot) return nullptr;
  Slot& s = slots_[static_cast<size_t>(slot)];
  std::optional<FileStamp> stamp = StampOf(PriceFilePath(folder, code));
  if (!s.loaded || s.code != code || s.period != period || s.adjust != adjust ||
      s.folder != folder.prefix() || s.stamp != stamp) {
    if (!s.series) s.series = std::make_unique<PriceSeries>();
    LoadPriceSeries(*s.series, folder, code, period, adjust);
    s.stamp = std::move(stamp);
    s.folder = folder.prefix();
    s.code = code;
    s.period = period;
    s.adjust = adjust;
    s.loaded = true;
  }
  return s.series.get();
}

void ComparisonSeriesSet::Forget() {
  for (Slot& s : slots_) s.loaded = false;
}

}  // namespace sorano
