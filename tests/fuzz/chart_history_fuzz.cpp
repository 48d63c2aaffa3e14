// The history page parser on any page the service could send (EUC-JP bytes, converted as a download
// converts them), for an index and for a brand: never more rows than asked for, every factor finite,
// index rows with volume 1 and factor 1.0, and the same rows whatever the limit cuts off.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/net/chart_history.h"
#include "core/net/euc.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t maxRows = data[0] % 64;
  const std::string page =
      sorano::EucToShiftJis(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  for (bool index : {false, true}) {
    const sorano::HistoryPage all = sorano::ParseHistoryPage(page, index, sorano::kMaxChartRecords);
    const sorano::HistoryPage some = sorano::ParseHistoryPage(page, index, maxRows);
    FUZZ_CHECK(some.rows.size() == std::min(maxRows, all.rows.size()));
    FUZZ_CHECK(some.hasNext == all.hasNext && some.noData == all.noData);
    FUZZ_CHECK(!all.noData || all.rows.empty());
    for (size_t i = 0; i < all.rows.size(); ++i) {
      const sorano::HistoryDay& row = all.rows[i];
      FUZZ_CHECK(std::isfinite(row.volume.factor));
      if (index) FUZZ_CHECK(row.volume.volume == 1 && row.volume.factor == 1.0);
      if (i < some.rows.size()) {
        FUZZ_CHECK(std::memcmp(&some.rows[i].record, &row.record, sizeof row.record) == 0);
        FUZZ_CHECK(std::memcmp(&some.rows[i].volume, &row.volume, sizeof row.volume) == 0);
      }
    }
  }
  return 0;
}
