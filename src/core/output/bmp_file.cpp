#include "core/output/bmp_file.h"

#include <cstring>

namespace sorano {

namespace {

void Put16(char* p, uint16_t v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>(v >> 8);
}

void Put32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

int64_t BmpStride(int width) {
  return (static_cast<int64_t>(width) * 3 + 3) / 4 * 4;
}

std::string EncodeBmp(const RgbImage& image) {
  if (image.empty()) return {};
  const int64_t stride = BmpStride(image.width);
  const int64_t size = stride * image.height + kBmpHeaderSize;
  if (size > UINT32_MAX) return {};
  std::string out(static_cast<size_t>(size), '\0');
  char* h = out.data();
  Put16(h + 0, 19778);  // "BM"
  Put32(h + 2, static_cast<uint32_t>(size));
  Put32(h + 10, kBmpHeaderSize);
  Put32(h + 14, 40);
  Put32(h + 18, static_cast<uint32_t>(image.width));
  Put32(h + 22, static_cast<uint32_t>(image.height));
  Put16(h + 26, 1);
  Put16(h + 28, 24);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<unsigned char*>(h + kBmpHeaderSize + stride * (image.height - 1 - y));
    const uint32_t* src = image.Row(y);
    for (int x = 0; x < image.width; ++x) {
      const uint32_t p = src[x];
      row[3 * x] = static_cast<unsigned char>(p & 0xFF);              // blue
      row[3 * x + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);   // green
      row[3 * x + 2] = static_cast<unsigned char>((p >> 16) & 0xFF);  // red
    }
  }
  return out;
}

}  // namespace sorano
