#pragma once
// A picture as the panes draw it into their back buffers: what the capture commands copy, save and
// print.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sorano {

// width x height pixels, row by row from the top; each pixel 0x??RRGGBB (the top byte is ignored),
// which is the memory layout of a 32-bit RGB back buffer. Empty when either side is 0.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height

  RgbImage() = default;
  // A white picture; sides below 0 count as 0.
  RgbImage(int w, int h);

  bool empty() const { return width <= 0 || height <= 0; }
  uint32_t At(int x, int y) const { return Row(y)[x]; }
  uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  const uint32_t* Row(int y) const {
    return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
  }
};

}  // namespace sorano
