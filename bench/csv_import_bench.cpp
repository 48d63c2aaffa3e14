// Importing a daily history from CSV:
//  - a file of a million dated rows (about 45 MB, newest first): read line by line, the newest 12000
//    days kept, merged and written;
//  - a file that is a single 64 MB line: refused at its first 4096 bytes.
// The counter max_rss_MB is the process's peak resident memory after the runs; the file sizes are far
// above it when the reading is bounded.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/store/csv_import.h"

namespace sorano {
namespace {

const std::string& Folder() {
  static const std::string dir = [] {
    const auto p = std::filesystem::temp_directory_path() / "sorano-bench-csv";
    std::filesystem::create_directories(p);
    return p.string() + "/";
  }();
  return dir;
}

// Rows dated day by day back from 9999 (28 days a month), prices and volumes varying with the row.
std::string MillionRowFile() {
  const std::string path = Folder() + "million.csv";
  if (std::filesystem::exists(path)) return path;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs("Date,Open,High,Low,Close,Adj Close,Volume\n", f);
  int rows = 0;
  for (int y = 9999; rows < 1000000; --y)
    for (int m = 12; m >= 1 && rows < 1000000; --m)
      for (int d = 28; d >= 1 && rows < 1000000; --d, ++rows) {
        const int p = 1000 + rows % 500;
        std::fprintf(f, "%04d-%02d-%02d,%d,%d,%d,%d,%d.5,%d\n", y, m, d, p, p + 20, p - 20, p + 5, p,
                     rows * 7);
      }
  std::fclose(f);
  return path;
}

std::string OneLineFile() {
  const std::string path = Folder() + "oneline.csv";
  if (std::filesystem::exists(path)) return path;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  const std::string block(1 << 20, '7');
  for (int i = 0; i < 64; ++i) std::fwrite(block.data(), 1, block.size(), f);
  std::fclose(f);
  return path;
}

double PeakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
}

void BM_ImportMillionRows(benchmark::State& state) {
  const std::string csv = MillionRowFile();
  const DataFolder folder(Folder());
  for (auto _ : state) {
    const CsvImportResult r = ImportChartCsv(folder, 7203, csv, true);
    if (r.error != CsvImportError::kNone || r.storedDays != 12000) state.SkipWithError("import failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(csv)));
  state.counters["max_rss_MB"] = PeakRssMb();
}
BENCHMARK(BM_ImportMillionRows)->Unit(benchmark::kMillisecond);

void BM_RefuseOneHugeLine(benchmark::State& state) {
  const std::string csv = OneLineFile();
  const DataFolder folder(Folder());
  for (auto _ : state) {
    const CsvImportResult r = ImportChartCsv(folder, 7204, csv, true);
    if (r.error != CsvImportError::kLineTooLong) state.SkipWithError("not refused");
  }
  state.counters["max_rss_MB"] = PeakRssMb();
}
BENCHMARK(BM_RefuseOneHugeLine)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sorano

BENCHMARK_MAIN();
