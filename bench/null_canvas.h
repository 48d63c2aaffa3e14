#pragma once
// A canvas that draws nothing: what is left of a paint on it is the painter's own work (computing
// overlays and indicators, laying out texts). Text is measured as half the font height per byte.
#include <benchmark/benchmark.h>

#include "core/gfx/canvas.h"

namespace sorano::bench {

class NullCanvas : public Canvas {
 public:
  NullCanvas(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(const Pen&) override {}
  void SetBrush(const Brush&) override {}
  void SetFont(const Font& font) override { fontHeight_ = font.height; }
  void SetTextColor(Color) override {}
  void SetTextBackground(Color, bool) override {}
  void MoveTo(int, int) override {}
  void LineTo(int x, int y) override { benchmark::DoNotOptimize(x + y); }
  void Polyline(std::span<const Point> points) override { benchmark::DoNotOptimize(points.data()); }
  void Rectangle(int l, int t, int r, int b) override { benchmark::DoNotOptimize(l + t + r + b); }
  void FillRect(int, int, int, int, Color) override {}
  void Ellipse(int, int, int, int) override {}
  void Polygon(std::span<const Point> points) override { benchmark::DoNotOptimize(points.data()); }
  void Text(int, int, std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  TextSize MeasureText(std::string_view text) override {
    return {static_cast<int>(text.size()) * fontHeight_ / 2, fontHeight_};
  }

 private:
  int width_;
  int height_;
  int fontHeight_ = 12;
};

}  // namespace sorano::bench
