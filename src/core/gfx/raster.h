#pragma once
// GDI-like pen strokes and fills straight into a 32-bit pixel buffer that someone else owns (the
// QImage back buffer of QtCanvas). No antialiasing. Every function clips to the buffer: any int
// coordinates are safe, and the work of a call is bounded by the buffer's pixels it can touch (a line
// far outside costs a short search, never a walk along it).
//
// Pixel rules:
//  - 1-pixel pens (width 0 or 1): a segment is a Bresenham line, one pixel per step along its longer
//    axis, that leaves out its end point. Across the shorter axis the pixel nearest to the ideal line
//    is taken, a tie going to the smaller coordinate, so a segment and its reverse cover the same
//    pixels but their end points. Dot, dash and dash-dot-dot pens draw their pattern in steps of the
//    longer axis (dot: 1 on 2 off; dash: 4 on 2 off; dash-dot-dot: 4 on 2 off 1 on 2 off 1 on 2 off),
//    running on through the vertices of a path.
//  - Wider pens are solid whatever their style (as GDI draws a wide dotted pen), with round ends and
//    joins, end points included: a pixel is painted when its centre lies closer than width / 2 to the
//    path. The path runs through pixel centres for odd widths and through the pixels' top-left corners
//    for even widths, so a pen of width n is centred on the line: a horizontal line at y covers the
//    rows y - n / 2 ... y - n / 2 + n - 1 (width 2: y - 1 and y; width 3: y - 1 ... y + 1).
//  - Rectangles are left..right-1 x top..bottom-1; an outline of width n covers, along each edge, the
//    rows or columns a line on that edge would, with square corners.
//  - An ellipse fits the same box: its path passes through the positions of the box's outermost
//    rows and columns (pixel centres or corners as for a line of the pen's width). The pen paints
//    the pixels whose centres lie inside the path grown by width / 2 in each semi-axis but not inside
//    the path shrunk by as much; the brush paints those inside the shrunk path (a null pen: inside
//    the path itself).
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/gfx/canvas.h"

namespace sorano {

// Pixels 0xAARRGGBB; row y starts at pixels + y * stride.
struct PixelBuffer {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // in pixels
};

// The opaque pixel value of a Windows colour 0x00BBGGRR.
constexpr uint32_t PixelOf(Color c) {
  return 0xFF000000u | static_cast<uint32_t>(ColorRed(c)) << 16 | static_cast<uint32_t>(ColorGreen(c)) << 8 |
         static_cast<uint32_t>(ColorBlue(c));
}

// Fills left..right-1 x top..bottom-1 (the corners may come in either order).
void FillPixels(const PixelBuffer& buffer, int left, int top, int right, int bottom, uint32_t pixel);

// Draws the segments between consecutive points with the pen (a null pen draws nothing). pattern is
// the position in a 1-pixel styled pen's dash pattern at the first point; it is advanced over the
// path, so a path drawn in pieces keeps its pattern.
void StrokePath(const PixelBuffer& buffer, const Pen& pen, std::span<const Point> points, int& pattern);

// The outline of left..right-1 x top..bottom-1 (corners in either order; nothing when empty).
void StrokeRectangle(const PixelBuffer& buffer, const Pen& pen, int left, int top, int right, int bottom);

// The ellipse that fits left..right-1 x top..bottom-1, outlined with the pen and filled with the brush.
void DrawEllipse(const PixelBuffer& buffer, const Pen& pen, const Brush& brush, int left, int top, int right,
                 int bottom);

}  // namespace sorano
