#include "ui/gfx/qt_canvas.h"

#include <QFontDatabase>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/fs/huge_pages.h"

namespace sorano {

QColor ToQColor(Color c) {
  return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

namespace {

// The text cells are dropped together once they hold this many pixels (32 MB), and the text widths
// once there are this many: a pane's labels fit many times over, and a long scroll through ever new
// prices cannot grow them without bound.
constexpr int64_t kMaxCellPixels = int64_t{1} << 23;
constexpr size_t kMaxWidths = 1 << 14;

// A back buffer whose pixels lie in memory marked for huge pages (core/fs/huge_pages.h): a
// full-screen pane is otherwise some 1500 page faults at the first paint after every resize.
QImage BackBuffer(int width, int height) {
  width = std::max(1, width), height = std::max(1, height);
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  if (bytes < kHugePageBytes) return QImage(width, height, QImage::Format_RGB32);
  void* pixels = AllocateHugePageMemory(bytes);
  if (pixels == nullptr) return QImage(width, height, QImage::Format_RGB32);
  return QImage(
      static_cast<uchar*>(pixels), width, height, static_cast<qsizetype>(width) * 4, QImage::Format_RGB32,
      [](void* p) { std::free(p); }, pixels);
}

void AppendKey(std::string& key, uint32_t v) {
  key.append(reinterpret_cast<const char*>(&v), sizeof v);
}

}  // namespace

QtCanvas::QtCanvas(int width, int height) : image_(BackBuffer(width, height)) {
  image_.fill(Qt::white);
  font_ = QFont(MapFace(QString::fromStdString(fontSpec_.face)));
  font_.setPixelSize(fontSpec_.height);
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
  image_ = BackBuffer(width, height);
  image_.fill(Qt::white);
}

const QImage& QtCanvas::image() {
  // Ending the painter flushes it; the next drawing call begins a new one with the same state.
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
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

PixelBuffer QtCanvas::Pixels() {
  // bits() detaches the image from a copy handed out by image(); QPainter draws into the same pixels.
  return {reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
          image_.bytesPerLine() / 4};
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

void QtCanvas::SetFont(const Font& font) {
  if (font == fontSpec_) return;  // painters select the same font at every paint
  fontSpec_ = font;
  font_ = QFont(MapFace(QString::fromStdString(font.face)));
  font_.setPixelSize(std::max(1, font.height));
  metrics_ = QFontMetrics(font_);
  widths_.clear();
  if (painter_) painter_->setFont(font_);
}

void QtCanvas::ApplyPen(QPainter& p, const Pen& pen) {
  if (pen.style == PenStyle::Null) {
    p.setPen(Qt::NoPen);
    return;
  }
  const int width = std::max(1, pen.width);
  QPen qp(ToQColor(pen.color));
  if (width == 1) {
    qp.setWidth(0);  // cosmetic: exactly one pixel, like a GDI cosmetic pen
    qp.setCapStyle(Qt::FlatCap);
    qp.setJoinStyle(Qt::MiterJoin);
    switch (pen.style) {
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
        break;
    }
  } else {
    qp.setWidth(width);  // GDI geometric pens are solid with round ends and joins
    qp.setCapStyle(Qt::RoundCap);
    qp.setJoinStyle(Qt::RoundJoin);
  }
  p.setPen(qp);
}

void QtCanvas::Blit(const QImage& cell, int x, int y) {
  const int64_t left = std::max<int64_t>(x, 0), right = std::min<int64_t>(int64_t{x} + cell.width(), Width());
  const int64_t top = std::max<int64_t>(y, 0),
                bottom = std::min<int64_t>(int64_t{y} + cell.height(), Height());
  if (left >= right || top >= bottom) return;
  const PixelBuffer buffer = Pixels();
  for (int64_t row = top; row < bottom; ++row) {
    const auto* from = reinterpret_cast<const uint32_t*>(cell.constScanLine(static_cast<int>(row - y)));
    std::memcpy(buffer.pixels + row * buffer.stride + left, from + (left - x),
                static_cast<size_t>(right - left) * 4);
  }
}

void QtCanvas::LineTo(int x, int y) {
  const Point points[2] = {{x_, y_}, {x, y}};
  StrokePath(Pixels(), pen_, points, pattern_);
  x_ = x;
  y_ = y;
}

void QtCanvas::Polyline(std::span<const Point> points) {
  int pattern = 0;
  StrokePath(Pixels(), pen_, points, pattern);
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (left == right || top == bottom) return;
  const PixelBuffer buffer = Pixels();
  if (!brush_.hollow) FillPixels(buffer, left, top, right, bottom, PixelOf(brush_.color));
  StrokeRectangle(buffer, pen_, left, top, right, bottom);
}

void QtCanvas::FillRect(int left, int top, int right, int bottom, Color color) {
  FillPixels(Pixels(), left, top, right, bottom, PixelOf(color));
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  DrawEllipse(Pixels(), pen_, brush_, left, top, right, bottom);
}

void QtCanvas::Polygon(std::span<const Point> points) {
  if (points.size() < 2) return;
  QPainter& p = P();
  QPolygon poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& pt : points) poly << QPoint(pt.x, pt.y);
  ApplyPen(p, pen_);
  p.setBrush(brush_.hollow ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush_.color)));
  p.drawPolygon(poly);
}

void QtCanvas::Text(int x, int y, std::string_view text) {
  const auto utf16 = [&] { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); };
  if (!opaque_) {
    QPainter& p = P();
    p.setPen(ToQColor(textColor_));
    p.drawText(QPoint(x, y + metrics_.ascent()), utf16());
    return;
  }
  // An opaque cell depends only on the text, the font and the two colours: drawn once, copied after.
  std::string key = "T";
  for (uint32_t v : {static_cast<uint32_t>(fontSpec_.height), textColor_, textBackground_}) AppendKey(key, v);
  key += fontSpec_.face;
  key += '\0';
  key += text;
  auto it = cells_.find(key);
  if (it == cells_.end()) {
    const int width = MeasureText(text).width, height = metrics_.height();
    if (width <= 0 || height <= 0) return;
    QImage cell(width, height, QImage::Format_RGB32);
    cell.fill(ToQColor(textBackground_));
    QPainter p(&cell);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(font_);
    p.setPen(ToQColor(textColor_));
    p.drawText(QPoint(0, metrics_.ascent()), utf16());
    p.end();
    if (cellPixels_ > kMaxCellPixels) cells_.clear(), cellPixels_ = 0;
    cellPixels_ += int64_t{width} * height;
    it = cells_.emplace(std::move(key), std::move(cell)).first;
  }
  Blit(it->second, x, y);
}

TextSize QtCanvas::MeasureText(std::string_view text) {
  const std::string key(text);
  auto it = widths_.find(key);
  if (it == widths_.end()) {
    if (widths_.size() >= kMaxWidths) widths_.clear();
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    it = widths_.emplace(key, metrics_.horizontalAdvance(s)).first;
  }
  return {it->second, metrics_.height()};
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
