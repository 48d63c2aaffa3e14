#include "core/chart/comparison_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/chart/chart_painter.h"
#include "core/chart/trend_overlays.h"

namespace sorano {

namespace {

struct Palette {
  Pen grid, line;
  std::array<Pen, 3> comparison;
  Color text, background;
};

Palette MakePalette(const ChartSettings& s) {
  const auto& cc = s.color_chart;
  Palette p{
      {cc[1], 1, PenStyle::Dot}, {cc[2], 2}, {Pen{cc[9], 1}, Pen{cc[10], 1}, Pen{cc[11], 1}}, cc[7], cc[0]};
  if (s.monochrome) {
    for (Pen* pen : {&p.grid, &p.line, &p.comparison[0], &p.comparison[1], &p.comparison[2]})
      pen->color = kBlack;
    p.text = kBlack;
    p.background = kWhite;
  }
  return p;
}

bool NewWeek(const PriceBar& a, const PriceBar& b) {
  const int64_t d = static_cast<int64_t>(b.day) - a.day;
  return (d >= 3 && d <= 7) || d < 0;
}
bool NewMonth(const PriceBar& a, const PriceBar& b) {
  return a.month < b.month || (a.month == 12 && b.month == 1);
}

struct PercentLabel {
  int y;
  std::string text;
  bool grid;  // a grid line across the window at y
};

// The labels of the percentage scale in drawing order (the header's rule); none when B <= 0.
std::vector<PercentLabel> PercentLabels(const PriceScale& sc, int64_t B, int lineHeight) {
  std::vector<PercentLabel> out;
  if (B <= 0 || sc.paneHeight <= 0) return out;
  const int64_t topPct = static_cast<int64_t>(static_cast<double>(sc.top) / B * 100);
  const int64_t bottomPct = static_cast<int64_t>(static_cast<double>(sc.bottom) / B * 100);
  // k % of B lies (k / 100) * B * P / range pixels above B: a step that keeps labels a line apart.
  const double perPct = static_cast<double>(B) * sc.paneHeight / (100.0 * sc.range);
  const double minStep = std::ceil(lineHeight / perPct);
  const int64_t step =
      minStep <= 10 ? 10 : static_cast<int64_t>(std::min(std::ceil(minStep / 10) * 10, 1e15));
  const auto at = [&](int64_t k) { return sc.Y(B + B * (k - 100) / 100); };
  out.push_back({sc.Y(sc.top), std::to_string(topPct), false});
  for (int64_t k = 100; k < topPct; k += step) out.push_back({at(k), std::to_string(k) + "%", true});
  out.push_back({sc.paneHeight, std::to_string(bottomPct), false});
  for (int64_t k = 100; k > bottomPct; k -= step) out.push_back({at(k), std::to_string(k), true});
  return out;
}

class Painter {
 public:
  Painter(Canvas& c, const ChartSettings& s, const Palette& pal, const PriceSeries& main,
          const ChartWindow& w, int width, int height, int lineHeight, int labelRoom)
      : c_(c),
        s_(s),
        pal_(pal),
        main_(main),
        w_(w),
        width_(width),
        height_(height),
        h_(lineHeight),
        room_(labelRoom) {}

  // Window position j lies at x = pitch * (j + 1); each bar but the last of the window is compared with
  // the bar before it, the first one with the bar left of the window (at first = 0 there is none).
  void DateAxis(int P) {
    const int period = s_.check_ymd;
    // The label lines of a position stand one under the other, the last on the pane's bottom line.
    const int lines = period == kPeriodDaily ? 3 : period == kPeriodWeekly ? 2 : 1;
    const int top = height_ - lines * h_;
    const int gridTop = P - 10 * (height_ / 10);
    DateLabelRows rows(c_);
    c_.SetPen(pal_.grid);
    for (int j = 0; j < w_.visible - 1; ++j) {
      const int b = w_.first + j;
      if (b < 1) continue;
      const PriceBar& prev = main_[b - 1];
      const PriceBar& cur = main_[b];
      const int x = w_.X(j);
      const bool week = NewWeek(prev, cur), month = NewMonth(prev, cur), year = prev.year < cur.year;
      if ((s_.check_line_w_x != 0 && period == kPeriodDaily && week) ||
          (s_.check_line_m_x != 0 && period != kPeriodMonthly && month) || year)
        c_.Line(x, P, x, gridTop);
      const int lx = x - w_.body / 2;
      if (period == kPeriodDaily && week) rows.Label(0, lx, top, Fmt2(cur.day));
      if (period != kPeriodMonthly && month)
        rows.Label(lines - 2, lx, top + (lines - 2) * h_,
                   Pad2(cur.month) + (period == kPeriodDaily ? "月" : ""));
      if (year) rows.Label(lines - 1, lx, top + (lines - 1) * h_, std::to_string(cur.year) + "年");
    }
  }

  void Percentages(const std::vector<PercentLabel>& labels) {
    for (const PercentLabel& l : labels) {
      c_.Text(width_ - room_, l.y, l.text);
      if (!l.grid) continue;
      c_.SetPen(pal_.grid);
      c_.Line(w_.pitch, l.y, w_.pitch * w_.visible, l.y);
    }
  }

  void Line(const std::vector<int32_t>& values, const PriceScale& sc, const Pen& pen) {
    if (values.size() < 2) return;
    std::vector<Point> pts;
    pts.reserve(values.size());
    for (size_t j = 0; j < values.size(); ++j) pts.push_back({w_.X(static_cast<int>(j)), sc.Y(values[j])});
    c_.SetPen(pen);
    c_.Polyline(pts);
  }

 private:
  static std::string Fmt2(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
  }
  static std::string Pad2(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", v);
    return buf;
  }

  Canvas& c_;
  const ChartSettings& s_;
  const Palette& pal_;
  const PriceSeries& main_;
  const ChartWindow& w_;
  int width_, height_, h_, room_;
};

// The comparison values at the window positions: the scaled close of the same date, else the last one
// before (the first kept close before any match). The kept dates ascend, so one merge pass does.
std::vector<int32_t> AtWindowDates(const PriceSeries& main, const ChartWindow& w,
                                   const ComparisonLine& line) {
  std::vector<int32_t> out(static_cast<size_t>(w.visible));
  int32_t last = line.closes.front();
  size_t k = 0;
  for (int j = 0; j < w.visible; ++j) {
    const int32_t date = DateKey(main[w.first + j]);
    while (k < line.dates.size() && line.dates[k] < date) ++k;
    if (k < line.dates.size() && line.dates[k] == date) last = line.closes[k];
    out[static_cast<size_t>(j)] = last;
  }
  return out;
}

// The scale of a fitted window: the price scale, in mode 2 widened by the comparison lines, which are
// kept at the window positions.
struct Scaled {
  PriceScale scale;
  std::array<std::vector<int32_t>, 3> lines;
  bool any = false;  // at least one comparison brand has a file
};

Scaled ScaleWindow(ComparisonMode mode, const PriceSeries& main, const ChartWindow& w,
                   std::span<const PriceSeries* const> others, int paneHeight) {
  Scaled out;
  out.scale = ComputePriceScale(main, w, paneHeight);
  if (mode == ComparisonMode::kPercentage) return out;
  int64_t top = out.scale.top, bottom = out.scale.bottom;
  for (size_t c = 0; c < others.size() && c < out.lines.size(); ++c) {
    if (others[c] == nullptr || !others[c]->HasFile()) continue;
    out.any = true;
    const ComparisonLine line = ComputeComparison(main, w, *others[c]);
    if (line.closes.empty()) continue;
    const auto [lo, hi] = std::minmax_element(line.closes.begin(), line.closes.end());
    top = std::max<int64_t>(top, *hi);
    bottom = std::min<int64_t>(bottom, *lo);
    out.lines[c] = AtWindowDates(main, w, line);
  }
  if (!out.any) return out;
  out.scale.top = static_cast<int32_t>(top);
  out.scale.bottom = static_cast<int32_t>(bottom);
  out.scale.range = static_cast<int32_t>(std::clamp<int64_t>(top - bottom, 1, INT32_MAX));
  return out;
}

}  // namespace

PriceScale PaintComparisonChart(Canvas& canvas, const ChartSettings& s, ComparisonMode mode,
                                const PriceSeries& main, ChartWindow& w,
                                std::span<const PriceSeries* const> others) {
  const Palette pal = MakePalette(s);
  const int width = canvas.Width(), height = canvas.Height();
  canvas.SetFont(ChartFont(s));
  canvas.SetTextColor(pal.text);
  canvas.SetTextBackground(pal.background, true);
  canvas.FillRect(0, 0, width, height, pal.background);
  const int h = std::max(1, canvas.MeasureText("1").height);
  const int paneHeight = height - 2 * h;
  if (!main.HasFile()) {
    DrawNoChartDataNotice(canvas, h);
    return PriceScale{.paneHeight = paneHeight};
  }

  // The labels stand at the right edge in the room of the widest of them, "000" at least. Which labels
  // there are depends on the bars in the window, and how many bars fit on the room: the room grows
  // until the labels fit. It only grows, so this ends.
  const ChartWindow given = w;
  int room = canvas.MeasureText("000").width;
  Scaled sc;
  std::vector<PercentLabel> labels;
  for (;;) {
    w = given;
    FitChartWindow(w, width, main.count(), s.check_shi_itimoku > 0 ? s.para_shi_itimoku01 : 0, room);
    if (w.visible <= 0) return PriceScale{.paneHeight = paneHeight};
    sc = ScaleWindow(mode, main, w, others, paneHeight);
    labels.clear();
    if (mode == ComparisonMode::kPercentage || sc.any)
      labels = PercentLabels(sc.scale, main[w.first].close, h);
    int need = room;
    for (const PercentLabel& l : labels) need = std::max(need, canvas.MeasureText(l.text).width);
    if (need <= room) break;
    room = need;
  }

  Painter p(canvas, s, pal, main, w, width, height, h, room);
  p.DateAxis(sc.scale.paneHeight);
  if (mode == ComparisonMode::kComparison && !sc.any) return sc.scale;
  p.Percentages(labels);
  for (size_t c = 0; c < sc.lines.size(); ++c) p.Line(sc.lines[c], sc.scale, pal.comparison[c]);
  std::vector<int32_t> closes(static_cast<size_t>(w.visible));
  for (int j = 0; j < w.visible; ++j) closes[static_cast<size_t>(j)] = main[w.first + j].close;
  p.Line(closes, sc.scale, pal.line);
  return sc.scale;
}

}  // namespace sorano
