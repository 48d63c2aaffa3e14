#pragma once
// A picture as the panes draw it into their back buffers, and the pictures the capture commands make
// of them.
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

// Both panes as one picture: as wide as the chart pane's and as high as both, the chart on top and the
// technical pane directly below it (cut to the chart's width, or white where it is narrower). Empty
// when the chart picture is empty; the chart alone when the technical picture is.
RgbImage StackImages(const RgbImage& chart, const RgbImage& technical);

}  // namespace sorano
