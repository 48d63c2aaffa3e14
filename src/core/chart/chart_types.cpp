// The fourteen chart types of the price chart. A rising bar is one with open <= close.
#include <algorithm>
#include <array>
#include <cmath>

#include "core/chart/chart_painter.h"
#include "core/chart/moving_average.h"

namespace sorano {

namespace {

bool Rising(const PriceBar& b) {
  return b.open <= b.close;
}

// The candle outline pen: the direction pen, or the inside-bar colours when the body of bar j lies
// strictly inside the body of the bar before it (never for the leftmost bar of the window).
Pen BodyPen(const ChartPaintContext& ctx, int j) {
  const PriceBar& p = ctx.Bar(j);
  const bool rising = Rising(p);
  if (ctx.s.monochrome) return ctx.pal.falling;
  Pen pen = rising ? ctx.pal.rising : ctx.pal.falling;
  if (j == 0) return pen;
  const PriceBar& q = ctx.Bar(j - 1);
  if (rising) {
    if (q.open < p.open && p.close < q.close) return ctx.pal.harami;
    if (q.close < p.open && p.close < q.open) return ctx.pal.tsutsumi;
  } else {
    if (q.close < p.close && p.open < q.open) return ctx.pal.harami;
    if (q.open < p.close && p.open < q.close) return ctx.pal.tsutsumi;
  }
  return pen;
}

Pen DirectionPen(const ChartPaintContext& ctx, const PriceBar& b) {
  return ctx.s.monochrome ? ctx.pal.falling : (Rising(b) ? ctx.pal.rising : ctx.pal.falling);
}

// Body brush of candles and kamakubi bars: the candle's own colour, or the background when
// check_roubh asks for hollow bodies; in monochrome white for rising and black for falling.
Brush BodyBrush(const ChartPaintContext& ctx, const PriceBar& b) {
  if (ctx.s.monochrome) return Rising(b) ? ctx.pal.risingBody : ctx.pal.fallingBody;
  if (ctx.s.check_roubh != 0) return ctx.pal.background;
  return Rising(b) ? ctx.pal.risingBody : ctx.pal.fallingBody;
}

Brush DirectionBrush(const ChartPaintContext& ctx, bool rising) {
  return rising ? ctx.pal.risingBody : ctx.pal.fallingBody;
}

void Candles(const ChartPaintContext& ctx) {
  Canvas& c = ctx.canvas;
  const int u = ctx.w.unit;
  for (int j = 0; j < ctx.visible; ++j) {
    const PriceBar& b = ctx.Bar(j);
    const int x = ctx.X(j);
    c.SetPen(DirectionPen(ctx, b));
    c.Line(x, ctx.Y(b.high), x, ctx.Y(b.low));
    c.SetPen(BodyPen(ctx, j));
    c.SetBrush(BodyBrush(ctx, b));
    const int yo = ctx.Y(b.open), yc = ctx.Y(b.close);
    if (yo != yc) {
      c.Rectangle(x - u, yo, x + u, yc);
    } else {
      const int y = ctx.Y((static_cast<int64_t>(b.open) + b.close) / 2);
      c.Line(x - u, y, x + u, y);
    }
  }
}

void Bars(const ChartPaintContext& ctx) {
  Canvas& c = ctx.canvas;
  const int u = ctx.w.unit;
  for (int j = 0; j < ctx.visible; ++j) {
    const PriceBar& b = ctx.Bar(j);
    const int x = ctx.X(j);
    c.SetPen(DirectionPen(ctx, b));
    c.Line(x, ctx.Y(b.high), x, ctx.Y(b.low));
    c.Line(x - u, ctx.Y(b.open), x, ctx.Y(b.open));
    c.Line(x + u, ctx.Y(b.close), x, ctx.Y(b.close));
  }
}

// Types 2, 4, 5, 6: one polyline from bar to bar.
template <typename Value>
void PriceLine(const ChartPaintContext& ctx, Value value) {
  if (ctx.visible < 2) return;
  std::vector<Point> pts;
  pts.reserve(static_cast<size_t>(ctx.visible));
  for (int j = 0; j < ctx.visible; ++j) pts.push_back({ctx.X(j), ctx.Y(value(ctx.Bar(j)))});
  ctx.canvas.SetPen(ctx.pal.line);
  ctx.canvas.Polyline(pts);
}

// Type 3: close of bar p - 1, open of bar p half a pitch left of its centre, close of bar p.
void OpenCloseLine(const ChartPaintContext& ctx) {
  if (ctx.visible < 2) return;
  std::vector<Point> pts;
  pts.reserve(static_cast<size_t>(2 * ctx.visible));
  pts.push_back({ctx.X(0), ctx.Y(ctx.Bar(0).close)});
  for (int p = 1; p < ctx.visible; ++p) {
    pts.push_back({(2 * p + 1) * ctx.w.pitch / 2, ctx.Y(ctx.Bar(p).open)});
    pts.push_back({ctx.X(p), ctx.Y(ctx.Bar(p).close)});
  }
  ctx.canvas.SetPen(ctx.pal.line);
  ctx.canvas.Polyline(pts);
}

void Columns(const ChartPaintContext& ctx) {
  Canvas& c = ctx.canvas;
  const int u = ctx.w.unit;
  for (int j = 0; j < ctx.visible; ++j) {
    const PriceBar& b = ctx.Bar(j);
    const int x = ctx.X(j);
    c.SetPen(DirectionPen(ctx, b));
    c.SetBrush(DirectionBrush(ctx, Rising(b)));
    c.Rectangle(x - u, ctx.Y(b.close), x + u, ctx.scale.paneHeight);
  }
}

void Ovals(const ChartPaintContext& ctx) {
  Canvas& c = ctx.canvas;
  const int u = ctx.w.unit;
  for (int j = 0; j < ctx.visible; ++j) {
    const PriceBar& b = ctx.Bar(j);
    const int x = ctx.X(j);
    c.SetPen(DirectionPen(ctx, b));
    c.SetBrush(ctx.pal.background);
    c.Ellipse(x - u, ctx.Y(b.high), x + u, ctx.Y(b.low));
    const int yo = ctx.Y(b.open), yc = ctx.Y(b.close);
    if (yo != yc) {
      c.SetBrush(DirectionBrush(ctx, Rising(b)));
      c.Ellipse(x - u, yo, x + u, yc);
    } else {
      const int y = ctx.Y((static_cast<int64_t>(b.open) + b.close) / 2);
      c.Line(x - u, y, x + u, y);
    }
  }
}

void Kamakubi(const ChartPaintContext& ctx) {
  Canvas& c = ctx.canvas;
  const int u = ctx.w.unit;
  const int hook = u + u / 2;
  for (int j = 0; j < ctx.visible; ++j) {
    const PriceBar& b = ctx.Bar(j);
    const int x = ctx.X(j);
    const int yh = ctx.Y(b.high), yl = ctx.Y(b.low);
    c.SetPen(BodyPen(ctx, j));
    c.Line(x, yh, x, yl);
    if (Rising(b)) {
      c.Line(x, yh, x + hook, yh);
      c.Line(x, yl, x - hook, yl);
    } else {
      c.Line(x, yl, x + hook, yl);
      c.Line(x, yh, x - hook, yh);
    }
    c.SetBrush(BodyBrush(ctx, b));
    const int yo = ctx.Y(b.open), yc = ctx.Y(b.close);
    if (yo != yc) c.Rectangle(x - u + u / 2, yo, x + u - u / 2, yc);
  }
}

void NewPriceBars(const ChartPaintContext& ctx) {
  if (ctx.visible <= 0) return;
  Canvas& c = ctx.canvas;
  const int u = ctx.w.unit;
  const int lines = std::clamp(ctx.s.check_shi_shinne, 0, 47);  // L has 49 places; m <= N + 1 <= 48
  std::array<int64_t, 49> level{};
  level[0] = level[1] = level[2] = ctx.Bar(0).close;
  bool rising = true;
  int n = 0;
  const auto block = [&](int j, bool up, int64_t from, int64_t to) {
    c.SetPen(ctx.s.monochrome ? ctx.pal.falling : (up ? ctx.pal.rising : ctx.pal.falling));
    c.SetBrush(DirectionBrush(ctx, up));
    c.Rectangle(ctx.X(j) - u, ctx.Y(from), ctx.X(j) + u, ctx.Y(to));
  };
  const auto push = [&](int64_t close) {
    for (size_t k = level.size() - 1; k >= 1; --k) level[k] = level[k - 1];
    level[0] = close;
  };
  for (int j = 0; j < ctx.visible; ++j) {
    const int64_t close = ctx.Bar(j).close;
    const size_t m = static_cast<size_t>(std::min(n, lines + 1));
    if (rising) {
      if (close > level[0]) {
        push(close);
        ++n;
        block(j, true, level[1], level[0]);
      } else if (close >= level[m]) {
        block(j, true, level[1], level[0]);
      } else {
        block(j, false, level[1], close);
        level[0] = close;
        n = 1;
        rising = false;
      }
    } else {
      if (close < level[0]) {
        push(close);
        ++n;
        block(j, false, level[1], level[0]);
      } else if (close <= level[m]) {
        block(j, false, level[1], level[0]);
      } else {
        block(j, true, level[1], close);
        level[0] = close;
        n = 1;
        rising = true;
      }
    }
  }
}

// The close of the bar before window position j; the first bar of the series is its own predecessor.
int64_t PreviousClose(const ChartPaintContext& ctx, int j) {
  const int t = ctx.w.first + j;
  return ctx.series[t > 0 ? t - 1 : 0].close;
}

void Kagi(const ChartPaintContext& ctx) {
  if (ctx.visible <= 0) return;
  Canvas& c = ctx.canvas;
  const int u = ctx.w.unit, pitch = ctx.w.pitch;
  const double k = ctx.s.check_shi_kagi;
  bool rising = true;
  int tc = 1;
  int64_t hr = ctx.Bar(0).close, lr = hr;
  c.SetBrush(ctx.pal.background);
  for (int j = 0; j < ctx.visible; ++j) {
    const int64_t close = ctx.Bar(j).close;
    const int64_t prev = PreviousClose(ctx, j);
    const int x = pitch * j;
    const int yc = ctx.Y(close);
    if (rising) {
      c.SetPen(ctx.s.monochrome ? ctx.pal.falling : ctx.pal.rising);
      hr = std::max(hr, prev);
      if (Trunc32(static_cast<double>(hr) - static_cast<double>(hr) * k) > close) {
        c.Rectangle(x - u, yc - u, x + u, yc + u);
        c.Line(pitch * tc, ctx.Y(hr), x, ctx.Y(hr));
        c.Line(pitch * tc, ctx.Y(lr), pitch * tc, ctx.Y(hr));
        tc = j;
        rising = false;
        lr = prev;
      }
    } else {
      c.SetPen(ctx.pal.falling);
      lr = std::min(lr, prev);
      if (Trunc32(static_cast<double>(lr) + static_cast<double>(hr) * k) < close) {
        c.Rectangle(x - u, yc - u, x + u, yc + u);
        c.Line(pitch * tc, ctx.Y(lr), x, ctx.Y(lr));
        c.Line(pitch * tc, ctx.Y(hr), pitch * tc, ctx.Y(lr));
        tc = j;
        rising = true;
        hr = prev;
      }
    }
  }
}

void Renko(const ChartPaintContext& ctx) {
  const double r = ctx.s.check_shi_renkou;
  if (ctx.visible <= 0 || !(r > 0)) return;  // a box width of 0 or less has no boxes
  Canvas& c = ctx.canvas;
  const int u = ctx.w.unit, pitch = ctx.w.pitch;
  bool rising = true;
  int bc = 1;
  int64_t hr = ctx.Bar(0).close, lr = hr;
  int64_t y = ctx.Y(hr);
  // Boxes beyond the right edge are not seen; a tiny close must not make millions of them.
  const int lastColumn = ctx.width / std::max(1, pitch) + 1;
  c.SetBrush(ctx.pal.background);
  const auto boxes = [&](int64_t close, int64_t step) {
    // b is truncated before its sign is tested: a quotient between -1 and 0 is b = 0, one box.
    const int64_t b = close > 0 ? Trunc32((static_cast<double>(hr) / close - 1) / r) : -1;
    const int64_t count = b < 0 ? 0 : std::min<int64_t>(b, lastColumn) + 1;
    for (int64_t i = 0; i < count && bc <= lastColumn; ++i) {
      const int yy = static_cast<int>(std::clamp<int64_t>(y, -16000000, 16000000));
      c.Rectangle(pitch * bc - u, yy - u, pitch * bc + u, yy + u);
      y += step;
      ++bc;
    }
  };
  for (int j = 0; j < ctx.visible; ++j) {
    const int64_t close = ctx.Bar(j).close;
    const int64_t prev = PreviousClose(ctx, j);
    if (rising) {
      c.SetPen(ctx.s.monochrome ? ctx.pal.falling : ctx.pal.rising);
      hr = std::max(hr, prev);
      if (Trunc32(static_cast<double>(hr) - static_cast<double>(hr) * 2 * r) > close) {
        boxes(close, -2 * u);
        y += 4 * u;
        rising = false;
        lr = prev;
      }
    } else {
      c.SetPen(ctx.pal.falling);
      lr = std::min(lr, prev);
      if (Trunc32(static_cast<double>(lr) + static_cast<double>(hr) * 2 * r) < close) {
        boxes(close, 2 * u);
        y -= 4 * u;
        rising = true;
        hr = prev;
      }
    }
  }
}

}  // namespace

void DrawChartType(const ChartPaintContext& ctx, int type) {
  switch (type) {
    case 0:
      Candles(ctx);
      break;
    case 1:
      Bars(ctx);
      break;
    case 2:
      PriceLine(ctx, [](const PriceBar& b) { return static_cast<int64_t>(b.close); });
      break;
    case 3:
      OpenCloseLine(ctx);
      break;
    case 4:
      PriceLine(ctx, [](const PriceBar& b) { return static_cast<int64_t>(b.high); });
      break;
    case 5:
      PriceLine(ctx, [](const PriceBar& b) { return static_cast<int64_t>(b.low); });
      break;
    case 6:
      PriceLine(ctx, [](const PriceBar& b) { return (static_cast<int64_t>(b.high) + b.low) / 2; });
      break;
    case 7:
      Columns(ctx);
      break;
    case 8:
      Ovals(ctx);
      break;
    case 9:
      Kamakubi(ctx);
      break;
    case 10:
      NewPriceBars(ctx);
      break;
    case 11:
      Kagi(ctx);
      break;
    case 12:
      Renko(ctx);
      break;
    default:
      break;
  }
}

void DrawChartTypes(const ChartPaintContext& ctx) {
  if (ctx.s.check_soku_check == 1) {
    for (int type : kMultipleTypeOrder)
      if (ctx.s.check_sokup[static_cast<size_t>(type)] == 1) DrawChartType(ctx, type);
  } else {
    DrawChartType(ctx, ctx.s.check_soku);
  }
}

}  // namespace sorano
