#include "core/gfx/raster.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

namespace sorano {
namespace {

constexpr uint32_t kInk = PixelOf(0x0000FF);
constexpr uint32_t kFill = PixelOf(0x00FF00);
constexpr uint32_t kPaper = PixelOf(kWhite);

// A buffer inside a larger block whose margin must never be written.
class Image {
 public:
  Image(int width, int height)
      : width_(width),
        height_(height),
        block_(static_cast<size_t>((width + 2 * kMargin) * (height + 2 * kMargin)), kGuard) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) At(x, y) = kPaper;
  }
  PixelBuffer Buffer() { return {&At(0, 0), width_, height_, width_ + 2 * kMargin}; }
  uint32_t& At(int x, int y) {
    return block_[static_cast<size_t>((y + kMargin) * (width_ + 2 * kMargin) + x + kMargin)];
  }
  // '#' ink, 'o' fill, '.' paper, one string per row.
  std::vector<std::string> Art() {
    std::vector<std::string> rows;
    for (int y = 0; y < height_; ++y) {
      std::string row;
      for (int x = 0; x < width_; ++x) row += At(x, y) == kInk ? '#' : At(x, y) == kFill ? 'o' : '.';
      rows.push_back(row);
    }
    return rows;
  }
  bool MarginUntouched() const {
    size_t paper = 0;
    for (uint32_t p : block_) paper += p != kGuard;
    return paper == static_cast<size_t>(width_) * height_;
  }

 private:
  static constexpr int kMargin = 8;
  static constexpr uint32_t kGuard = 0x12345678;
  int width_, height_;
  std::vector<uint32_t> block_;
};

void Stroke(Image& img, Pen pen, std::vector<Point> points) {
  int pattern = 0;
  StrokePath(img.Buffer(), pen, points, pattern);
}

Pen Ink(int width, PenStyle style = PenStyle::Solid) {
  return {0x0000FF, width, style};
}

// The rows of an image as art, from row `top`; the rows outside are paper.
void ExpectArt(Image& img, int top, std::vector<std::string> rows, const std::string& what) {
  const std::vector<std::string> art = img.Art();
  for (size_t y = 0; y < art.size(); ++y) {
    std::string want = y >= static_cast<size_t>(top) && y - top < rows.size() ? rows[y - top] : "";
    want.resize(art[y].size(), '.');
    EXPECT_EQ(art[y], want) << what << ", row " << y;
  }
}

TEST(RasterTest, OnePixelLinesTakeTheNearestPixelAndLeaveOutTheirEnd) {
  const struct {
    std::vector<Point> path;
    int top;
    std::vector<std::string> art;
  } cases[] = {
      // Ideal y 2.0 2.3 2.6 2.9 3.2 3.5 3.8 4.1 4.4 4.7; 3.5 is a tie and takes row 3.
      {{{2, 2}, {12, 5}}, 2, {"..##", "....####", "........###", "...........#"}},
      // The reverse covers the same pixels but its own end.
      {{{12, 5}, {2, 2}}, 2, {"...#", "....####", "........###", "...........##"}},
      // A steep line steps along y; a path draws each vertex once and leaves out its last point.
      {{{1, 0}, {2, 3}, {5, 3}, {5, 1}}, 0, {".#", ".#", "..#..#", "..####"}},
  };
  for (const auto& c : cases) {
    Image img(13, 6);
    Stroke(img, Ink(1), c.path);
    ExpectArt(img, c.top, c.art, "from " + std::to_string(c.path[0].x));
  }
}

TEST(RasterTest, StyledPensRunTheirPatternOnThroughTheVertices) {
  const struct {
    PenStyle style;
    std::string row;     // row 1, x 0 ... 13
    std::string column;  // column 13, y 1 ... 8 (the corner is the second segment's first step)
  } cases[] = {
      {PenStyle::Dot, "#..#..#..#..#.", "..#..#.."},
      {PenStyle::Dash, "####..####..##", "###..###"},
      {PenStyle::DashDotDot, "####..#..#..##", "###..#.."},
  };
  for (const auto& c : cases) {
    Image img(15, 10);
    Stroke(img, Ink(1, c.style), {{0, 1}, {13, 1}, {13, 9}});
    const std::vector<std::string> art = img.Art();
    EXPECT_EQ(art[1].substr(0, 14), c.row);
    std::string column;
    for (size_t y = 1; y <= 8; ++y) column += art[y][13];
    EXPECT_EQ(column, c.column);
  }
  // A path drawn in two calls keeps its pattern when the position is handed on.
  Image whole(15, 3), pieces(15, 3);
  Stroke(whole, Ink(1, PenStyle::Dash), {{0, 1}, {7, 1}, {14, 1}});
  int pattern = 0;
  const Point first[] = {{0, 1}, {7, 1}}, second[] = {{7, 1}, {14, 1}};
  StrokePath(pieces.Buffer(), Ink(1, PenStyle::Dash), first, pattern);
  StrokePath(pieces.Buffer(), Ink(1, PenStyle::Dash), second, pattern);
  EXPECT_EQ(pieces.Art(), whole.Art());
}

TEST(RasterTest, WidePensAreCentredWithRoundEndsAndDrawSolidWhateverTheirStyle) {
  const struct {
    Pen pen;
    std::vector<std::string> art;  // from row 3, a line from (3, 5) to (9, 5)
  } cases[] = {
      {Ink(2), {"", "..########", "..########"}},
      {Ink(3), {"", "..#########", "..#########", "..#########"}},
      {Ink(3, PenStyle::Dot), {"", "..#########", "..#########", "..#########"}},
      {Ink(4), {"..########", ".##########", ".##########", "..########"}},
  };
  for (const auto& c : cases) {
    Image img(14, 10);
    Stroke(img, c.pen, {{3, 5}, {9, 5}});
    ExpectArt(img, 3, c.art, "width " + std::to_string(c.pen.width));
  }
  // Vertical lines take the columns horizontal ones take rows; a diagonal keeps its width.
  Image v(8, 12);
  Stroke(v, Ink(2), {{4, 2}, {4, 8}});
  EXPECT_EQ(v.Art()[5], "...##...");
  Image d(20, 20);
  Stroke(d, Ink(3), {{3, 3}, {15, 15}});
  const std::string mid = d.Art()[9];
  EXPECT_EQ(std::count(mid.begin(), mid.end(), '#'), 5);  // 3 / cos 45 degrees = 4.2: 5 pixel centres
  EXPECT_EQ(mid.find('#'), 7u);
}

TEST(RasterTest, RectanglesAndEllipsesFitTheirBoxWithTheRightAndBottomLeftOut) {
  const struct {
    Pen pen;
    std::vector<std::string> art;  // from row 1: Rectangle(2, 2, 9, 8) over a filled box
  } rects[] = {
      {Ink(1), {"", "..#######", "..#ooooo#", "..#ooooo#", "..#ooooo#", "..#ooooo#", "..#######"}},
      {Ink(2), {".########", ".########", ".##oooo##", ".##oooo##", ".##oooo##", ".########", ".########"}},
      {Ink(3),
       {".#########", ".#########", ".#########", ".###ooo###", ".###ooo###", ".#########", ".#########",
        ".#########"}},
      {Ink(1, PenStyle::Dot),
       {"", "..#oo#oo#", "..#oooooo", "..ooooooo", "..oooooo#", "..#oooooo", "..oo#oo#o"}},
      {{0, 1, PenStyle::Null},
       {"", "..ooooooo", "..ooooooo", "..ooooooo", "..ooooooo", "..ooooooo", "..ooooooo"}},
  };
  for (const auto& c : rects) {
    Image img(12, 10);
    FillPixels(img.Buffer(), 9, 8, 2, 2, kFill);  // corners in either order
    StrokeRectangle(img.Buffer(), c.pen, 2, 8, 9, 2);
    ExpectArt(img, 1, c.art, "width " + std::to_string(c.pen.width));
  }
  // A box one pixel wide is a line; an empty box draws nothing.
  Image thin(6, 6);
  StrokeRectangle(thin.Buffer(), Ink(1), 2, 1, 3, 5);
  StrokeRectangle(thin.Buffer(), Ink(1), 4, 1, 4, 5);
  ExpectArt(thin, 1, {"..#", "..#", "..#", "..#"}, "thin");

  // The ellipse in the box 2..11 x 2..7: symmetric, touching the box's outermost rows and columns.
  Image e(14, 10);
  DrawEllipse(e.Buffer(), Ink(1), {0x00FF00, false}, 2, 2, 12, 8);
  ExpectArt(e, 2, {"....######", "...#oooooo#", "..#oooooooo#", "..#oooooooo#", "...#oooooo#", "....######"},
            "ellipse");
  // A hollow brush leaves the inside alone; without a pen the brush fills inside the path, which
  // runs through the centres of the box's outermost pixels.
  Image hollow(14, 10), nullPen(14, 10);
  DrawEllipse(hollow.Buffer(), Ink(1), {0, true}, 2, 2, 12, 8);
  DrawEllipse(nullPen.Buffer(), {0, 1, PenStyle::Null}, {0x00FF00, false}, 2, 2, 12, 8);
  EXPECT_EQ(hollow.Art()[4], "..#........#..");
  ExpectArt(nullPen, 3, {"...oooooooo", "...oooooooo", "...oooooooo", "...oooooooo"}, "null pen");
}

// Clipping never changes which pixels are drawn: every shape painted on a small buffer equals the
// same shape painted on a large one and cut out; coordinates anywhere in int paint only the buffer.
TEST(RasterTest, ClippingKeepsThePixelsAndStaysInsideTheBuffer) {
  std::mt19937 rng(14);
  auto coord = [&](int size) { return static_cast<int>(rng() % static_cast<unsigned>(size + 80)) - 40; };
  // Random shapes, and lines from just outside or on each edge into the buffer.
  std::vector<std::pair<Point, Point>> ends;
  for (int i = 0; i < 300; ++i) ends.push_back({{coord(30), coord(20)}, {coord(30), coord(20)}});
  for (int x : {-1, 0, 29, 30})
    for (int y : {-1, 0, 19, 20})
      for (Point inside : {Point{12, 9}, Point{x < 15 ? 9 : 20, 3}, Point{4, y < 10 ? 7 : 13}})
        ends.push_back({{x, y}, inside});
  const PenStyle styles[] = {PenStyle::Solid, PenStyle::Dot, PenStyle::Dash};
  for (size_t i = 0; i < ends.size(); ++i) {
    const Pen pen = Ink(1 + static_cast<int>(i % 4), styles[i % 3]);
    const auto [a, b] = ends[i];
    Image small(30, 20), large(130, 120);
    auto paint = [&](Image& img, int shift) {
      const PixelBuffer buf = img.Buffer();
      const Point path[3] = {{a.x + shift, a.y + shift}, {b.x + shift, b.y + shift}, {shift, shift}};
      int pattern = 0;
      switch (i < 300 ? i % 3 : 0) {
        case 0:
          StrokePath(buf, pen, path, pattern);
          break;
        case 1:
          StrokeRectangle(buf, pen, path[0].x, path[0].y, path[1].x, path[1].y);
          break;
        default:
          DrawEllipse(buf, pen, {0x00FF00, false}, path[0].x, path[0].y, path[1].x, path[1].y);
      }
    };
    paint(small, 0);
    paint(large, 50);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x)
        ASSERT_EQ(small.At(x, y), large.At(x + 50, y + 50)) << i << " " << x << "," << y;
    ASSERT_TRUE(small.MarginUntouched()) << i;
  }
  // Lines across the whole int range, and shapes far away, draw their few pixels and return.
  Image img(30, 20);
  const PixelBuffer buf = img.Buffer();
  for (int width : {1, 2, 5}) {
    for (PenStyle style : styles) {
      Stroke(img, Ink(width, style), {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}, {5, 5}});
      Stroke(img, Ink(width, style), {{INT_MAX, -3}, {INT_MIN, 17}});
      StrokeRectangle(buf, Ink(width, style), INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    }
    DrawEllipse(buf, Ink(width), {0x00FF00, false}, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  }
  FillPixels(buf, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kFill);
  EXPECT_TRUE(img.MarginUntouched());
  EXPECT_EQ(img.At(29, 19), kFill);
}

}  // namespace
}  // namespace sorano
