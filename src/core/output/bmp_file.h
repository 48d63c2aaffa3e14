#pragma once
// Windows bitmap files of the pane pictures: 24 bits per pixel, uncompressed, rows bottom-up.
//
// Layout (little-endian): "BM"; file size = stride * height + 54; 4 reserved zero bytes; pixel offset
// 54; header size 40; width; height (positive: bottom-up); 1 plane; 24 bits per pixel; then 24 zero
// bytes (compression, image size, resolutions, colour counts). The pixel rows follow from the bottom
// row up, each pixel blue, green, red, each row padded with zero bytes to a stride of width * 3
// rounded up to a multiple of 4.
#include <cstdint>
#include <string>

#include "core/gfx/rgb_image.h"

namespace sorano {

inline constexpr int kBmpHeaderSize = 54;

// Bytes per pixel row: width * 3 rounded up to a multiple of 4.
int64_t BmpStride(int width);

// The whole file. Empty for an empty image, and for one whose file would not fit the header's 32-bit
// size field.
std::string EncodeBmp(const RgbImage& image);

}  // namespace sorano
