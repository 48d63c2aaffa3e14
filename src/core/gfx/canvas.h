#pragma once
// The Canvas seam: GDI-like drawing that the chart painters in core draw onto. The desktop layer paints
// a QImage (QtCanvas), tests record the calls, benchmarks may draw nothing.
//
// The model is the one of a Windows device context: a current pen, brush, font and text colours that
// stay selected until replaced, a current position for MoveTo/LineTo, integer pixel coordinates with
// y = 0 at the top. As in GDI:
//  - LineTo draws from the current position up to but not including the end point, which becomes the
//    new current position;
//  - Rectangle(left, top, right, bottom) outlines with the pen and fills the inside with the brush;
//    the right and bottom edges are exclusive (a 1-pixel pen covers x = left ... right - 1);
//  - Ellipse fits into the same box as Rectangle;
//  - Text is anchored at its top-left corner.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sorano {

// Windows colour value 0x00BBGGRR.
using Color = uint32_t;

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int ColorRed(Color c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int ColorGreen(Color c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int ColorBlue(Color c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;

enum class PenStyle { Solid, Dot, Dash, DashDotDot, Null };

struct Pen {
  Color color = kBlack;
  int width = 1;  // pixels; 0 is drawn as 1
  PenStyle style = PenStyle::Solid;
  bool operator==(const Pen&) const = default;
};

struct Brush {
  Color color = kWhite;
  bool hollow = false;  // a null brush: shapes are outlined only
  bool operator==(const Brush&) const = default;
};

struct Font {
  std::string face = "MS UI Gothic";  // UTF-8 face name; the canvas maps it to an installed font
  int height = 12;                    // character height in pixels
  bool operator==(const Font&) const = default;
};

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
  bool operator==(const TextSize&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Size of the drawing surface in pixels.
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual void SetPen(const Pen& pen) = 0;
  virtual void SetBrush(const Brush& brush) = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual void SetTextColor(Color color) = 0;
  // opaque: the text cell is first filled with the background colour; otherwise transparent.
  virtual void SetTextBackground(Color color, bool opaque) = 0;

  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // Vertices joined with the current pen; does not use or move the current position.
  virtual void Polyline(std::span<const Point> points) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  // Fills left..right-1 x top..bottom-1 with a colour, no outline; pen and brush stay unchanged.
  virtual void FillRect(int left, int top, int right, int bottom, Color color) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  // Closed polygon outlined with the pen and filled with the brush.
  virtual void Polygon(std::span<const Point> points) = 0;

  // text is UTF-8.
  virtual void Text(int x, int y, std::string_view text) = 0;
  virtual TextSize MeasureText(std::string_view text) = 0;

  void Line(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    LineTo(x1, y1);
  }
};

}  // namespace sorano
