#include "feed_data.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>

#include "core/fs/file_io.h"
#include "core/text/numbers.h"

namespace sorano::feed {
namespace {

using namespace std::chrono;

constexpr int32_t kFirstDay = 19830104;

year_month_day ToYmd(int32_t date) {
  return year_month_day{year{date / 10000}, month{static_cast<unsigned>(date / 100 % 100)},
                        day{static_cast<unsigned>(date % 100)}};
}

int32_t FromYmd(const year_month_day& ymd) {
  return static_cast<int>(ymd.year()) * 10000 + static_cast<int>(static_cast<unsigned>(ymd.month())) * 100 +
         static_cast<int>(static_cast<unsigned>(ymd.day()));
}

// splitmix64: small, fast and the same on every platform, so a code's history never changes.
struct Random {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
  // Roughly normal with mean 0 and deviation 1.
  double Normal() { return (Uniform() + Uniform() + Uniform() + Uniform() - 2.0) * 1.7320508; }
};

std::vector<int32_t> TradingDays(int32_t today) {
  std::vector<int32_t> list;
  if (today < kFirstDay) return list;
  const sys_days last{ToYmd(today)};
  for (sys_days d{ToYmd(kFirstDay)}; d <= last; d += std::chrono::days{1}) {
    const weekday wd{d};
    if (wd == Saturday || wd == Sunday) continue;
    const int32_t date = FromYmd(year_month_day{d});
    const int md = date % 10000;
    if (md <= 103 || md == 1231) continue;  // the exchange's new-year holidays
    list.push_back(date);
  }
  return list;
}

std::vector<std::string_view> SplitLine(std::string_view line, char sep) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (;;) {
    size_t p = line.find(sep, start);
    out.push_back(line.substr(start, p == std::string_view::npos ? std::string_view::npos : p - start));
    if (p == std::string_view::npos) break;
    start = p + 1;
  }
  return out;
}

}  // namespace

int32_t LocalToday() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return (tm.tm_year + 1900) * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday;
}

int Weekday(int32_t date) {
  return static_cast<int>(weekday{sys_days{ToYmd(date)}}.c_encoding());
}

FeedData::FeedData(const std::string& brandsFile, std::string csvFolder, int32_t today)
    : csvFolder_(std::move(csvFolder)), today_(today) {
  if (auto text = ReadWholeFile(brandsFile, 16u << 20)) {
    std::string_view all(*text);
    size_t pos = 0;
    while (pos < all.size()) {
      size_t end = all.find('\n', pos);
      std::string_view line =
          all.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
      pos = end == std::string_view::npos ? all.size() : end + 1;
      while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      auto cells = SplitLine(line, ',');
      if (cells.size() < 2) continue;
      const int32_t code = LeadingInt(cells[0]);
      if (code < 1 || code > 9999) continue;
      FeedBrand b;
      b.code = code;
      b.market = LeadingInt(cells[1]);
      if (cells.size() >= 4) {
        // The name is the rest of the line after the third comma.
        size_t at = cells[0].size() + cells[1].size() + cells[2].size() + 3;
        b.nameSjis = std::string(line.substr(std::min(at, line.size())));
      }
      listed_[code] = std::move(b);
    }
  }
}

std::optional<FeedBrand> FeedData::Brand(int32_t code) const {
  FeedBrand b;
  b.code = code;
  auto it = listed_.find(code);
  if (it != listed_.end()) b = it->second;
  if (b.nameSjis.empty()) {
    // "銘柄" and the code, in Shift_JIS.
    b.nameSjis = std::string("\x96\xC1\x95\xBF") + std::to_string(code);
  }
  if (IsIndex(code)) {
    b.market = 1;
    return b;
  }
  if (!csvFolder_.empty()) {
    if (FileExists(csvFolder_ + "/" + std::to_string(code) + ".csv", 0) != 1) return std::nullopt;
    return b;
  }
  if (code < 1300 || code > 9999) return std::nullopt;
  if (!listed_.empty() && it == listed_.end()) return std::nullopt;
  return b;
}

std::optional<FeedBrand> FeedData::BrandForSymbol(const std::string& symbol) const {
  if (symbol == "998405") return Brand(1010);
  if (symbol == "998407") return Brand(1020);
  if (symbol == "23337") return Brand(1030);
  std::string_view s(symbol);
  if (s.ends_with(".j") || s.ends_with(".J")) s.remove_suffix(2);
  if (s.empty() || s.size() > 4 ||
      !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const int32_t code = LeadingInt(s);
  if (IsIndex(code)) return std::nullopt;  // indices are asked for by their own symbols only
  return Brand(code);
}

std::string FeedData::Stamp(int32_t code) const {
  if (csvFolder_.empty()) return {};
  std::error_code ec;
  const std::filesystem::path p = csvFolder_ + "/" + std::to_string(code) + ".csv";
  const auto size = std::filesystem::file_size(p, ec);
  if (ec) return "missing";
  const auto time = std::filesystem::last_write_time(p, ec);
  return std::to_string(size) + ":" + std::to_string(time.time_since_epoch().count());
}

std::shared_ptr<const std::vector<FeedDay>> FeedData::History(int32_t code) const {
  constexpr size_t kCacheSize = 8;
  const std::string stamp = Stamp(code);
  {
    std::lock_guard lock(cacheMutex_);
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
      if (it->code == code && it->stamp == stamp) {
        Cached hit = *it;
        cache_.erase(it);
        cache_.push_back(hit);
        return hit.days;
      }
    }
  }
  auto days =
      std::make_shared<const std::vector<FeedDay>>(csvFolder_.empty() ? Synthetic(code) : FromCsv(code));
  std::lock_guard lock(cacheMutex_);
  std::erase_if(cache_, [code](const Cached& c) { return c.code == code; });
  if (cache_.size() >= kCacheSize) cache_.erase(cache_.begin());
  cache_.push_back({code, stamp, days});
  return days;
}

std::vector<FeedDay> FeedData::Synthetic(int32_t code) const {
  const std::vector<int32_t> days = TradingDays(today_);
  std::vector<FeedDay> out(days.size());
  if (days.empty()) return out;
  Random rnd{static_cast<uint64_t>(code) * 7919u + 0x5EED};
  const bool index = IsIndex(code);
  // Index values are kept in hundredths of a point.
  double price = index ? (code == 1010   ? 800000.0
                          : code == 1020 ? 60000.0
                                         : 150000.0)
                       : 150.0 + static_cast<double>(rnd.Next() % 4000);
  const double drift = index ? 0.00008 : 0.0001;
  const double vol = index ? 0.009 : 0.016;
  // A few stock splits: day index and ratio.
  std::vector<std::pair<size_t, double>> splits;
  if (!index) {
    static constexpr double kRatios[] = {2.0, 2.0, 1.5, 5.0, 1.1, 3.0};
    const int count = static_cast<int>(rnd.Next() % 4);
    for (int i = 0; i < count; ++i)
      splits.emplace_back(1 + rnd.Next() % (days.size() > 1 ? days.size() - 1 : 1), kRatios[rnd.Next() % 6]);
    std::sort(splits.begin(), splits.end());
  }
  const double baseVolume = 1.5e8 / std::max(price, 50.0);
  for (size_t i = 0; i < days.size(); ++i) {
    for (auto& [at, ratio] : splits)
      if (at == i) price /= ratio;
    const double prev = price;
    price *= 1.0 + drift + vol * rnd.Normal();
    price = std::max(price, index ? 1000.0 : 1.0);
    const double open = std::max(1.0, prev * (1.0 + 0.004 * rnd.Normal()));
    const double high = std::max(open, price) * (1.0 + 0.006 * rnd.Uniform());
    const double low = std::max(1.0, std::min(open, price) * (1.0 - 0.006 * rnd.Uniform()));
    FeedDay& d = out[i];
    d.date = days[i];
    d.open = std::llround(open);
    d.high = std::llround(high);
    d.low = std::llround(low);
    d.close = std::llround(price);
    d.high = std::max({d.high, d.open, d.close});
    d.low = std::min({d.low, d.open, d.close});
    if (!index) {
      const double v = baseVolume * (0.3 + 1.7 * rnd.Uniform()) * (1 + 0.3 * std::abs(rnd.Normal()));
      d.volume = std::min<int64_t>(2000000000, std::llround(v / 1000.0) * 1000);
    }
  }
  // Adjusted close: a day before a split is worth 1/ratio of today's shares.
  double factor = 1.0;
  size_t next = splits.size();
  for (size_t i = days.size(); i-- > 0;) {
    while (next > 0 && splits[next - 1].first > i) factor /= splits[--next].second;
    out[i].adjClose = std::llround(static_cast<double>(out[i].close) * factor);
  }
  return out;
}

std::vector<FeedDay> FeedData::FromCsv(int32_t code) const {
  std::vector<FeedDay> out;
  auto text = ReadWholeFile(csvFolder_ + "/" + std::to_string(code) + ".csv", 64u << 20);
  if (!text) return out;
  const bool index = IsIndex(code);
  auto price = [index](std::string_view cell) -> int64_t {
    if (cell.empty() || cell == "null" || cell == "---") return kMissing;
    const double v = LeadingDouble(cell);
    return std::llround(index ? v * 100.0 : v);
  };
  std::string_view all(*text);
  size_t pos = 0;
  while (pos < all.size()) {
    size_t end = all.find('\n', pos);
    std::string_view line =
        all.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? all.size() : end + 1;
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] < '0' || line[0] > '9') continue;  // header or blank line
    auto cells = SplitLine(line, ',');
    if (cells.size() < 5) continue;
    auto dateParts = SplitLine(cells[0], cells[0].find('/') != std::string_view::npos ? '/' : '-');
    if (dateParts.size() != 3) continue;
    FeedDay d;
    d.date = LeadingInt(dateParts[0]) * 10000 + LeadingInt(dateParts[1]) * 100 + LeadingInt(dateParts[2]);
    d.open = price(cells[1]);
    d.high = price(cells[2]);
    d.low = price(cells[3]);
    d.close = price(cells[4]);
    d.volume = cells.size() > 5 ? LeadingInt64(cells[5]) : 0;
    d.adjClose = cells.size() > 6 ? price(cells[6]) : d.close;
    out.push_back(d);
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const FeedDay& a, const FeedDay& b) { return a.date < b.date; });
  out.erase(std::unique(out.begin(), out.end(),
                        [](const FeedDay& a, const FeedDay& b) { return a.date == b.date; }),
            out.end());
  return out;
}

}  // namespace sorano::feed
