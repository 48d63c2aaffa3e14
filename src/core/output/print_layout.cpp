#include "core/output/print_layout.h"

#include <algorithm>
#include <cstdint>

namespace sorano {

std::optional<PrintRect> PrintPlacement(int pageWidth, int imageWidth, int imageHeight) {
  if (pageWidth <= 0 || imageWidth <= 0 || imageHeight <= 0) return std::nullopt;
  const int64_t k = std::max(1, pageWidth / imageWidth);
  const int64_t height = std::min<int64_t>(k * imageHeight, INT32_MAX);
  return PrintRect{0, 0, pageWidth, static_cast<int>(height)};
}

}  // namespace sorano
