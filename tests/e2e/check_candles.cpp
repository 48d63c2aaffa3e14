// Looks at a screenshot of the program: is the price chart painted with candles, or only background?
//
//   e2e_check_candles SHOT.png
//
// The chart area is the bounding box of the chart background colour (color_chart00, RGB 0,30,0);
// inside it, pixels of the rising (color_chart05, 204,204,204) and falling (color_chart06, 255,0,0)
// candle colours are counted, and the columns that hold any. Exit 0 when there are candles of both
// kinds in at least 10 columns each; otherwise 1, with what was found on stderr.
#include <QImage>
#include <cstdio>
#include <set>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: e2e_check_candles SHOT.png\n");
    return 2;
  }
  QImage image(QString::fromLocal8Bit(argv[1]));
  if (image.isNull()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  image = image.convertToFormat(QImage::Format_RGB32);
  const QRgb background = qRgb(0, 30, 0), rising = qRgb(204, 204, 204), falling = qRgb(255, 0, 0);
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  long backgroundPixels = 0;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xFFFFFF) != (background & 0xFFFFFF)) continue;
      ++backgroundPixels;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (backgroundPixels < 10000) {
    std::fprintf(stderr, "no chart area (%ld background pixels)\n", backgroundPixels);
    return 1;
  }
  long risingPixels = 0, fallingPixels = 0;
  std::set<int> risingColumns, fallingColumns;
  for (int y = top; y <= bottom; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = left; x <= right; ++x) {
      const QRgb c = line[x] & 0xFFFFFF;
      if (c == (rising & 0xFFFFFF)) {
        ++risingPixels;
        risingColumns.insert(x);
      } else if (c == (falling & 0xFFFFFF)) {
        ++fallingPixels;
        fallingColumns.insert(x);
      }
    }
  }
  std::printf("chart area %d,%d-%d,%d: rising %ld pixels in %zu columns, falling %ld pixels in %zu columns\n",
              left, top, right, bottom, risingPixels, risingColumns.size(), fallingPixels,
              fallingColumns.size());
  return risingColumns.size() >= 10 && fallingColumns.size() >= 10 ? 0 : 1;
}
