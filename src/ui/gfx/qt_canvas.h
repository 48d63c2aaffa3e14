#pragma once
// The Canvas on a QImage back buffer. Lines, rectangles, ellipses and fills are rasterised straight
// into the image's pixels by core/gfx/raster (GDI's rules: 1-pixel lines leave out their end point,
// wider pens are centred on the line, right and bottom edges are exclusive); polygons and text are
// drawn with QPainter, polygons without antialiasing.
//
// Text widths and opaque text cells are kept by text, font and colours: a pane writes the same labels
// at every paint, so each is laid out and drawn by QPainter once and copied afterwards.
//
// Fonts need a QGuiApplication (the offscreen platform will do).
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>
#include <unordered_map>

#include "core/gfx/canvas.h"
#include "core/gfx/raster.h"
#include "core/gfx/rgb_image.h"

namespace sorano {

class QtCanvas : public Canvas {
 public:
  QtCanvas(int width, int height);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  // A new back buffer of the given size (contents undefined until painted); drawing state is kept.
  void Resize(int width, int height);
  // The back buffer with everything drawn so far.
  const QImage& image();

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  void SetFont(const Font& font) override;
  void SetTextColor(Color color) override { textColor_ = color; }
  void SetTextBackground(Color color, bool opaque) override {
    textBackground_ = color;
    opaque_ = opaque;
  }
  void MoveTo(int x, int y) override {
    x_ = x;
    y_ = y;
    pattern_ = 0;
  }
  void LineTo(int x, int y) override;
  void Polyline(std::span<const Point> points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FillRect(int left, int top, int right, int bottom, Color color) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Polygon(std::span<const Point> points) override;
  void Text(int x, int y, std::string_view text) override;
  TextSize MeasureText(std::string_view text) override;

  // The installed family used for a Windows face name ("MS UI Gothic" -> a Japanese gothic face).
  static QString MapFace(const QString& face);

 private:
  QPainter& P();
  void ApplyPen(QPainter& p, const Pen& pen);
  PixelBuffer Pixels();
  // Copies a text cell (Format_RGB32) with its top-left corner at (x, y).
  void Blit(const QImage& cell, int x, int y);

  QImage image_;
  std::unique_ptr<QPainter> painter_;
  Pen pen_;
  Brush brush_;
  Font fontSpec_;
  QFont font_;
  QFontMetrics metrics_{font_};
  Color textColor_ = kBlack;
  Color textBackground_ = kWhite;
  bool opaque_ = true;
  int x_ = 0;
  int y_ = 0;
  int pattern_ = 0;  // where a styled pen's pattern stands at the current position

  // Text widths of the current font, and the drawn text cells; both are bounded (see qt_canvas.cpp).
  std::unordered_map<std::string, int> widths_;
  std::unordered_map<std::string, QImage> cells_;
  int64_t cellPixels_ = 0;
};

QColor ToQColor(Color c);

// A back buffer as the core's picture (0x00RRGGBB pixels), and back.
RgbImage ToRgbImage(const QImage& image);
QImage ToQImage(const RgbImage& image);

}  // namespace sorano
