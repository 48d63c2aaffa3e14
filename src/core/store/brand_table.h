#pragma once
// The brand master in memory (10000 BrandRecords indexed by BrandCode) and its files: the binary
// image data/view.dat and the shipped list data/default.dat.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"
#include "core/store/brand_record.h"

namespace sorano {

// Allocated once, zero-filled. A download worker and the UI thread share one table: whoever reads or
// writes records while another thread may touch them holds mutex() for the access (lock per record
// update or per batch, never across a network request). LoadBrandTable, SaveBrandTable and
// ApplyDefaultData take the lock themselves; do not call them while holding it.
class BrandTable {
 public:
  BrandTable();
  BrandTable(const BrandTable&) = delete;
  BrandTable& operator=(const BrandTable&) = delete;

  // code must be below kBrandCount; a larger one is a programming error (std::out_of_range).
  BrandRecord& operator[](size_t code) { return records_->at(code); }
  const BrandRecord& operator[](size_t code) const { return records_->at(code); }
  // nullptr for a code outside 0..9999.
  BrandRecord* Find(int32_t code);
  const BrandRecord* Find(int32_t code) const;

  std::span<BrandRecord, kBrandCount> records() { return *records_; }
  std::span<const BrandRecord, kBrandCount> records() const { return *records_; }

  std::mutex& mutex() const { return mutex_; }

 private:
  using Records = std::array<BrandRecord, kBrandCount>;
  struct Free {
    void operator()(Records* r) const;
  };
  std::unique_ptr<Records, Free> records_;  // in huge pages where the system offers them
  mutable std::mutex mutex_;
};

// Reads up to 10000 records of data/view.dat into the table (a trailing partial record is ignored) and
// returns the number read, or -1 when the file cannot be opened (table unchanged).
int LoadBrandTable(const DataFolder& folder, BrandTable& table);

// Writes all 10000 records (2,560,000 bytes) to data/view.dat atomically. 1, or 0 when it cannot.
int SaveBrandTable(const DataFolder& folder, const BrandTable& table);

// Loads view.dat, applies data/default.dat and saves view.dat. Each line of default.dat is
// "code,market,sector" with an optional fourth field, the Shift_JIS name, which fills the record's name
// when it is empty. Every listed code gets its market and sector and a price of at least 1. Codes
// outside 0..9999 and blank lines are skipped; at most 9999 lines are read.
// Returns the number of lines applied, or -1 when default.dat cannot be read ("ファイルを開けませんでした",
// caption "エラー"; nothing changed) or view.dat cannot be written. An empty default.dat changes nothing
// and returns 0.
int ApplyDefaultData(const DataFolder& folder, BrandTable& table, Prompt& prompt);

}  // namespace sorano
