#include "core/technical/volume_indicators.h"

#include <gtest/gtest.h>

#include "core/technical/bars.h"

namespace sorano {
namespace {

using test::FromCloses;
using test::Newest;
using test::Ramp;
using test::Repeat;

std::vector<PriceBar> WithVolumes(std::vector<PriceBar> bars, std::initializer_list<int32_t> volumes) {
  size_t i = 0;
  for (int32_t v : volumes) bars[i++].volume = v;
  return bars;
}

TEST(VolumeScale, DivisorFromTheSmallestVolume) {
  EXPECT_EQ(VolumeDivisor(0), 1);
  EXPECT_EQ(VolumeDivisor(10000), 1);
  EXPECT_EQ(VolumeDivisor(10001), 10);
  EXPECT_EQ(VolumeDivisor(12000), 10);
  EXPECT_EQ(VolumeDivisor(100000), 10);
  EXPECT_EQ(VolumeDivisor(100001), 100);
  EXPECT_EQ(VolumeDivisor(10000000), 1000);
  EXPECT_EQ(VolumeDivisor(1000000000), 100000);
  EXPECT_EQ(VolumeDivisor(1000000001), 1000000);
  EXPECT_EQ(VolumeDivisor(2147483647), 1000000);

  const auto a = WithVolumes(FromCloses(Repeat(100, 3)), {12000, 15000, 30000});
  EXPECT_EQ(VolumeScaleFor(ClampedWindow(a, 0, 3)).q, 10);
  const auto b = WithVolumes(FromCloses(Repeat(100, 3)), {10000, 15000, 30000});
  EXPECT_EQ(VolumeScaleFor(ClampedWindow(b, 0, 3)).q, 1);
}

TEST(VolumeScale, RangeReachesHalfAWindowBackAndMapsLoToTheBottom) {
  // Window of 4 from bar 6: the range starts at 6 - 4 / 2 = 4, so bar 4 counts and bar 3 does not.
  auto bars = FromCloses(Repeat(100, 10));
  for (int i = 0; i < 10; ++i) bars[i].volume = 5000;
  bars[3].volume = 1;
  bars[4].volume = 90000;
  bars[7].volume = 2000;
  VolumeScale s = VolumeScaleFor(ClampedWindow(bars, 6, 4));
  EXPECT_EQ(s.lo, 2000);
  EXPECT_EQ(s.hi, 90000);
  EXPECT_EQ(s.range, 88000);
  EXPECT_EQ(s.Y(2000, 0, 100), 100);
  EXPECT_EQ(s.Y(90000, 0, 100), 0);
  // A window starting within its own width from the first bar starts the range at first.
  s = VolumeScaleFor(ClampedWindow(bars, 3, 6));
  EXPECT_EQ(s.lo, 1);

  // The quotient by q truncates: lo 12,005 and u 17,004 give (1700 - 1200) * 1000 / 1000.
  const auto q = WithVolumes(FromCloses(Repeat(100, 2)), {12005, 22005});
  s = VolumeScaleFor(ClampedWindow(q, 0, 2));
  EXPECT_EQ(s.Y(17004, 0, 1000), 500);
  EXPECT_EQ(s.Y(17004, 200, 1000), 700);

  // Constant volume: range 1, every bar on the bottom edge.
  s = VolumeScaleFor(Newest(FromCloses(Repeat(100, 5), 70000), 5));
  EXPECT_EQ(s.range, 1);
  EXPECT_EQ(s.Y(70000, 0, 120), 120);

  // A range narrower than q (50,000 to 50,005, q = 10) is scaled undivided instead of by 0.
  const auto narrow = WithVolumes(FromCloses(Repeat(100, 2)), {50000, 50005});
  s = VolumeScaleFor(ClampedWindow(narrow, 0, 2));
  EXPECT_EQ(s.Y(50005, 0, 100), 0);
  EXPECT_EQ(s.Y(50000, 0, 100), 100);

  // Volumes of a billion shares or more can still be the smallest; products do not overflow.
  const auto big = WithVolumes(FromCloses(Repeat(100, 2)), {1500000000, 2100000000});
  s = VolumeScaleFor(ClampedWindow(big, 0, 2));
  EXPECT_EQ(s.lo, 1500000000);
  EXPECT_EQ(s.q, 1000000);
  EXPECT_EQ(s.Y(1800000000, 0, 400), 200);
}

TEST(VolumeSma, AverageOfVolumesWithoutOverflow) {
  for (int32_t v : VolumeSma(Newest(FromCloses(Repeat(100, 40), 70000), 10), 26)) EXPECT_EQ(v, 70000);
  for (int32_t v : VolumeSma(Newest(FromCloses(Repeat(100, 40), 2000000000), 5), 26))
    EXPECT_EQ(v, 2000000000);
  const auto bars = WithVolumes(FromCloses(Repeat(100, 3)), {1, 2, 4});
  EXPECT_EQ(VolumeSma(ClampedWindow(bars, 0, 3), 2), (IndicatorValues{kNoValue, 1, 3}));
}

TEST(Mfi, FlowsByTypicalPrice) {
  // N = 1 over bars 1 and 2: bar 2 (tp 11) fell against bar 1 (13): negative flow 11;
  // bar 1 rose against bar 0 (10): positive flow 13. 100 - 100 / (1 + 13 / 11) = 54.2.
  const auto bars = WithVolumes(FromCloses({10, 13, 11}), {100000, 100000, 100000});
  EXPECT_EQ(Mfi(Newest(bars, 1), 1)[0], 54);
  EXPECT_EQ(Mfi(Newest(FromCloses(Ramp(10, 1, 10)), 1), 3)[0], 100);
  // An unchanged typical price counts as negative flow.
  EXPECT_EQ(Mfi(Newest(FromCloses(Repeat(10, 10)), 1), 3)[0], 0);
  EXPECT_EQ(Mfi(Newest(FromCloses(Ramp(10, 1, 10), 0), 1), 3)[0], kNoValue);
  EXPECT_EQ(Mfi(Newest(FromCloses(Ramp(10, 1, 4)), 1), 3)[0], kNoValue);  // needs N + 2 bars
}

TEST(VolumeRatios, FlatRisingAndFallingMarkets) {
  const auto flat = FromCloses(Repeat(300, 30));
  const auto rising = FromCloses(Ramp(300, 2, 30));
  const auto falling = FromCloses(Ramp(300, -2, 30));
  EXPECT_EQ(Vr(Newest(flat, 1), 7)[0], 50);
  EXPECT_EQ(Vr(Newest(rising, 1), 26)[0], 100);
  EXPECT_EQ(Vr(Newest(falling, 1), 26)[0], 0);
  EXPECT_EQ(Wvr(Newest(rising, 1), 6)[0], 200);
  EXPECT_EQ(Wvr(Newest(falling, 1), 6)[0], 50);
  EXPECT_EQ(Wvr(Newest(flat, 1), 6)[0], 50);
  EXPECT_EQ(Dvr(Newest(rising, 1), 6)[0], 100);  // no down volume: all of it went up
  EXPECT_EQ(Dvr(Newest(falling, 1), 6)[0], 0);

  // Up 300 shares, down 100 (one unchanged close with 60 and one fall with 40), over N + 1 = 3 bars.
  const auto mixed = WithVolumes(FromCloses({10, 11, 11, 10}), {0, 300, 60, 40});
  EXPECT_EQ(Dvr(Newest(mixed, 1), 2)[0], 75);
  EXPECT_EQ(Wvr(Newest(mixed, 1), 2)[0], 162);  // (300 - 100 / 2) / 400 * 100 + 100 = 162.5
  EXPECT_EQ(Vr(Newest(mixed, 1), 3)[0], 82);    // (60 / 2 + 300) / 400 = 82.5 %

  // The number of bars summed: VR over 2 bars ends before the 300-share rise.
  EXPECT_EQ(Vr(Newest(mixed, 1), 2)[0], 30);  // (60 / 2 + 0) / 100

  // No volume at all, or too few bars: nothing to draw.
  const auto empty = FromCloses(Ramp(300, 2, 30), 0);
  EXPECT_EQ(Vr(Newest(empty, 1), 7)[0], kNoValue);
  EXPECT_EQ(Wvr(Newest(empty, 1), 6)[0], kNoValue);
  EXPECT_EQ(Dvr(Newest(empty, 1), 6)[0], kNoValue);
  EXPECT_EQ(Wvr(Newest(mixed, 1), 3)[0], kNoValue);
  EXPECT_EQ(Dvr(Newest(mixed, 1), 0)[0], kNoValue);
  for (int n : {INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(Wvr(Newest(mixed, 1), n)[0], kNoValue);
    EXPECT_EQ(Dvr(Newest(mixed, 1), n)[0], kNoValue);
    EXPECT_EQ(Mfi(Newest(mixed, 1), n)[0], kNoValue);
    EXPECT_EQ(Psy(Newest(mixed, 1), n)[0], kNoValue);
    EXPECT_EQ(VolumeSma(Newest(mixed, 1), n)[0], kNoValue);
  }
  EXPECT_EQ(Vr(Newest(mixed, 1), int64_t{INT32_MAX} + 1)[0], kNoValue);
}

TEST(Psy, ShareOfRisingCloses) {
  EXPECT_EQ(Psy(Newest(FromCloses(Ramp(100, 1, 7)), 1), 6)[0], 100);
  EXPECT_EQ(Psy(Newest(FromCloses({100, 99, 100, 101, 102, 103, 104}), 1), 6)[0], 83);
  EXPECT_EQ(Psy(Newest(FromCloses(Repeat(100, 7)), 1), 6)[0], 0);
  EXPECT_EQ(Psy(Newest(FromCloses(Ramp(100, 1, 6)), 1), 6)[0], kNoValue);
}

TEST(IndexBrand, TheThreeMarketIndices) {
  EXPECT_TRUE(IsIndexBrand(1010));
  EXPECT_TRUE(IsIndexBrand(1020));
  EXPECT_TRUE(IsIndexBrand(1030));
  EXPECT_FALSE(IsIndexBrand(1301));
}

}  // namespace
}  // namespace sorano
