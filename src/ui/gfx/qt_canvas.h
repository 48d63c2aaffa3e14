#pragma once
// The Canvas on a QImage back buffer, painted with QPainter without antialiasing so that lines,
// rectangles and ellipses land on the pixels a GDI device context would touch: line end points and
// the right and bottom edges of rectangles are exclusive.
//
// Fonts need a QGuiApplication (the offscreen platform will do).
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>

#include "core/gfx/canvas.h"
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
  void SetPen(const Pen& pen) override;
  void SetBrush(const Brush& brush) override;
  void SetFont(const Font& font) override;
  void SetTextColor(Color color) override { textColor_ = color; }
  void SetTextBackground(Color color, bool opaque) override {
    textBackground_ = color;
    opaque_ = opaque;
  }
  void MoveTo(int x, int y) override {
    x_ = x;
    y_ = y;
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
  void ApplyPen();
  void DrawSegment(int x0, int y0, int x1, int y1);

  QImage image_;
  std::unique_ptr<QPainter> painter_;
  Pen pen_;
  // The pen the painter holds now, when it is pen_'s translation: painters set the same pen for long
  // runs of lines, and building a QPen for each is a large part of a paint.
  std::optional<Pen> appliedPen_;
  Brush brush_;
  QFont font_;
  QFontMetrics metrics_{font_};
  Color textColor_ = kBlack;
  Color textBackground_ = kWhite;
  bool opaque_ = true;
  int x_ = 0;
  int y_ = 0;
};

QColor ToQColor(Color c);

// A back buffer as the core's picture (0x00RRGGBB pixels), and back.
RgbImage ToRgbImage(const QImage& image);
QImage ToQImage(const RgbImage& image);

}  // namespace sorano
