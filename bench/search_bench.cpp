// Finding brands and the account list, in core, on the shipped brand list (about 4000 brands) with
// random quotes: a screening with all sixteen conditions set (aim 2 ms), a name search (aim 2 ms), and
// filling the account list of 999 holdings (aim 5 ms).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "core/lists/brand_list.h"
#include "core/lists/brand_search.h"
#include "shipped_brands.h"

namespace sorano {
namespace {

struct Data {
  std::unique_ptr<BrandTable> brands = std::make_unique<BrandTable>();
  std::unique_ptr<FolderTable> folders = std::make_unique<FolderTable>();
  std::unique_ptr<HoldingTable> holdings = std::make_unique<HoldingTable>();
  std::unique_ptr<TradeTable> trades = std::make_unique<TradeTable>();
  SizeClasses sizes;

  Data() {
    bench::ShippedDataFolder().Load(*brands);
    std::mt19937 rng(4000);
    std::vector<int32_t> used;
    for (int32_t code = 0; code < static_cast<int32_t>(kBrandCount); ++code) {
      BrandRecord& r = (*brands)[static_cast<size_t>(code)];
      if (r.price == 0) continue;
      used.push_back(code);
      // The worst case of a screening: every brand passes every condition of the benchmark's
      // selections, so none is cut short.
      r.market = 1 + code % 3;
      r.sector = 16 + code % 3;
      r.price = 100 + static_cast<int32_t>(rng() % 20000);
      r.unitValue = 50000 + static_cast<int32_t>(rng() % 50000);
      r.marketCap = 10000 + static_cast<int32_t>(rng() % 40000);
      const auto ratio = [&] { return 3.0 + static_cast<double>(rng() % 200) / 100.0; };
      r.dividendYield = ratio();
      r.eps = r.price * ratio() / 100.0;
      r.dividendPerShare = r.price / ratio();
      r.per = ratio();
      r.pbr = ratio();
      r.equityRatio = ratio();
      r.roe = ratio();
      r.roa = ratio();
    }
    for (Holding& h : holdings->slots) {
      h.code = used[rng() % used.size()];
      h.buyYear = 2000 + static_cast<int32_t>(rng() % 25);
      h.buyMonth = 1 + static_cast<int32_t>(rng() % 12);
      h.buyDay = 1 + static_cast<int32_t>(rng() % 28);
      h.quantity = 100 * (1 + static_cast<int32_t>(rng() % 50));
      h.buyPrice = 100 + static_cast<int32_t>(rng() % 20000);
    }
  }
};

Data& Shared() {
  static Data data;
  return data;
}

// Every condition set: three markets, three sectors, 10万円未満, 500億円未満 and 5%未満 for each ratio.
void BM_ScreenAllConditions(benchmark::State& state) {
  const Data& d = Shared();
  const ScreeningSelections s = {1, 2, 3, 16, 17, 18, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3};
  size_t found = 0;
  for (auto _ : state) {
    const std::vector<int32_t> codes = Screen(*d.brands, s);
    found = codes.size();
    benchmark::DoNotOptimize(codes.data());
  }
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_ScreenAllConditions)->Unit(benchmark::kMicrosecond);

void BM_NameSearch(benchmark::State& state) {
  const Data& d = Shared();
  size_t found = 0;
  for (auto _ : state) {
    const std::vector<int32_t> codes = SearchByName(*d.brands, "電気");
    found = codes.size();
    benchmark::DoNotOptimize(codes.data());
  }
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_NameSearch)->Unit(benchmark::kMicrosecond);

void BM_FillAccount999(benchmark::State& state) {
  const Data& d = Shared();
  BrandList list;
  ListSource account;
  account.kind = SourceKind::kAccount;
  for (auto _ : state) {
    list.Fill(account, {*d.brands, *d.folders, *d.holdings, *d.trades, d.sizes});
    benchmark::DoNotOptimize(list.rows().data());
  }
  state.counters["rows"] = static_cast<double>(list.rows().size());
}
BENCHMARK(BM_FillAccount999)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sorano

BENCHMARK_MAIN();
