#include "core/gfx/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace sorano {

namespace {

using Int128 = __int128;

// On/off per step of the 1-pixel styles; a solid pen has no pattern.
struct Dashes {
  const char* steps = nullptr;  // '1' on, '0' off
  int length = 0;
};

Dashes DashesOf(PenStyle style) {
  switch (style) {
    case PenStyle::Dot:
      return {"100", 3};
    case PenStyle::Dash:
      return {"111100", 6};
    case PenStyle::DashDotDot:
      return {"111100100100", 12};
    default:
      return {};
  }
}

int PenWidth(const Pen& pen) {
  return std::max(1, pen.width);
}

// The first k in [lo, hi] where pred turns true (pred false ... false true ... true), hi + 1 when
// it never does.
template <class Pred>
int64_t FirstTrue(int64_t lo, int64_t hi, Pred pred) {
  int64_t end = hi + 1;
  while (lo < end) {
    const int64_t mid = lo + (end - lo) / 2;
    if (pred(mid)) {
      end = mid;
    } else {
      lo = mid + 1;
    }
  }
  return end;
}

// One 1-pixel segment from a to b; b itself only with includeEnd. The pattern position advances by
// the segment's steps along its longer axis.
void ThinSegment(const PixelBuffer& buf, Point a, Point b, bool includeEnd, uint32_t pixel,
                 const Dashes& dashes, int& pattern) {
  const int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  // u is the longer (major) axis, v the shorter.
  const int64_t du = xMajor ? dx : dy, dv = xMajor ? dy : dx;
  const int64_t u0 = xMajor ? a.x : a.y, v0 = xMajor ? a.y : a.x;
  const int64_t su = du >= 0 ? 1 : -1, sv = dv >= 0 ? 1 : -1;
  const int64_t n = std::llabs(du), m = std::llabs(dv);
  const int64_t steps = n + (includeEnd ? 1 : 0);
  const int start = dashes.length > 0 ? (pattern % dashes.length + dashes.length) % dashes.length : 0;
  if (dashes.length > 0) pattern = static_cast<int>((start + n) % dashes.length);
  if (steps == 0 || buf.width <= 0 || buf.height <= 0) return;
  const int64_t uLimit = xMajor ? buf.width : buf.height, vLimit = xMajor ? buf.height : buf.width;

  // Step k lies at u0 + su * k and v0 + sv * off(k), off(k) = floor((2km + c) / 2n): the nearest
  // minor coordinate, a tie going to the smaller one (c = n - 1 while v grows, n while it falls).
  const int64_t c = n == 0 ? 0 : (sv > 0 ? n - 1 : n);
  const int64_t twoN = 2 * std::max<int64_t>(n, 1), twoM = 2 * m;
  int64_t kLo = 0, kHi = steps - 1, rem = c, vStart = v0;
  const bool inside = a.x >= 0 && a.x < buf.width && a.y >= 0 && a.y < buf.height && b.x >= 0 &&
                      b.x < buf.width && b.y >= 0 && b.y < buf.height;
  if (!inside) {
    // The steps inside the buffer: u in [0, uLimit) gives a range of k at once; v is monotonic in k.
    // 2km reaches 2^65 for a line across the whole int range.
    auto numerator = [&](int64_t k) { return 2 * Int128{k} * m + c; };
    auto v = [&](int64_t k) { return Int128{v0} + sv * (numerator(k) / twoN); };
    if (su > 0) {
      kLo = std::max(kLo, -u0);
      kHi = std::min(kHi, uLimit - 1 - u0);
    } else {
      kLo = std::max(kLo, u0 - (uLimit - 1));
      kHi = std::min(kHi, u0);
    }
    if (kLo > kHi) return;
    if (sv > 0) {
      kLo = FirstTrue(kLo, kHi, [&](int64_t k) { return v(k) >= 0; });
      kHi = FirstTrue(kLo, kHi, [&](int64_t k) { return v(k) >= vLimit; }) - 1;
    } else {
      kLo = FirstTrue(kLo, kHi, [&](int64_t k) { return v(k) < vLimit; });
      kHi = FirstTrue(kLo, kHi, [&](int64_t k) { return v(k) < 0; }) - 1;
    }
    if (kLo > kHi) return;
    rem = static_cast<int64_t>(numerator(kLo) % twoN);
    vStart = static_cast<int64_t>(v(kLo));
  }
  const int64_t u = u0 + su * kLo;
  const int64_t x = xMajor ? u : vStart, y = xMajor ? vStart : u;
  // An index rather than a pointer: the step after the last one may lie outside the buffer.
  std::ptrdiff_t at = y * buf.stride + x;
  const std::ptrdiff_t stepU = xMajor ? su : su * buf.stride;
  const std::ptrdiff_t stepV = xMajor ? sv * buf.stride : sv;
  int phase = dashes.length > 0 ? static_cast<int>((start + kLo) % dashes.length) : 0;
  for (int64_t k = kLo; k <= kHi; ++k) {
    if (dashes.length == 0 || dashes.steps[phase] == '1') buf.pixels[at] = pixel;
    if (dashes.length > 0 && ++phase == dashes.length) phase = 0;
    at += stepU;
    rem += twoM;
    if (rem >= twoN) {
      rem -= twoN;
      at += stepV;
    }
  }
}

// The pixels of a row whose centres x + q lie strictly inside (lo, hi): first ... last.
struct PixelRange {
  double first = 0;
  double last = -1;
  bool Empty() const { return first > last; }
};
PixelRange Inside(double q, double lo, double hi) {
  if (!(lo < hi)) return {};
  return {std::floor(lo - q) + 1, std::ceil(hi - q) - 1};
}

void FillRange(const PixelBuffer& buf, int64_t y, double first, double last, uint32_t pixel) {
  first = std::max(first, 0.0);
  last = std::min(last, static_cast<double>(buf.width) - 1);
  if (first > last) return;
  uint32_t* row = buf.pixels + y * buf.stride;
  std::fill(row + static_cast<int64_t>(first), row + static_cast<int64_t>(last) + 1, pixel);
}

// The pixels whose centres lie closer than r to the segment a-b, the segment's points taken at
// (x + q, y + q) of pixel space shifted by q: q = 0 puts them on pixel centres, 0.5 on corners.
void WideSegment(const PixelBuffer& buf, Point a, Point b, double r, double q, uint32_t pixel) {
  const double ax = a.x, ay = a.y, bx = b.x, by = b.y;
  const double dx = bx - ax, dy = by - ay;
  const double len = std::sqrt(dx * dx + dy * dy);
  const double ux = dx / len, uy = dy / len;
  // The band along the segment, for a row at height cy with d = cy - ay, holds the x = ax + t with
  // |d * ux - t * uy| < r (across) and 0 <= t * ux + d * uy <= len (along): each bound of t is
  // linear in d. A horizontal segment's band holds whole rows, a vertical one's whole columns.
  const double across = uy != 0 ? ux / uy : 0, acrossHalf = uy != 0 ? std::fabs(r / uy) : 0;
  const double along = ux != 0 ? -uy / ux : 0, alongLen = ux != 0 ? len / ux : 0;
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double rowLo = std::max(std::floor(std::min(ay, by) - r - q) + 1, 0.0);
  const double rowHi = std::min(std::ceil(std::max(ay, by) + r - q) - 1, static_cast<double>(buf.height) - 1);
  for (double row = rowLo; row <= rowHi; ++row) {
    const double cy = row + q, d = cy - ay;
    double tLo = -kInf, tHi = kInf;
    if (uy != 0) {
      tLo = d * across - acrossHalf, tHi = d * across + acrossHalf;
    } else if (std::fabs(d) >= r) {
      tLo = kInf;
    }
    if (ux != 0) {
      const double t1 = d * along, t2 = t1 + alongLen;
      tLo = std::max(tLo, std::min(t1, t2)), tHi = std::min(tHi, std::max(t1, t2));
    } else if (d * uy < 0 || d * uy > len) {
      tLo = kInf;
    }
    double lo = kInf, hi = -kInf;
    if (tLo < tHi) lo = ax + tLo, hi = ax + tHi;
    // The round ends.
    for (const auto& [px, py] : {std::pair{ax, ay}, std::pair{bx, by}}) {
      const double e = cy - py;
      if (std::fabs(e) < r) {
        const double h = std::sqrt(r * r - e * e);
        lo = std::min(lo, px - h), hi = std::max(hi, px + h);
      }
    }
    const PixelRange span = Inside(q, lo, hi);
    FillRange(buf, static_cast<int64_t>(row), span.first, span.last, pixel);
  }
}

// Half the width of the row at dy from the centre of the ellipse with semi-axes a and b, or -1 when
// the row misses it.
double HalfChord(double a, double b, double dy) {
  if (a <= 0 || b <= 0 || std::fabs(dy) >= b) return -1;
  return a * std::sqrt(1 - (dy / b) * (dy / b));
}

}  // namespace

void DrawEllipse(const PixelBuffer& buffer, const Pen& pen, const Brush& brush, int left, int top, int right,
                 int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (left >= right || top >= bottom) return;
  const bool outlined = pen.style != PenStyle::Null;
  const int width = outlined ? PenWidth(pen) : 1;
  const double q = width % 2 == 0 ? 0.5 : 0.0, grow = outlined ? width / 2.0 : 0.0;
  const double cx = (static_cast<double>(left) + right - 1) / 2,
               cy = (static_cast<double>(top) + bottom - 1) / 2;
  const double a = (static_cast<double>(right) - 1 - left) / 2,
               b = (static_cast<double>(bottom) - 1 - top) / 2;
  const double rowLo = std::max(std::floor(cy - b - grow - q) + 1, 0.0);
  const double rowHi = std::min(std::ceil(cy + b + grow - q) - 1, static_cast<double>(buffer.height) - 1);
  const uint32_t penPixel = PixelOf(pen.color), brushPixel = PixelOf(brush.color);
  for (double row = rowLo; row <= rowHi; ++row) {
    const double dy = row + q - cy;
    // A null pen has no ring: its "outer" path is the path itself and the brush fills all of it.
    const double outerHalf = HalfChord(a + grow, b + grow, dy);
    const double innerHalf = outlined ? HalfChord(a - grow, b - grow, dy) : outerHalf;
    const PixelRange outer = Inside(q, cx - outerHalf, cx + outerHalf);
    const PixelRange inner = Inside(q, cx - innerHalf, cx + innerHalf);
    const int64_t y = static_cast<int64_t>(row);
    if (!brush.hollow && !inner.Empty()) FillRange(buffer, y, inner.first, inner.last, brushPixel);
    if (!outlined || outer.Empty()) continue;
    if (inner.Empty()) {
      FillRange(buffer, y, outer.first, outer.last, penPixel);
    } else {
      FillRange(buffer, y, outer.first, inner.first - 1, penPixel);
      FillRange(buffer, y, inner.last + 1, outer.last, penPixel);
    }
  }
}

void FillPixels(const PixelBuffer& buffer, int left, int top, int right, int bottom, uint32_t pixel) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  left = std::max(left, 0), top = std::max(top, 0);
  right = std::min(right, buffer.width), bottom = std::min(bottom, buffer.height);
  if (left >= right || top >= bottom) return;
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = buffer.pixels + y * buffer.stride;
    std::fill(row + left, row + right, pixel);
  }
}

void StrokePath(const PixelBuffer& buffer, const Pen& pen, std::span<const Point> points, int& pattern) {
  if (pen.style == PenStyle::Null || points.size() < 2) return;
  const uint32_t pixel = PixelOf(pen.color);
  const int width = PenWidth(pen);
  if (width == 1) {
    const Dashes dashes = DashesOf(pen.style);
    for (size_t i = 1; i < points.size(); ++i)
      ThinSegment(buffer, points[i - 1], points[i], false, pixel, dashes, pattern);
    return;
  }
  const double r = width / 2.0, q = width % 2 == 0 ? 0.5 : 0.0;
  for (size_t i = 1; i < points.size(); ++i) {
    if (points[i] != points[i - 1]) WideSegment(buffer, points[i - 1], points[i], r, q, pixel);
  }
}

void StrokeRectangle(const PixelBuffer& buffer, const Pen& pen, int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (pen.style == PenStyle::Null || left >= right || top >= bottom) return;
  const uint32_t pixel = PixelOf(pen.color);
  const int width = PenWidth(pen);
  const Dashes dashes = DashesOf(pen.style);
  // In 64 bits: the edges' bands reach width / 2 beyond any int corner.
  const int64_t l = left, t = top, r = int64_t{right} - 1, b = int64_t{bottom} - 1;
  if (width == 1 && dashes.length > 0) {
    // Clockwise from the top-left corner, the pattern running on round the corners.
    int pattern = 0;
    if (l == r || t == b) {
      ThinSegment(buffer, {left, top}, {static_cast<int>(r), static_cast<int>(b)}, true, pixel, dashes,
                  pattern);
      return;
    }
    const Point corners[5] = {{left, top},
                              {static_cast<int>(r), top},
                              {static_cast<int>(r), static_cast<int>(b)},
                              {left, static_cast<int>(b)},
                              {left, top}};
    StrokePath(buffer, pen, corners, pattern);
    return;
  }
  const int64_t half = width / 2;
  const int64_t oL = l - half, oT = t - half, oR = r - half + width, oB = b - half + width;
  const int64_t iL = oL + width, iT = oT + width, iR = r - half, iB = b - half;
  auto fill = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    auto clampX = [&](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, buffer.width)); };
    auto clampY = [&](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, buffer.height)); };
    if (x0 < x1 && y0 < y1) FillPixels(buffer, clampX(x0), clampY(y0), clampX(x1), clampY(y1), pixel);
  };
  if (iL >= iR || iT >= iB) {
    fill(oL, oT, oR, oB);
    return;
  }
  fill(oL, oT, oR, iT);
  fill(oL, iB, oR, oB);
  fill(oL, iT, iL, iB);
  fill(iR, iT, oR, iB);
}

}  // namespace sorano
