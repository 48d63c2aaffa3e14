#include "core/chart/trend_overlays.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/chart/look_back.h"
#include "core/chart/moving_average.h"

namespace sorano {

namespace {

// The visible positions that really hold bars (a window past the series end shows nothing there).
int VisibleBars(const PriceSeries& s, const ChartWindow& w) {
  if (w.first < 0) return 0;
  return std::max(0, std::min(w.visible, s.count() - w.first));
}

int StartAt(int position, int first) {
  return position >= first ? position : 1;
}

}  // namespace

std::vector<int32_t> MidPrices(const PriceSeries& s, int n, int from, int to) {
  std::vector<int32_t> out(static_cast<size_t>(std::max(0, to - from + 1)), kNoValue);
  if (n <= 0) return out;
  // The u whose n bars are all in the series.
  const int lo = std::max(from, n - 1), hi = std::min(to, s.count() - 1);
  if (lo > hi) return out;
  const auto highs = SlidingExtremes(
      lo, hi, n, [&](int m) { return int64_t{s[m].high}; }, std::greater<int64_t>());
  const auto lows = SlidingExtremes(
      lo, hi, n, [&](int m) { return int64_t{s[m].low}; }, std::less<int64_t>());
  for (int u = lo; u <= hi; ++u) {
    const size_t i = static_cast<size_t>(u - lo);
    const int64_t highest = std::max<int64_t>(0, highs[i].value);
    const int64_t lowest = std::min<int64_t>(1000000000, lows[i].value);
    out[static_cast<size_t>(u - from)] = Saturate32((highest + lowest) / 2);
  }
  return out;
}

IchimokuLines ComputeIchimoku(const PriceSeries& s, const ChartWindow& w, int B, int C, int S, int L) {
  IchimokuLines r;
  const int visible = VisibleBars(s, w);
  if (visible <= 0 || B < 1 || C < 1 || S < 1 || L < 1 || B > PriceSeries::kCapacity ||
      L > PriceSeries::kCapacity || S > PriceSeries::kCapacity) {
    return r;
  }
  const int ahead = visible + B;
  r.ahead = ahead;
  r.base.assign(static_cast<size_t>(ahead), kNoValue);
  r.conv.assign(static_cast<size_t>(ahead), kNoValue);
  r.spanA.assign(static_cast<size_t>(ahead), kNoValue);
  r.spanB.assign(static_cast<size_t>(ahead), kNoValue);
  r.lag.assign(static_cast<size_t>(visible), kNoValue);
  // The mid prices of bars first - L ... first + ahead - 1 (base, conversion and the first span
  // L back) and of the second span's bars.
  const int from = w.first - L, to = w.first + ahead - 1;
  const std::vector<int32_t> midB = MidPrices(s, B, from, to), midC = MidPrices(s, C, from, to);
  const std::vector<int32_t> midS = MidPrices(s, S, w.first - S + L, to - S + L);
  for (int j = 0; j < ahead; ++j) {
    const int t = w.first + j;
    const size_t k = static_cast<size_t>(j);
    if (j < visible) {
      r.base[k] = midB[static_cast<size_t>(t - from)];
      r.conv[k] = midC[static_cast<size_t>(t - from)];
      if (t + L < s.count()) r.lag[k] = s[t + L].close;
    }
    const int32_t a = midB[static_cast<size_t>(t - L - from)];
    const int32_t b = midC[static_cast<size_t>(t - L - from)];
    if (a != kNoValue && b != kNoValue) r.spanA[k] = Saturate32((static_cast<int64_t>(a) + b) / 2);
    r.spanB[k] = midS[k];
  }
  r.cloudStart = r.spanBStart = StartAt(S + L, w.first);
  r.spanAStart = StartAt(B + L, w.first);
  r.lagStart = StartAt(L, w.first);
  r.convStart = StartAt(C, w.first);
  r.baseStart = StartAt(B, w.first);
  return r;
}

std::vector<int32_t> ComputeParabolic(const PriceSeries& s, const ChartWindow& w) {
  const int visible = VisibleBars(s, w);
  std::vector<int32_t> sar(static_cast<size_t>(visible), 0);
  bool rising = true;
  int64_t ep = 0, af = 2, hh = 0, ll = 1000000000;
  int64_t prev = 0;
  for (int j = 0; j < visible; ++j) {
    const PriceBar& b = s[w.first + j];
    hh = std::max<int64_t>(hh, b.high);
    ll = std::min<int64_t>(ll, b.low);
    if (rising ? b.high > ep : b.low < ep) {
      ep = rising ? b.high : b.low;
      if (af < 20) af += 4;
    }
    int64_t v = j == 0 ? static_cast<int64_t>(s[w.first].high) : prev + ((ep - prev) * af) / 100;
    if (rising && b.low < v) {
      v = hh;
      af = 2, hh = 0, ll = 1000000000;
      rising = false;
    } else if (!rising && b.high > v) {
      v = ll;
      af = 2, hh = 0, ll = 1000000000;
      rising = true;
    }
    v = Saturate32(v);
    sar[static_cast<size_t>(j)] = static_cast<int32_t>(v);
    prev = v;
  }
  return sar;
}

namespace {

// The two turn tests shared by the zigzag and the peak labels. No turn is detected at the last bar of
// the series, which has no next bar to compare with.
template <typename OnTurn>
void WalkTurns(const PriceSeries& s, const ChartWindow& w, double z, OnTurn onTurn) {
  const int visible = VisibleBars(s, w);
  double pivot = 0;
  for (int j = 0; j < visible; ++j) {
    const int t = w.first + j;
    if (t + 1 >= s.count()) continue;
    const PriceBar& b = s[t];
    const int32_t nextHigh = s[t + 1].high;
    if (b.high > pivot * (1 + z) && b.high > nextHigh) {
      pivot = b.high;
      onTurn(TurnPoint{j, b.high, true});
    } else if (b.low < pivot * (1 - z) && b.high < nextHigh) {
      pivot = b.low;
      onTurn(TurnPoint{j, b.low, false});
    }
  }
}

}  // namespace

std::vector<TurnPoint> ComputeZigzag(const PriceSeries& s, const ChartWindow& w, double z) {
  std::vector<TurnPoint> out;
  bool falling = true;  // the last pivot was a trough
  WalkTurns(s, w, z, [&](const TurnPoint& p) {
    // A further trough while falling only moves the pivot.
    if (p.peak || !falling) out.push_back(p);
    falling = !p.peak;
  });
  const int visible = VisibleBars(s, w);
  if (!out.empty()) out.push_back(TurnPoint{visible - 1, s[w.first + visible - 1].low, false});
  return out;
}

std::vector<TurnPoint> ComputePeaksAndTroughs(const PriceSeries& s, const ChartWindow& w, double z) {
  std::vector<TurnPoint> out;
  WalkTurns(s, w, z, [&](const TurnPoint& p) { out.push_back(p); });
  return out;
}

std::array<int64_t, 20> ComputeVolumeByPrice(const PriceSeries& s, const ChartWindow& w, int32_t bottom,
                                             int32_t range) {
  std::array<int64_t, 20> totals;
  totals.fill(0);
  const double width = (range > 0 ? range : 1) / 20.0;
  const int visible = VisibleBars(s, w);
  for (int j = 0; j < visible; ++j) {
    const PriceBar& b = s[w.first + j];
    const double band = std::floor((static_cast<double>(b.close) - bottom) / width);
    const int i = band < 0 ? 0 : (band > 19 ? 19 : static_cast<int>(band));  // the top band takes top
    // Every bar weighs its whole volume: 12000 bars of at most INT32_MAX shares fit in 64 bits.
    totals[static_cast<size_t>(i)] += std::max(0, b.volume);
  }
  return totals;
}

int VolumeBarLength(const std::array<int64_t, 20>& totals, int band, int clientWidth) {
  const int64_t largest = *std::max_element(totals.begin(), totals.end());
  if (band < 0 || band >= 20 || largest <= 0) return 0;
  return static_cast<int>(totals[static_cast<size_t>(band)] * (clientWidth / 2) / largest);
}

bool IsIndexCode(int code) {
  return code == 1010 || code == 1020 || code == 1030;
}

std::vector<int> ComputeSplitMarks(const PriceSeries& s, const ChartWindow& w) {
  const auto floored = [](double f) -> int64_t {
    if (!(std::fabs(f) < 1e15)) return 0;  // NaN or absurd factors compare as 0
    return static_cast<int64_t>(std::floor(f * 100));
  };
  std::vector<int> marks;
  const int visible = VisibleBars(s, w);
  for (int p = w.first > 0 ? 0 : 1; p <= visible - 2; ++p) {
    if (floored(s[w.first + p].factor) != floored(s[w.first + p - 1].factor)) marks.push_back(p);
  }
  return marks;
}

BaseLineValues ComputeBaseLines(const BaseLineInputs& in) {
  BaseLineValues v;
  v.bookValue = Trunc32(in.bps);
  if (in.equityRatio != 0 && in.sharesIssued != 0)
    v.assetValue = Trunc32(in.sharesIssued * in.bps / (in.equityRatio / 100) / in.sharesIssued);
  return v;
}

int32_t DateKey(const PriceBar& b) {
  return Saturate32(static_cast<int64_t>(b.year) * 10000 + static_cast<int64_t>(b.month) * 100 + b.day);
}

ComparisonLine ComputeComparison(const PriceSeries& main, const ChartWindow& w, const PriceSeries& other) {
  ComparisonLine line;
  const int visible = VisibleBars(main, w);
  if (visible <= 0 || other.count() <= 0) return line;
  const int32_t d0 = DateKey(main[w.first]);
  const int32_t d1 = DateKey(main[w.first + visible - 1]);
  for (const PriceBar& b : other.bars()) {
    const int32_t key = DateKey(b);
    if (key >= d0 && key <= d1) {
      line.closes.push_back(b.close);
      line.dates.push_back(key);
    }
  }
  // A first close of 0 cannot be scaled onto the main series: no line rather than a division by zero.
  if (line.closes.empty() || line.closes.front() == 0) return ComparisonLine{};
  const double ratio = static_cast<double>(main[w.first].close) / line.closes.front();
  for (int32_t& c : line.closes) c = Trunc32(c * ratio);
  return line;
}

}  // namespace sorano
