#include "ui/gfx/qt_canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <cstring>
#include <vector>

namespace sorano {

QColor ToQColor(Color c) {
  return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

namespace {

QRect Normalized(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));  // QRect's corners are inclusive
}

}  // namespace

QtCanvas::QtCanvas(int width, int height)
    : image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32) {
  image_.fill(Qt::white);
  font_.setFamily(MapFace(QString::fromStdString(Font().face)));
  font_.setPixelSize(Font().height);
  metrics_ = QFontMetrics(font_);
}

QtCanvas::~QtCanvas() {
  if (painter_) painter_->end();
}

void QtCanvas::Resize(int width, int height) {
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
  appliedPen_.reset();
  image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image_.fill(Qt::white);
}

const QImage& QtCanvas::image() {
  // Ending the painter flushes it; the next drawing call begins a new one with the same state.
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
  appliedPen_.reset();
  return image_;
}

QPainter& QtCanvas::P() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setFont(font_);
  }
  return *painter_;
}

QString QtCanvas::MapFace(const QString& face) {
  static const QStringList families = QFontDatabase::families();
  if (families.contains(face)) return face;
  const bool mincho =
      face.contains("Mincho", Qt::CaseInsensitive) || face.contains(QString::fromUtf8("明朝"));
  const QStringList gothic = {"IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "Noto Sans JP", "VL Gothic"};
  const QStringList serif = {"IPAMincho", "IPAPMincho", "Noto Serif CJK JP"};
  for (const QString& f : mincho ? serif : gothic)
    if (families.contains(f)) return f;
  for (const QString& f : gothic)
    if (families.contains(f)) return f;
  return face;
}

void QtCanvas::SetPen(const Pen& pen) {
  pen_ = pen;
}

void QtCanvas::SetBrush(const Brush& brush) {
  brush_ = brush;
}

void QtCanvas::SetFont(const Font& font) {
  font_ = QFont(MapFace(QString::fromStdString(font.face)));
  font_.setPixelSize(std::max(1, font.height));
  metrics_ = QFontMetrics(font_);
  if (painter_) painter_->setFont(font_);
}

void QtCanvas::ApplyPen() {
  QPainter& p = P();
  if (appliedPen_ == pen_) return;
  appliedPen_ = pen_;
  if (pen_.style == PenStyle::Null) {
    p.setPen(Qt::NoPen);
    return;
  }
  const int width = std::max(1, pen_.width);
  QPen qp(ToQColor(pen_.color));
  if (width == 1) {
    qp.setWidth(0);  // cosmetic: exactly one pixel, like a GDI cosmetic pen
    qp.setCapStyle(Qt::FlatCap);
    qp.setJoinStyle(Qt::MiterJoin);
  } else {
    qp.setWidth(width);  // GDI geometric pens have round ends and joins
    qp.setCapStyle(Qt::RoundCap);
    qp.setJoinStyle(Qt::RoundJoin);
  }
  switch (pen_.style) {
    case PenStyle::Dot:
      qp.setStyle(Qt::DotLine);
      break;
    case PenStyle::Dash:
      qp.setStyle(Qt::DashLine);
      break;
    case PenStyle::DashDotDot:
      qp.setStyle(Qt::DashDotDotLine);
      break;
    default:
      qp.setStyle(Qt::SolidLine);
      break;
  }
  p.setPen(qp);
}

void QtCanvas::DrawSegment(int x0, int y0, int x1, int y1) {
  if (x0 == x1 && y0 == y1) return;  // GDI draws nothing for an empty line
  QPainter& p = P();
  ApplyPen();
  // A cosmetic flat-capped Qt line leaves out its end point, as GDI does; wider pens keep their round
  // ends like GDI geometric pens.
  p.drawLine(x0, y0, x1, y1);
}

void QtCanvas::LineTo(int x, int y) {
  DrawSegment(x_, y_, x, y);
  x_ = x;
  y_ = y;
}

void QtCanvas::Polyline(std::span<const Point> points) {
  if (points.size() < 2) return;
  QPainter& p = P();
  ApplyPen();
  QPolygon poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& pt : points) poly << QPoint(pt.x, pt.y);
  p.drawPolyline(poly);
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  QPainter& p = P();
  const QRect r = Normalized(left, top, right, bottom);
  if (r.width() <= 0 || r.height() <= 0) return;
  if (!brush_.hollow) p.fillRect(r, ToQColor(brush_.color));
  if (pen_.style == PenStyle::Null) return;
  ApplyPen();
  p.setBrush(Qt::NoBrush);
  if (std::max(1, pen_.width) == 1) {
    p.drawRect(r.adjusted(0, 0, -1, -1));  // a cosmetic drawRect covers width + 1 pixels
  } else {
    QPen qp = p.pen();
    qp.setJoinStyle(Qt::MiterJoin);
    p.setPen(qp);
    appliedPen_.reset();
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

void QtCanvas::FillRect(int left, int top, int right, int bottom, Color color) {
  const QRect r = Normalized(left, top, right, bottom);
  if (r.width() <= 0 || r.height() <= 0) return;
  P().fillRect(r, ToQColor(color));
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  QPainter& p = P();
  const QRect r = Normalized(left, top, right, bottom);
  if (r.width() <= 0 || r.height() <= 0) return;
  ApplyPen();
  p.setBrush(brush_.hollow ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush_.color)));
  p.drawEllipse(r.adjusted(0, 0, -1, -1));
}

void QtCanvas::Polygon(std::span<const Point> points) {
  if (points.size() < 2) return;
  QPainter& p = P();
  QPolygon poly;
  for (const Point& pt : points) poly << QPoint(pt.x, pt.y);
  ApplyPen();
  p.setBrush(brush_.hollow ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush_.color)));
  p.drawPolygon(poly);
}

void QtCanvas::Text(int x, int y, std::string_view text) {
  QPainter& p = P();
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (opaque_)
    p.fillRect(QRect(x, y, metrics_.horizontalAdvance(s), metrics_.height()), ToQColor(textBackground_));
  p.setPen(ToQColor(textColor_));
  appliedPen_.reset();
  p.drawText(QPoint(x, y + metrics_.ascent()), s);
}

TextSize QtCanvas::MeasureText(std::string_view text) {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics_.horizontalAdvance(s), metrics_.height()};
}

RgbImage ToRgbImage(const QImage& image) {
  if (image.isNull()) return {};
  const QImage rgb =
      image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  RgbImage out(rgb.width(), rgb.height());
  for (int y = 0; y < out.height; ++y)
    std::memcpy(out.Row(y), rgb.constScanLine(y), static_cast<size_t>(out.width) * sizeof(uint32_t));
  return out;
}

QImage ToQImage(const RgbImage& image) {
  if (image.empty()) return {};
  // A view of the pixels, copied so that the image outlives them.
  return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32)
      .copy();
}

}  // namespace sorano
