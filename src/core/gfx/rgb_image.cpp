#include "core/gfx/rgb_image.h"

#include <algorithm>

namespace sorano {

RgbImage::RgbImage(int w, int h) : width(std::max(0, w)), height(std::max(0, h)) {
  pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0x00FFFFFF);
}

}  // namespace sorano
