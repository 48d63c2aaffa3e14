#pragma once
// The data behind sorano-feed: which brands exist, their names and markets, and each brand's daily
// history, either synthetic (a deterministic random walk per code) or read from CSV files.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace sorano::feed {

// A price the page prints as "---".
inline constexpr int64_t kMissing = -1;

// One trading day. Prices in yen (index values in hundredths of a point), volume in shares.
struct FeedDay {
  int32_t date = 0;  // yyyymmdd
  int64_t open = 0, high = 0, low = 0, close = 0;
  int64_t volume = 0;
  int64_t adjClose = 0;  // close / product of the ratios of the splits after this day, rounded
};

struct FeedBrand {
  int32_t code = 0;
  int32_t market = 1;
  std::string nameSjis;
};

class FeedData {
 public:
  // brandsFile: "code,market,sector,name" Shift_JIS lines (resources/default.dat); may be missing.
  // csvFolder: when not empty, histories come from <folder>/<code>.csv and only those codes exist.
  // today: yyyymmdd, the last day of the synthetic histories.
  FeedData(const std::string& brandsFile, std::string csvFolder, int32_t today);

  int32_t today() const { return today_; }
  // The brand a service symbol names ("7203", "7203.j", "998405", ...), or nullopt when none exists.
  std::optional<FeedBrand> BrandForSymbol(const std::string& symbol) const;
  std::optional<FeedBrand> Brand(int32_t code) const;
  // The whole history of an existing brand, oldest first. The last few histories are kept, so the
  // pages of one download do not build it again (a changed CSV file is read again).
  std::shared_ptr<const std::vector<FeedDay>> History(int32_t code) const;

  static bool IsIndex(int32_t code) { return code == 1010 || code == 1020 || code == 1030; }

 private:
  std::vector<FeedDay> Synthetic(int32_t code) const;
  std::vector<FeedDay> FromCsv(int32_t code) const;

  struct Cached {
    int32_t code = 0;
    std::string stamp;  // CSV size and modification time; empty for synthetic histories
    std::shared_ptr<const std::vector<FeedDay>> days;
  };
  std::string Stamp(int32_t code) const;

  std::map<int32_t, FeedBrand> listed_;
  mutable std::mutex cacheMutex_;
  mutable std::vector<Cached> cache_;  // most recent last
  std::string csvFolder_;
  int32_t today_;
};

// Today's local date as yyyymmdd.
int32_t LocalToday();
// Day of the week of yyyymmdd, 0 = Sunday.
int Weekday(int32_t date);

}  // namespace sorano::feed
