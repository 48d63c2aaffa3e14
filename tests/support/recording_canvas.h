#pragma once
// A Canvas that keeps every drawing call with the pen, brush and text colours selected at the time, so
// a test can say "a rising block from 110 to 120 at x = 24". Text is measured with fixed metrics: a
// single-byte character is height / 2 pixels wide, any other character height pixels.
#include <string>
#include <vector>

#include "core/gfx/canvas.h"

namespace sorano::test {

enum class Op { Line, Polyline, Rectangle, FillRect, Ellipse, Polygon, Text };

struct Call {
  Op op = Op::Line;
  std::vector<Point> points;                     // Line: from, to; Polyline/Polygon: vertices
  int left = 0, top = 0, right = 0, bottom = 0;  // Rectangle, FillRect, Ellipse (as given)
  std::string text;                              // Text (UTF-8)
  Point at;                                      // Text: top-left corner
  Pen pen;
  Brush brush;
  Color fill = 0;  // FillRect colour
  Color textColor = 0;
  Color textBackground = 0;
  bool opaque = false;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  void SetFont(const Font& font) override { font_ = font; }
  void SetTextColor(Color color) override { textColor_ = color; }
  void SetTextBackground(Color color, bool opaque) override {
    textBackground_ = color;
    opaque_ = opaque;
  }
  void MoveTo(int x, int y) override { pos_ = {x, y}; }
  void LineTo(int x, int y) override;
  void Polyline(std::span<const Point> points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FillRect(int left, int top, int right, int bottom, Color color) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Polygon(std::span<const Point> points) override;
  void Text(int x, int y, std::string_view text) override;
  TextSize MeasureText(std::string_view text) override;

  const std::vector<Call>& calls() const { return calls_; }
  void Clear() { calls_.clear(); }

  // Calls of one kind, optionally only those drawn with a pen of the given colour.
  std::vector<Call> Of(Op op) const;
  std::vector<Call> Of(Op op, Color penColor) const;
  // Text calls whose text equals s.
  std::vector<Call> TextsEqual(std::string_view s) const;
  // All texts in order.
  std::vector<std::string> AllTexts() const;

  const Font& font() const { return font_; }

 private:
  Call Base(Op op) const;

  int width_;
  int height_;
  Pen pen_;
  Brush brush_;
  Font font_;
  Color textColor_ = 0;
  Color textBackground_ = kWhite;
  bool opaque_ = true;
  Point pos_;
  std::vector<Call> calls_;
};

}  // namespace sorano::test
