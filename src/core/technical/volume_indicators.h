#pragma once
// The volume-based and psychological indicators of the technical pane: the volume graph's scale and
// moving average, MFI, the volume ratios VR, WVR, DVR and the psychological line. Same conventions as
// indicators.h: one value per window position, kNoValue where nothing can be drawn.
#include <cstdint>

#include "core/technical/indicators.h"

namespace sorano {

// The market indices carry no volume: the volume indicators are not drawn for them.
constexpr bool IsIndexBrand(int32_t code) {
  return code == 1010 || code == 1020 || code == 1030;
}

// The volume graph's vertical scale. The range covers the bars shown plus up to half a window before
// them; its bottom edge is the smallest volume, not zero. Volumes are divided by q (chosen from the
// smallest volume) before they are scaled, which sets where the pixel rows are truncated; the
// products themselves are taken in 64 bits.
struct VolumeScale {
  int32_t lo = 0;     // smallest volume of the range
  int32_t hi = 0;     // largest volume of the range
  int64_t range = 1;  // hi - lo, 1 when that is 0
  int64_t q = 1;      // divisor chosen from lo
  // y of a volume u in a strip of height h starting at y = top. When range / q is 0 (a range
  // narrower than q) the volumes are scaled undivided.
  int64_t Y(int64_t u, int top, int h) const;
};
VolumeScale VolumeScaleFor(const BarWindow& w);
// 1, 10, 100, ..., 1,000,000 for lo up to 10,000, 100,000, ..., above 1,000,000,000.
int64_t VolumeDivisor(int64_t lo);

// n-bar integer SMA of volumes.
IndicatorValues VolumeSma(const BarWindow& w, int n);

// MFI over n + 1 bars (an unchanged typical price counts as negative flow). Scale 100. Only positive
// flow gives 100; no flow at all gives kNoValue.
IndicatorValues Mfi(const BarWindow& w, int n);

// VR over the given number of bars (the pane sums N1 + 1 bars for the first line, N2 for the second):
// (flat / 2 + up) / total in percent, scale 100. kNoValue when no volume traded.
IndicatorValues Vr(const BarWindow& w, int64_t bars);
// WVR over n + 1 bars: (up - down / 2) / total in percent, plus 100 (scale 200). An unchanged close
// counts as down. kNoValue when no volume traded.
IndicatorValues Wvr(const BarWindow& w, int n);
// DVR over n + 1 bars: (up / down) / (total / down) in percent, scale 100. Without down volume every
// share traded went up: 100. kNoValue when no volume traded.
IndicatorValues Dvr(const BarWindow& w, int n);

// Psychological line: the share of rising closes among the last n changes, in percent (scale 100).
IndicatorValues Psy(const BarWindow& w, int n);

}  // namespace sorano
