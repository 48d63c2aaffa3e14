#include "support/recording_canvas.h"

namespace sorano::test {

Call RecordingCanvas::Base(Op op) const {
  Call c;
  c.op = op;
  c.pen = pen_;
  c.brush = brush_;
  c.textColor = textColor_;
  c.textBackground = textBackground_;
  c.opaque = opaque_;
  return c;
}

void RecordingCanvas::LineTo(int x, int y) {
  Call c = Base(Op::Line);
  c.points = {pos_, Point{x, y}};
  calls_.push_back(std::move(c));
  pos_ = {x, y};
}

void RecordingCanvas::Polyline(std::span<const Point> points) {
  Call c = Base(Op::Polyline);
  c.points.assign(points.begin(), points.end());
  calls_.push_back(std::move(c));
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
  Call c = Base(Op::Rectangle);
  c.left = left, c.top = top, c.right = right, c.bottom = bottom;
  calls_.push_back(std::move(c));
}

void RecordingCanvas::FillRect(int left, int top, int right, int bottom, Color color) {
  Call c = Base(Op::FillRect);
  c.left = left, c.top = top, c.right = right, c.bottom = bottom;
  c.fill = color;
  calls_.push_back(std::move(c));
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
  Call c = Base(Op::Ellipse);
  c.left = left, c.top = top, c.right = right, c.bottom = bottom;
  calls_.push_back(std::move(c));
}

void RecordingCanvas::Polygon(std::span<const Point> points) {
  Call c = Base(Op::Polygon);
  c.points.assign(points.begin(), points.end());
  calls_.push_back(std::move(c));
}

void RecordingCanvas::Text(int x, int y, std::string_view text) {
  Call c = Base(Op::Text);
  c.at = {x, y};
  c.text = std::string(text);
  calls_.push_back(std::move(c));
}

TextSize RecordingCanvas::MeasureText(std::string_view text) {
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      width += font_.height / 2;
    } else if ((b & 0xC0) != 0x80) {  // lead byte of a multi-byte UTF-8 character
      width += font_.height;
    }
  }
  return {width, font_.height};
}

std::vector<Call> RecordingCanvas::Of(Op op) const {
  std::vector<Call> out;
  for (const Call& c : calls_)
    if (c.op == op) out.push_back(c);
  return out;
}

std::vector<Call> RecordingCanvas::Of(Op op, Color penColor) const {
  std::vector<Call> out;
  for (const Call& c : calls_)
    if (c.op == op && c.pen.color == penColor) out.push_back(c);
  return out;
}

std::vector<Call> RecordingCanvas::TextsEqual(std::string_view s) const {
  std::vector<Call> out;
  for (const Call& c : calls_)
    if (c.op == Op::Text && c.text == s) out.push_back(c);
  return out;
}

std::vector<std::string> RecordingCanvas::AllTexts() const {
  std::vector<std::string> out;
  for (const Call& c : calls_)
    if (c.op == Op::Text) out.push_back(c.text);
  return out;
}

}  // namespace sorano::test
