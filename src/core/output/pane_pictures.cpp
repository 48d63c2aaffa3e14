#include "core/output/pane_pictures.h"

#include <algorithm>

namespace sorano {

RgbImage StackImages(const RgbImage& chart, const RgbImage& technical) {
  if (chart.empty()) return {};
  const int below = technical.empty() ? 0 : technical.height;
  RgbImage out(chart.width, chart.height + below);
  std::copy(chart.pixels.begin(), chart.pixels.end(), out.pixels.begin());
  const int w = std::min(chart.width, technical.width);
  for (int y = 0; y < below; ++y) std::copy_n(technical.Row(y), w, out.Row(chart.height + y));
  return out;
}

}  // namespace sorano
