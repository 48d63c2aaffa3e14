// Both portfolio files from any bytes, read the way the account and history lists read them. Input:
// one byte choosing the file (bit 0: the trade history), then the file's bytes.
// At most 999 lines fill slots; saving and reading again gives the same records in the same order and
// the same text (the lines beyond the 999th ride along); every list row can be made from every record.
#include "core/portfolio/portfolio_files.h"
#include "core/portfolio/portfolio_rows.h"
#include "fuzz_support.h"

namespace {

template <typename Table, typename Load, typename Save, typename Row>
void RoundTrip(std::string_view bytes, const std::string& path, Load load, Save save, Row row) {
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  sorano::fuzz::SilentPrompt prompt;
  sorano::fuzz::WriteFile(path, bytes);
  static Table first, second;
  const int lines = load(folder, first, prompt);
  FUZZ_CHECK(lines >= 0 && lines <= sorano::kPortfolioSlots);
  FUZZ_CHECK(save(folder, first));
  const std::string saved = sorano::fuzz::ReadFile(path);
  FUZZ_CHECK(load(folder, second, prompt) >= 0);
  FUZZ_CHECK(save(folder, second));
  FUZZ_CHECK(sorano::fuzz::ReadFile(path) == saved);
  // The slots in use come back in their order (free slots in between are not written).
  const std::vector<int> used = first.SlotsInUse();
  FUZZ_CHECK(second.SlotsInUse().size() == used.size());
  for (size_t k = 0; k < used.size(); ++k) {
    const auto& r = first.slots[used[k]];
    FUZZ_CHECK(r == second.slots[k]);
    const auto cells = row(r, sorano::BrandQuote{"name", r.code, 100});
    FUZZ_CHECK(cells.icon >= sorano::kRowRising && cells.icon <= sorano::kRowFalling);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const sorano::DataFolder folder(sorano::fuzz::Scratch());
  if (data[0] & 1) {
    RoundTrip<sorano::TradeTable>(bytes, sorano::HistoryPath(folder), sorano::LoadHistory,
                                  sorano::SaveHistory, sorano::MakeHistoryRow);
  } else {
    RoundTrip<sorano::HoldingTable>(bytes, sorano::HoldingsPath(folder), sorano::LoadHoldings,
                                    sorano::SaveHoldings, sorano::MakeAccountRow);
  }
  return 0;
}
