#pragma once
// The series of the comparison chart's brands (check_hikaku_code00-02) and of the price chart's
// comparison line (check_hikakulinecode), read once per brand, period and adjustment and kept until
// Forget or until the brand's price file changes (another process may rewrite it): a paint, a scroll or
// a resize looks at the file's stamp only.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/chart/price_series.h"
#include "core/fs/file_io.h"
#include "core/settings/data_folder.h"

namespace sorano {

class ComparisonSeriesSet {
 public:
  static constexpr int kSlots = 3;     // the comparison chart's brands: slots 0 ... 2
  static constexpr int kLineSlot = 3;  // the price chart's comparison line

  // The series of code for slot 0 ... kLineSlot in the period and adjustment, read from the folder
  // unless the slot holds it already from the price file as it now stands. nullptr for code 0 (no brand) or
  // another slot; a brand without a price file gives a series of count -1.
  const PriceSeries* Get(int slot, const DataFolder& folder, int32_t code, int period, int adjust);

  // The next Get reads the files again (a download job ended: it may have rewritten them).
  void Forget();

 private:
  struct Slot {
    std::string folder;
    int32_t code = 0;
    int period = -1;
    int adjust = -1;
    bool loaded = false;
    std::optional<FileStamp> stamp;       // of the price file read
    std::unique_ptr<PriceSeries> series;  // allocated at the first read
  };
  std::array<Slot, kLineSlot + 1> slots_;
};

}  // namespace sorano
