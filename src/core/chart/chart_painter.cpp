#include "core/chart/chart_painter.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "core/chart/moving_average.h"

namespace sorano {

namespace {

std::string Fmt(const char* format, auto... args) {
  char buf[128];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

}  // namespace

ChartPalette MakeChartPalette(const ChartSettings& s) {
  const auto& cc = s.color_chart;
  const auto& cs = s.color_shisuu;
  ChartPalette p;
  p.grid = {cc[1], 1, PenStyle::Dot};
  p.line = {cc[2], 2, PenStyle::Solid};
  p.harami = {cc[3], 1};
  p.tsutsumi = {cc[4], 1};
  p.rising = {cc[5], 1};
  p.falling = {cc[6], 1};
  p.baseLow = {cc[12], 1};
  p.baseMid = {cc[13], 1};
  p.trend = {cc[8], 1};
  p.background = {cc[0], false};
  p.risingBody = {cc[5], false};
  p.fallingBody = {cc[6], false};
  p.text = cc[7];
  p.textBackground = cc[0];
  p.average = {Pen{cs[0], 1}, Pen{cs[1], 2}, Pen{cs[2], 3}};
  p.envelopeCentre = {cs[3], 1};
  p.envelope = {Pen{cs[4], 1}, Pen{cs[5], 2}, Pen{cs[6], 3}};
  p.bollingerCentre = {cs[7], 1};
  p.bollinger = {Pen{cs[8], 1}, Pen{cs[9], 1}, Pen{cs[10], 2}};
  p.parabolic = {cs[11], 3};
  p.zigzag = {cs[12], 2};
  p.ichimokuBase = {cs[13], 1};
  p.ichimokuConv = {cs[14], 1};
  p.ichimokuLag = {cs[15], 1};
  p.ichimokuSpanA = {cs[16], 2};
  p.ichimokuSpanB = {cs[17], 2};
  p.ichimokuCloud = {cs[18], 1, PenStyle::Dot};
  p.volumeByPrice = {cs[19], 1, PenStyle::Dot};
  if (s.monochrome) {
    for (Pen* pen : {&p.grid,          &p.line,           &p.harami,          &p.tsutsumi,
                     &p.rising,        &p.falling,        &p.baseLow,         &p.baseMid,
                     &p.trend,         &p.envelopeCentre, &p.bollingerCentre, &p.parabolic,
                     &p.zigzag,        &p.ichimokuBase,   &p.ichimokuConv,    &p.ichimokuLag,
                     &p.ichimokuSpanA, &p.ichimokuSpanB,  &p.ichimokuCloud,   &p.volumeByPrice})
      pen->color = kBlack;
    for (auto* set : {&p.average, &p.envelope, &p.bollinger})
      for (Pen& pen : *set) pen.color = kBlack;
    p.background = {kWhite, false};
    p.risingBody = {kWhite, false};
    p.fallingBody = {kBlack, false};
    p.text = kBlack;
    p.textBackground = kWhite;
  }
  return p;
}

Font ChartFont(const ChartSettings& s) {
  return Font{"MS UI Gothic", std::max(1, static_cast<int>(s.check_font_size / 1.3))};
}

void DrawNoChartDataNotice(Canvas& canvas, int lineHeight) {
  canvas.Text(0, 0, "　チャート画面：この株価コードは、データがダウンロードされていません。");
  canvas.Text(0, 3 * lineHeight,
              "　　　手順：この画面内で右クリックして、｢選択銘柄のチャート初期化｣をクリックしてください。");
}

DateLabelRows::DateLabelRows(Canvas& canvas) : c_(canvas), blank_(canvas.MeasureText(" ").width) {
  end_.fill(INT_MIN);
}

void DateLabelRows::Label(int row, int x, int y, const std::string& text) {
  if (row < 0 || row >= static_cast<int>(end_.size())) return;
  int& end = end_[static_cast<size_t>(row)];
  if (end != INT_MIN && x < end + blank_) return;
  c_.Text(x, y, text);
  end = x + c_.MeasureText(text).width;
}

namespace {

bool NewWeek(const PriceBar& prev, const PriceBar& cur) {
  const int64_t d = static_cast<int64_t>(cur.day) - prev.day;
  return (d >= 3 && d <= 7) || d < 0;
}
bool NewMonth(const PriceBar& prev, const PriceBar& cur) {
  return cur.month > prev.month || (prev.month == 12 && cur.month == 1);
}
bool NewYear(const PriceBar& prev, const PriceBar& cur) {
  return cur.year > prev.year;
}

class Painter {
 public:
  explicit Painter(const ChartPaintContext& ctx) : ctx_(ctx), c_(ctx.canvas), s_(ctx.s) {}

  // Text in colour `color` at (x, y); returns its width.
  int Text(int x, int y, const std::string& text, Color color) {
    c_.SetTextColor(color);
    c_.Text(x, y, text);
    c_.SetTextColor(ctx_.pal.text);
    return c_.MeasureText(text).width;
  }

  void PriceGrid() {
    if (s_.check_line_y == 0) return;
    const int right = ctx_.width - ctx_.w.labelWidth;
    for (const GridLabel& g : GridLabels(ctx_.scale)) {
      c_.Text(right, g.y, std::to_string(g.price));
      c_.SetPen(ctx_.pal.grid);
      c_.Line(ctx_.w.gap, g.y, right, g.y);
    }
  }

  void TimeGrid() {
    const int H = ctx_.scale.paneHeight;
    const int top = H - 10 * (ctx_.height / 10);
    c_.SetPen(ctx_.pal.grid);
    for (int p = 1; p < ctx_.visible; ++p) {
      const PriceBar& prev = ctx_.Bar(p - 1);
      const PriceBar& cur = ctx_.Bar(p);
      const int x = ctx_.X(p);
      if (s_.check_line_w_x != 0 && NewWeek(prev, cur)) c_.Line(x, H, x, top);
      if (s_.check_line_m_x != 0 && s_.check_ymd != kPeriodMonthly && NewMonth(prev, cur))
        c_.Line(x, H, x, top);
      if (NewYear(prev, cur)) c_.Line(x, H, x, top);
    }
  }

  void VolumeByPrice(int code) {
    if (s_.check_shi_kakakutai <= 0 || IsIndexCode(code)) return;
    const auto totals = ComputeVolumeByPrice(ctx_.series, ctx_.w, ctx_.scale.bottom, ctx_.scale.range);
    const int row = ctx_.scale.paneHeight / 20;
    c_.SetPen(ctx_.pal.volumeByPrice);
    c_.SetBrush(ctx_.pal.background);
    for (int i = 0; i < 20; ++i)
      c_.Rectangle(0, row * i, VolumeBarLength(totals, 19 - i, ctx_.width), row * (i + 1));
  }

  void SplitMarks() {
    if (s_.check_adjuston != 1) return;
    const int u = ctx_.w.unit, pitch = ctx_.w.pitch;
    c_.SetPen(ctx_.pal.line);
    c_.SetBrush(ctx_.pal.background);
    for (int p : ComputeSplitMarks(ctx_.series, ctx_.w)) {
      const Point tri[3] = {{pitch * p, 2 * u}, {pitch * (p + 1), 2 * u}, {pitch * (p + 1) - u, 4 * u}};
      c_.Polygon(tri);
    }
  }

  void Legend() {
    const PriceBar& a = ctx_.Bar(0);
    const PriceBar& b = ctx_.Bar(ctx_.visible - 1);
    std::string range =
        s_.check_ymd == kPeriodMonthly
            ? Fmt("%d年%d月～%d年%d月", a.year, a.month, b.year, b.month)
            : Fmt("%d年%d月%d日～%d年%d月%d日", a.year, a.month, a.day, b.year, b.month, b.day);
    int x = Text(0, 0, range + " ", ctx_.pal.text);
    const int n1 = s_.para_shi_sma01, n2 = s_.para_shi_sma02, n3 = s_.para_shi_sma03;
    if (s_.check_shi_sma > 0) x += Text(x, 0, Fmt("%s%d %d %d", "SMA ", n1, n2, n3) + " ", ctx_.pal.text);
    const struct {
      int32_t on;
      const char* name;
    } items[] = {{s_.check_shi_nakati, "AMA"}, {s_.check_shi_wma, "WMA"}, {s_.check_shi_tma, "TMA"},
                 {s_.check_shi_ema, "EMA"},    {s_.check_shi_lma, "LMA"}, {s_.check_shi_epma, "EPMA"},
                 {s_.check_shi_swma, "SWMA"}};
    for (const auto& item : items) {
      if (item.on <= 0) continue;
      x += Text(x, 0, std::string(item.name) + " ", ctx_.pal.text);
      x += Text(x, 0, Fmt("%d ", n1), ctx_.pal.average[0].color);
      x += Text(x, 0, Fmt("%d ", n2), ctx_.pal.average[1].color);
      x += Text(x, 0, Fmt("%d ", n3), ctx_.pal.average[2].color);
    }
  }

  void DateRows() {
    const int th = ctx_.textHeight;
    const int period = s_.check_ymd;
    const int dayRow = 1;
    const int monthRow = period == kPeriodDaily ? 2 : 1;
    const int yearRow = period == kPeriodDaily ? 3 : (period == kPeriodWeekly ? 2 : 1);
    DateLabelRows rows(c_);
    const auto label = [&](int row, int x, const std::string& text) {
      rows.Label(row, x, ctx_.height - row * th, text);
    };
    for (int p = 1; p < ctx_.visible; ++p) {
      const PriceBar& prev = ctx_.Bar(p - 1);
      const PriceBar& cur = ctx_.Bar(p);
      const int x = ctx_.X(p) - ctx_.w.unit / 2;
      if (period == kPeriodDaily && NewWeek(prev, cur)) label(dayRow, x, Fmt("%02d", cur.day));
      if (period != kPeriodMonthly && cur.month != prev.month) label(monthRow, x, Fmt("%2d", cur.month));
      if (cur.year != prev.year) label(yearRow, x, Fmt("%d", cur.year));
    }
  }

  void BaseLines(const BaseLineInputs* brand) {
    if ((s_.baseLines <= 0 && s_.check_shi_pf <= 0) || brand == nullptr) return;
    const BaseLineValues v = ComputeBaseLines(*brand);
    BaseLine(v.bookValue, ctx_.pal.baseLow);
    if (v.assetValue > 0) BaseLine(v.assetValue, ctx_.pal.baseMid);
  }

  void BaseLine(int32_t value, const Pen& pen) {
    int y;
    if (value > ctx_.scale.top) {
      y = 1;
    } else if (value > ctx_.scale.bottom) {
      y = ctx_.Y(value);
    } else {
      y = ctx_.height - ctx_.textHeight;  // below the price area
    }
    c_.SetPen(pen);
    c_.Line(ctx_.w.gap, y, ctx_.width - ctx_.w.labelWidth, y);
  }

  // Segments j = start ... end - 1 from (pitch * j, y(v[j - 1])) to (pitch * (j + 1), y(v[j])), joined
  // into polylines; a kNoValue breaks the line.
  void Segments(const std::vector<int32_t>& v, int start, int end, const Pen& pen) {
    end = std::min(end, static_cast<int>(v.size()));
    if (start < 1 || start >= end) return;
    c_.SetPen(pen);
    std::vector<Point> run;
    const int pitch = ctx_.w.pitch;
    const auto flush = [&] {
      if (run.size() >= 2) c_.Polyline(run);
      run.clear();
    };
    for (int j = start; j < end; ++j) {
      const int32_t a = v[static_cast<size_t>(j - 1)], b = v[static_cast<size_t>(j)];
      if (a == kNoValue || b == kNoValue) {
        flush();
        continue;
      }
      if (run.empty()) run.push_back({pitch * j, ctx_.Y(a)});
      run.push_back({pitch * (j + 1), ctx_.Y(b)});
    }
    flush();
  }

  void Averages() {
    const struct {
      int32_t on;
      AverageKind kind;
    } kinds[] = {{s_.check_shi_sma, AverageKind::Sma},   {s_.check_shi_nakati, AverageKind::Ama},
                 {s_.check_shi_wma, AverageKind::Wma},   {s_.check_shi_tma, AverageKind::Tma},
                 {s_.check_shi_ema, AverageKind::Ema},   {s_.check_shi_lma, AverageKind::Lma},
                 {s_.check_shi_epma, AverageKind::Epma}, {s_.check_shi_swma, AverageKind::Swma}};
    const int periods[3] = {s_.para_shi_sma01, s_.para_shi_sma02, s_.para_shi_sma03};
    for (const auto& k : kinds) {
      if (k.on <= 0) continue;
      for (int i = 2; i >= 0; --i) {  // long, middle, short
        const OverlayLine line = ComputeAverage(k.kind, ctx_.series, ctx_.w, periods[i]);
        if (line.Drawn())
          Segments(line.v, line.start, static_cast<int>(line.v.size()),
                   ctx_.pal.average[static_cast<size_t>(i)]);
      }
    }
  }

  void Bands(const BandLines& lines, const Pen& centre, const std::array<Pen, 3>& pens) {
    const Pen* order[7] = {&pens[2], &pens[1], &pens[0], &centre, &pens[0], &pens[1], &pens[2]};
    for (size_t i = 0; i < 7; ++i)
      if (lines[i].Drawn())
        Segments(lines[i].v, lines[i].start, static_cast<int>(lines[i].v.size()), *order[i]);
  }

  void EnvelopesAndBollinger() {
    const std::array<int, 3> e = {s_.para_shi_enbe01, s_.para_shi_enbe02, s_.para_shi_enbe03};
    const std::array<int, 3> k = {s_.para_shi_bori01, s_.para_shi_bori02, s_.para_shi_bori03};
    if (s_.check_shi_enbe_sma > 0)
      Bands(ComputeEnvelope(ctx_.series, ctx_.w, s_.para_shi_enbe, false, e), ctx_.pal.envelopeCentre,
            ctx_.pal.envelope);
    if (s_.check_shi_enbe_wma > 0)
      Bands(ComputeEnvelope(ctx_.series, ctx_.w, s_.para_shi_enbe, true, e), ctx_.pal.envelopeCentre,
            ctx_.pal.envelope);
    if (s_.check_shi_bori_sma > 0)
      Bands(ComputeBollinger(ctx_.series, ctx_.w, s_.para_shi_bori, false, k), ctx_.pal.bollingerCentre,
            ctx_.pal.bollinger);
    if (s_.check_shi_bori_wma > 0)
      Bands(ComputeBollinger(ctx_.series, ctx_.w, s_.para_shi_bori, true, k), ctx_.pal.bollingerCentre,
            ctx_.pal.bollinger);
  }

  void Parabolic() {
    if (s_.check_shi_para <= 0) return;
    const std::vector<int32_t> sar = ComputeParabolic(ctx_.series, ctx_.w);
    const int u = ctx_.w.unit;
    c_.SetPen(ctx_.pal.parabolic);
    c_.SetBrush(ctx_.pal.background);
    for (int j = 1; j < static_cast<int>(sar.size()); ++j) {
      const int x = ctx_.X(j), y = ctx_.Y(sar[static_cast<size_t>(j)]);
      c_.Ellipse(x - u, y - u, x + u, y + u);
    }
  }

  void Ichimoku() {
    if (s_.check_shi_itimoku <= 0) return;
    const IchimokuLines r = ComputeIchimoku(ctx_.series, ctx_.w, s_.para_shi_itimoku01, s_.para_shi_itimoku02,
                                            s_.para_shi_itimoku03, s_.para_shi_itimoku04);
    if (r.ahead == 0) return;
    // The cloud: diagonal hatching from the second span one position back to the first span.
    c_.SetPen(ctx_.pal.ichimokuCloud);
    const int pitch = ctx_.w.pitch;
    for (int j = std::max(1, r.cloudStart); j < r.ahead; ++j) {
      const int32_t b = r.spanB[static_cast<size_t>(j - 1)], a = r.spanA[static_cast<size_t>(j)];
      if (a != kNoValue && b != kNoValue) c_.Line(pitch * j, ctx_.Y(b), pitch * (j + 1), ctx_.Y(a));
    }
    Segments(r.spanB, r.spanBStart, r.ahead, ctx_.pal.ichimokuSpanB);
    Segments(r.spanA, r.spanAStart, r.ahead, ctx_.pal.ichimokuSpanA);
    Segments(r.lag, r.lagStart, ctx_.visible - s_.para_shi_itimoku04, ctx_.pal.ichimokuLag);
    Segments(r.conv, r.convStart, ctx_.visible, ctx_.pal.ichimokuConv);
    Segments(r.base, r.baseStart, ctx_.visible, ctx_.pal.ichimokuBase);
  }

  void Zigzag() {
    if (s_.check_shi_zigzag <= 0) return;
    const std::vector<TurnPoint> turns = ComputeZigzag(ctx_.series, ctx_.w, s_.para_shi_zigzag);
    if (turns.size() < 2) return;
    std::vector<Point> pts;
    for (const TurnPoint& t : turns) pts.push_back({ctx_.X(t.j), ctx_.Y(t.price)});
    c_.SetPen(ctx_.pal.zigzag);
    c_.Polyline(pts);
  }

  void PeaksAndTroughs() {
    if (s_.check_shi_tenpen <= 0) return;
    for (const TurnPoint& t : ComputePeaksAndTroughs(ctx_.series, ctx_.w, s_.para_shi_zigzag)) {
      const double p = t.price;
      const int32_t at = Trunc32(t.peak ? p + p * 0.03 : p - p * 0.03);
      c_.Text(ctx_.X(t.j), ctx_.Y(at), std::to_string(t.price));
    }
  }

  void Comparison(const PriceSeries* other) {
    if (s_.check_hikakuline <= 0 || other == nullptr || other->count() < 0) return;
    const ComparisonLine line = ComputeComparison(ctx_.series, ctx_.w, *other);
    if (line.closes.empty()) return;
    c_.SetPen(ctx_.pal.line);
    // Any collected bar but the last may carry the date of bar p, not only the one at k - 1: a day
    // the main brand did not trade must not leave the line flat for the rest of the window. Their
    // dates sorted once make that a binary search per bar.
    std::vector<int32_t> dates(line.dates.begin(), line.dates.end() - 1);
    std::sort(dates.begin(), dates.end());
    size_t k = 1;
    for (int p = 0; p <= ctx_.visible - 2; ++p) {
      const int yPrev = ctx_.Y(line.closes[k - 1]);
      const bool dated = std::binary_search(dates.begin(), dates.end(), DateKey(ctx_.Bar(p)));
      if (k < line.closes.size() && dated) {
        c_.Line(ctx_.X(p), yPrev, ctx_.X(p + 1), ctx_.Y(line.closes[k]));
        ++k;
      } else {
        c_.Line(ctx_.X(p), yPrev, ctx_.X(p + 1), yPrev);
      }
    }
  }

 private:
  const ChartPaintContext& ctx_;
  Canvas& c_;
  const ChartSettings& s_;
};

}  // namespace

PriceScale PaintPriceChart(Canvas& canvas, const ChartSettings& s, const PriceSeries& series, ChartWindow& w,
                           const ChartExtras& extras) {
  const ChartPalette pal = MakeChartPalette(s);
  const int width = canvas.Width(), height = canvas.Height();
  canvas.SetFont(ChartFont(s));
  canvas.SetTextColor(pal.text);
  canvas.SetTextBackground(pal.textBackground, true);
  canvas.SetBrush(pal.background);
  canvas.FillRect(0, 0, width, height, pal.background.color);
  const int th = canvas.MeasureText("あ").height;

  PriceScale scale;
  scale.paneHeight = height - 2 * th;
  if (!series.HasFile()) {
    DrawNoChartDataNotice(canvas, th);
    return scale;
  }

  // The fit keeps the room of the last paint's labels free. When this window's top price is wider (a
  // brand or a stretch of higher prices), the window is fitted again so that the newest bar does not
  // run under the labels. The room only grows from fit to fit, so a few fits settle it.
  const int rightRoom = s.check_shi_itimoku > 0 ? s.para_shi_itimoku01 : 0;
  const int wantedFirst = w.first;  // each fit clamps the first bar the paint was asked for
  for (int fit = 0; fit < 12; ++fit) {
    w.first = wantedFirst;
    FitChartWindow(w, width, series.count(), rightRoom);
    if (w.visible <= 0) return scale;  // an empty series or a pane too narrow for one bar
    scale = ComputePriceScale(series, w, height - 2 * th);
    const int room = w.labelWidth;
    w.labelWidth = canvas.MeasureText(std::to_string(scale.top)).width;
    if (w.labelWidth <= room) break;
  }

  const ChartPaintContext ctx{canvas, s, series, w, scale, pal, width, height, th, w.visible};
  Painter p(ctx);
  p.PriceGrid();
  p.TimeGrid();
  p.VolumeByPrice(extras.code);
  p.SplitMarks();
  p.Legend();
  DrawChartTypes(ctx);
  p.DateRows();
  p.BaseLines(extras.brand);
  p.Averages();
  p.EnvelopesAndBollinger();
  p.Parabolic();
  p.Ichimoku();
  p.Zigzag();
  p.PeaksAndTroughs();
  p.Comparison(extras.comparison);
  return scale;
}

}  // namespace sorano
