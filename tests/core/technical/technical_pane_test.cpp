#include "core/technical/technical_pane.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/technical/bars.h"
#include "support/recording_canvas.h"

namespace sorano {
namespace {

using test::Call;
using test::FromCloses;
using test::Op;
using test::Ramp;
using test::RecordingCanvas;
using test::Repeat;

// Font 18 / 1.3 = 13 pixels: "あ" is 13 wide (cw), an ASCII character 6.
constexpr int kCw = 13;

// Everything off, reset periods (RSI 6 26, stochastic 14 3 3, MACD 5 20 9, SMA 6 26 51).
TechnicalSettings Off() {
  TechnicalSettings s;
  s.check_tec_volume = 0;
  s.check_tec_volume_sma = 0;
  s.check_line_m_x = 0;
  s.para_tec_rsi01 = 6, s.para_tec_rsi02 = 26;
  s.para_tec_s_k = 14;
  s.para_tec_macd01 = 5, s.para_tec_macd02 = 20;
  s.para_shi_sma01 = 6, s.para_shi_sma02 = 26, s.para_shi_sma03 = 51;
  s.check_code = 7203;
  return s;
}

ChartWindow Window(int first, int visible) {
  ChartWindow w;
  w.first = first;
  w.visible = visible;
  return w;  // unit 5, pitch 12
}

PriceSeries Series(const std::vector<PriceBar>& bars) {
  PriceSeries s;
  s.Assign(bars);
  return s;
}

std::vector<Call> Texts(const RecordingCanvas& c) {
  return c.Of(Op::Text);
}
const Call* FindText(const RecordingCanvas& c, std::string_view text) {
  for (const Call& call : c.calls())
    if (call.op == Op::Text && call.text == text) return &call;
  return nullptr;
}
// Every segment drawn with a pen of the colour, from lines and polylines alike, as a Line call.
std::vector<Call> Segments(const RecordingCanvas& c, Color pen) {
  std::vector<Call> out;
  for (const Call& call : c.calls()) {
    if (call.pen.color != pen) continue;
    if (call.op == Op::Line) out.push_back(call);
    if (call.op != Op::Polyline) continue;
    for (size_t i = 1; i < call.points.size(); ++i) {
      Call segment = call;
      segment.op = Op::Line;
      segment.points = {call.points[i - 1], call.points[i]};
      out.push_back(segment);
    }
  }
  return out;
}

// Segments drawn with a pen of the colour whose y lies in [top, bottom).
int LinesBetween(const RecordingCanvas& c, Color pen, int top, int bottom) {
  int n = 0;
  for (const Call& l : Segments(c, pen))
    if (l.points[0].y >= top && l.points[0].y < bottom && l.points[1].y >= top && l.points[1].y < bottom) ++n;
  return n;
}

TEST(TechnicalPaneLayout, SingleDisplayPutsLabelsSideBySide) {
  TechnicalSettings s = Off();
  s.check_tec_rsi = 1;
  s.check_tec_stochastic = 1;
  const PriceSeries series = Series(FromCloses(Ramp(100, 1, 200)));
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, series, Window(100, 40));

  const Call* rsi = FindText(c, "RSI 6 26 ");
  const Call* stoch = FindText(c, "Stochastic 14 3 3 ");
  ASSERT_NE(rsi, nullptr);
  ASSERT_NE(stoch, nullptr);
  EXPECT_EQ(rsi->at, (Point{0, 0}));
  EXPECT_EQ(rsi->textColor, s.color_tec[7]);
  EXPECT_EQ(stoch->at, (Point{9 * 6, 0}));  // after the 9 characters of "RSI 6 26 "
  EXPECT_EQ(stoch->textColor, s.color_tec[10]);
  // Both over the full height: each draws its 30 % / 70 % lines at 140 and 60.
  for (const char* t : {"30%", "70%"}) EXPECT_EQ(c.TextsEqual(t).size(), 2u);
  EXPECT_EQ(c.TextsEqual("30%")[1].at, (Point{600 - 2 * kCw, 140}));
  // Reference texts are written in the colour restored after the labels.
  EXPECT_EQ(c.TextsEqual("70%")[0].textColor, s.color_chart[7]);
}

TEST(TechnicalPaneLayout, MultipleDisplayDividesTheHeight) {
  TechnicalSettings s = Off();
  s.check_tec_dc = 1;
  s.check_tec_rsi = 1;
  s.check_tec_william = 1;
  s.check_tec_psy = 1;
  const PriceSeries series = Series(FromCloses(Ramp(100, 1, 200)));
  RecordingCanvas c(600, 301);
  PaintTechnicalPane(c, s, series, Window(100, 40));

  EXPECT_EQ(FindText(c, "RSI 6 26 ")->at, (Point{0, 0}));
  EXPECT_EQ(FindText(c, "William's %R 6 26 ")->at, (Point{0, 100}));
  EXPECT_EQ(FindText(c, "PSY 6 26 ")->at, (Point{0, 200}));
  std::vector<int> ys;
  for (const Call& t : c.TextsEqual("70%")) ys.push_back(t.at.y);
  EXPECT_EQ(ys, (std::vector<int>{30, 130, 230}));
  // Rising closes put all three at 100 %, the top of their sub-panes; nothing reaches row 300.
  EXPECT_GT(LinesBetween(c, s.color_tec[6], 0, 1), 0);
  EXPECT_GT(LinesBetween(c, s.color_tec[8], 100, 101), 0);
  EXPECT_GT(LinesBetween(c, s.color_tec[18], 200, 201), 0);
  for (const Call& call : c.calls()) {
    if (call.op == Op::FillRect) continue;
    for (const Point& p : call.points) EXPECT_LT(p.y, 300);
    if (call.op == Op::Text) {
      EXPECT_LT(call.at.y, 300);
    }
  }
}

TEST(TechnicalPaneLayout, SharedReferenceLinesStandInEachSubPaneOnTheirScale) {
  TechnicalSettings s = Off();
  s.check_tec_dc = 1;
  s.check_tec_volume = 1;
  s.check_tec_kairi_sma01 = 1;
  s.check_tec_dpo = 1;
  s.check_tec_rci = 1;
  const PriceSeries series = Series(FromCloses(Ramp(100, 3, 200)));
  RecordingCanvas c(600, 400);
  PaintTechnicalPane(c, s, series, Window(100, 40));

  // Sub-panes of 100: volume at 0, deviation rate at 100, DPO at 200, RCI at 300. The -50 %, +-0 %
  // and +50 % lines stand in the deviation rate's and RCI's, at T + 75, T + 50 and T + 25.
  std::vector<int> ys;
  for (const char* t : {"+50%", "-50%"})
    for (const Call& call : c.TextsEqual(t)) ys.push_back(call.at.y);
  EXPECT_EQ(ys, (std::vector<int>{125, 325, 175, 375}));
  // DPO's sub-pane has its own +-0 % only; the volume's none.
  ys.clear();
  for (const Call& call : c.TextsEqual("+-0%")) ys.push_back(call.at.y);
  EXPECT_EQ(ys, (std::vector<int>{150, 250, 350}));
  EXPECT_EQ(LinesBetween(c, s.color_chart[1], 0, 100), 0);
  EXPECT_EQ(LinesBetween(c, s.color_chart[1], 300, 400), 3);
  // Rising closes: RCI +100 % at the top of its sub-pane.
  EXPECT_GT(LinesBetween(c, s.color_tec[13], 300, 301), 0);

  // Single display: drawn once, over the full height, under every indicator.
  s.check_tec_dc = 0;
  RecordingCanvas single(600, 400);
  PaintTechnicalPane(single, s, series, Window(100, 40));
  ASSERT_EQ(single.TextsEqual("+50%").size(), 1u);
  EXPECT_EQ(single.TextsEqual("+50%")[0].at.y, 100);
}

TEST(TechnicalPaneLayout, IndexBrandSkipsVolumeIndicatorsButKeepsTheirSubPanes) {
  TechnicalSettings s = Off();
  s.check_tec_dc = 1;
  s.check_tec_volume = 1;
  s.check_tec_volume_sma = 1;
  s.check_tec_rsi = 1;
  s.check_code = 1010;
  const PriceSeries series = Series(FromCloses(Ramp(100, 1, 200)));
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, series, Window(100, 40));

  EXPECT_EQ(FindText(c, "出来高 "), nullptr);
  EXPECT_EQ(FindText(c, "RSI 6 26 ")->at, (Point{0, 0}));
  EXPECT_TRUE(c.Of(Op::Rectangle).empty());
  for (const Call& t : Texts(c)) EXPECT_LT(t.at.y, 100) << t.text;
  EXPECT_EQ(LinesBetween(c, s.color_tec[6], 0, 101), static_cast<int>(Segments(c, s.color_tec[6]).size()));

  // The same for an ordinary brand draws the volume graph on top, RSI below.
  s.check_code = 7203;
  RecordingCanvas d(600, 200);
  PaintTechnicalPane(d, s, series, Window(100, 40));
  EXPECT_EQ(FindText(d, "出来高 ")->at, (Point{0, 0}));
  EXPECT_EQ(FindText(d, "RSI 6 26 ")->at, (Point{0, 100}));
}

TEST(TechnicalPaneLayout, MarginBalanceHoldsAnEmptySubPane) {
  TechnicalSettings s = Off();
  s.check_tec_dc = 1;
  s.check_tec_shinyouu = 1;
  s.check_tec_psy = 1;
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(FromCloses(Ramp(100, 1, 200))), Window(100, 40));
  EXPECT_EQ(CountTechnicalIndicators(s), 2);
  for (const Call& t : Texts(c)) EXPECT_LT(t.at.y, 100) << t.text;
}

TEST(TechnicalPaneLayout, NothingOnLeavesOnlyTheDateGridAndNoDataShowsTheMessage) {
  TechnicalSettings s = Off();
  s.check_tec_dc = 1;
  s.check_line_m_x = 1;
  // Bar 4 opens February.
  auto bars = FromCloses(Ramp(100, 1, 40));
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(bars), Window(10, 30));
  EXPECT_TRUE(Texts(c).empty());
  ASSERT_EQ(c.Of(Op::FillRect).size(), 1u);
  EXPECT_EQ(c.Of(Op::FillRect)[0].fill, s.color_chart[0]);
  for (const Call& l : c.Of(Op::Line)) EXPECT_EQ(l.pen, (Pen{s.color_chart[1], 1, PenStyle::Dot}));
  // Bar 28 (2003-02-01) is at window position 18, line at x = 12 * 19.
  EXPECT_TRUE(c.Of(Op::Polyline).empty());
  ASSERT_EQ(c.Of(Op::Line).size(), 1u);
  EXPECT_EQ(c.Of(Op::Line)[0].points, (std::vector<Point>{{228, 200}, {228, 0}}));

  PriceSeries none;  // count -1
  s.check_tec_rsi = 1;
  RecordingCanvas d(600, 200);
  PaintTechnicalPane(d, s, none, Window(0, 0));
  const std::vector<std::string> texts = d.AllTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "　テクニカル画面：この株価コードは、データがダウンロードされていません。");
  EXPECT_EQ(d.Of(Op::Text)[1].at, (Point{0, 3 * 13}));
  EXPECT_TRUE(d.Of(Op::Line).empty());
  EXPECT_TRUE(d.Of(Op::Polyline).empty());
}

TEST(TechnicalPaneLayout, DateGridWeeksMonthsYearsAndTheFirstBar) {
  TechnicalSettings s = Off();
  s.check_line_w_x = 1;
  s.check_line_m_x = 1;
  std::vector<PriceBar> bars = FromCloses(Repeat(100, 5));
  const int dates[5][3] = {{2003, 9, 26}, {2003, 9, 29}, {2003, 9, 30}, {2003, 10, 1}, {2004, 1, 5}};
  for (int i = 0; i < 5; ++i)
    bars[i].year = dates[i][0], bars[i].month = dates[i][1], bars[i].day = dates[i][2];
  RecordingCanvas c(600, 105);
  PaintTechnicalPane(c, s, Series(bars), Window(0, 5));
  std::vector<int> xs;
  for (const Call& l : c.Of(Op::Line)) {
    xs.push_back(l.points[0].x);
    EXPECT_EQ(l.points[0].y, 105);
    EXPECT_EQ(l.points[1].y, 5);  // 105 - 10 * (105 / 10)
  }
  // i = 1 would compare bar 0 with the bar before the series: none. Bars 1 (+3 days), 2 (nothing
  // new), 3 (new month): the last bar of the window has no line of its own.
  EXPECT_EQ(xs, (std::vector<int>{24, 48}));

  s.check_ymd = kPeriodMonthly;
  s.check_line_w_x = 0;
  RecordingCanvas m(600, 105);
  PaintTechnicalPane(m, s, Series(bars), Window(0, 5));
  EXPECT_TRUE(m.Of(Op::Line).empty());
}

TEST(TechnicalPaneDeviation, ConstantClosesSitAtMidHeightAndExcessGoesUp) {
  TechnicalSettings s = Off();
  s.check_tec_kairi_sma01 = s.check_tec_kairi_sma02 = s.check_tec_kairi_sma03 = 1;
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(FromCloses(Repeat(500, 200))), Window(100, 40));
  // Three labels in the plus colour, side by side.
  EXPECT_EQ(FindText(c, "移動平均乖離率 6 ")->at.x, 0);
  EXPECT_EQ(FindText(c, "移動平均乖離率 26 ")->at.x, 7 * kCw + 3 * 6);
  // Value 25 of scale 50: every bar and segment at y = 100 in the minus colour (25 < 26).
  const std::vector<Call> rects = c.Of(Op::Rectangle);
  EXPECT_EQ(rects.size(), 3u * 40u);
  for (const Call& r : rects) {
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.bottom, 100);
    EXPECT_EQ(r.brush.color, s.color_tec[1]);
  }
  EXPECT_EQ(LinesBetween(c, s.color_tec[1], 100, 101), 3 * 39);
  EXPECT_EQ(rects[0].left, 12 - 5);
  EXPECT_EQ(rects[0].right, 12 + 5);

  // 6 bars ending 10 % above their SMA: value 35, a plus bar from y(35) = 60 down to y(25) = 100.
  std::vector<int32_t> closes = Repeat(98, 30);
  closes.back() = 110;
  s.check_tec_kairi_sma02 = s.check_tec_kairi_sma03 = 0;
  RecordingCanvas d(600, 200);
  PaintTechnicalPane(d, s, Series(FromCloses(closes)), Window(10, 20));
  const Call last = d.Of(Op::Rectangle).back();
  EXPECT_EQ(last.left, 12 * 20 - 5);
  EXPECT_EQ(last.top, 60);
  EXPECT_EQ(last.bottom, 100);
  EXPECT_EQ(last.brush.color, s.color_tec[0]);
}

TEST(TechnicalPaneDeviation, LinesStartAtPositionOneOrAtTheirPeriod) {
  TechnicalSettings s = Off();
  s.check_tec_kairi_sma01 = 1;
  const PriceSeries series = Series(FromCloses(Ramp(100, 1, 100)));
  RecordingCanvas late(600, 200);
  PaintTechnicalPane(late, s, series, Window(50, 20));
  EXPECT_EQ(late.Of(Op::Rectangle)[0].left, 12 * 1 - 5);
  RecordingCanvas early(600, 200);
  PaintTechnicalPane(early, s, series, Window(0, 20));
  EXPECT_EQ(early.Of(Op::Rectangle)[0].left, 12 * 6 - 5);
  EXPECT_EQ(Segments(early, s.color_tec[0])[0].points[0].x, 12 * 6);
}

TEST(TechnicalPaneDpo, ReferenceLinesAndFlatSeries) {
  TechnicalSettings s = Off();
  s.check_tec_dpo = 1;
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(FromCloses(Repeat(500, 200))), Window(100, 40));
  EXPECT_EQ(FindText(c, "DPO 26 ")->textColor, s.color_tec[0]);
  EXPECT_EQ(c.TextsEqual("+70%")[0].at.y, 200 - 170);
  EXPECT_EQ(c.TextsEqual("-70%")[0].at.y, 200 - 30);
  // Constant closes: d = 0 everywhere and nothing to scale by: no bars, no line, no failure.
  EXPECT_TRUE(c.Of(Op::Rectangle).empty());
  EXPECT_TRUE(Segments(c, s.color_tec[0]).empty());
}

TEST(TechnicalPaneLines, AroonPensAndRsiDrawingOrder) {
  TechnicalSettings s = Off();
  s.check_tec_aroon = 1;
  s.check_tec_rsi = 1;
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(FromCloses(Ramp(100, 1, 200))), Window(100, 40));
  // Rising: up 100 (top), down 0 (bottom), oscillator 200 on scale 200 (top, dashed).
  EXPECT_EQ(LinesBetween(c, s.color_tec[23], 0, 1), 39);
  EXPECT_EQ(Segments(c, s.color_tec[24]).front().points[0].y, 200);
  const Call osc = Segments(c, s.color_tec[25]).front();
  EXPECT_EQ(osc.pen.style, PenStyle::Dash);
  EXPECT_EQ(osc.points[0].y, 0);
  // RSI: the second period's line (slot 07) before the first's (slot 06, width 2).
  size_t first06 = 0, first07 = 0;
  for (size_t i = 0; i < c.calls().size(); ++i) {
    if (c.calls()[i].op != Op::Line && c.calls()[i].op != Op::Polyline) continue;
    if (!first06 && c.calls()[i].pen.color == s.color_tec[6]) first06 = i;
    if (!first07 && c.calls()[i].pen.color == s.color_tec[7]) first07 = i;
  }
  EXPECT_LT(first07, first06);
  EXPECT_EQ(Segments(c, s.color_tec[6])[0].pen.width, 2);
}

TEST(TechnicalPaneLines, StochasticDrawsCThenBThenA) {
  TechnicalSettings s = Off();
  s.check_tec_stochastic = 1;
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(FromCloses(Ramp(100, 1, 200))), Window(0, 40));
  const std::vector<Call> lines = c.Of(Op::Polyline);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].pen, (Pen{s.color_tec[12], 2, PenStyle::Solid}));
  EXPECT_EQ(lines[1].pen.color, s.color_tec[11]);
  EXPECT_EQ(lines[2].pen.color, s.color_tec[10]);
  // From the first bar: C starts by D = 3 but needs 3 * (3 - 1) bars back, B by K = 14,
  // A by SD = 3 with 2 * (3 - 1) bars back.
  EXPECT_EQ(lines[0].points.front().x, 12 * 7);
  EXPECT_EQ(lines[1].points.front().x, 12 * 14);
  EXPECT_EQ(lines[2].points.front().x, 12 * 5);
  // Rising closes stand at the top of every range.
  for (const Call& l : lines) EXPECT_EQ(l.points.front().y, 0);
}

TEST(TechnicalPaneLines, LineBreaksWhereThereIsNoValue) {
  // RSI 6: ten unchanged closes in the middle leave positions with no change at all.
  std::vector<int32_t> closes = Ramp(100, 1, 60);
  std::vector<int32_t> flat = Repeat(closes.back(), 10);
  closes.insert(closes.end(), flat.begin(), flat.end());
  std::vector<int32_t> more = Ramp(closes.back() + 1, 1, 30);
  closes.insert(closes.end(), more.begin(), more.end());
  TechnicalSettings s = Off();
  s.check_tec_rsi = 1;
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(FromCloses(closes)), Window(40, 45));
  // Bars 60 ... 69 do not change: RSI at bars 66 ... 69 (positions 26 ... 29) has no change among its
  // seven.
  const std::vector<Call> runs = c.Of(Op::Polyline, s.color_tec[6]);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].points.back().x, 12 * 26);   // ends at position 25
  EXPECT_EQ(runs[1].points.front().x, 12 * 31);  // restarts at position 30
}

TEST(TechnicalPaneLines, DmiWritesTheNewestValuesRightAligned) {
  TechnicalSettings s = Off();
  s.check_tec_dmi = 1;
  std::vector<PriceBar> bars;
  for (int i = 0; i < 100; ++i) {
    PriceBar b;
    b.high = 102 + 2 * i, b.low = 100 + 2 * i, b.close = b.open = 101 + 2 * i;
    b.year = 2003, b.month = 5, b.day = 1 + i % 28;
    bars.push_back(b);
  }
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(bars), Window(50, 40));
  // +DI 66 at the top, -DI 0 at y(150 of 200), ADX 100 at mid-height.
  EXPECT_EQ(FindText(c, "66")->at, (Point{600 - 2 * kCw, 0}));
  EXPECT_EQ(FindText(c, "0")->at, (Point{600 - kCw, 50}));
  EXPECT_EQ(FindText(c, "100")->at, (Point{600 - 3 * kCw, 100}));
  // ADX from position N + 1 = 15 on, whatever first is.
  EXPECT_EQ(Segments(c, s.color_tec[25]).front().points[0].x, 12 * 15);
}

TEST(TechnicalPaneLines, MomentumAndRocDrawTheSameLines) {
  const PriceSeries series = Series(FromCloses(Ramp(1000, -7, 140)));
  TechnicalSettings m = Off();
  m.check_tec_momentamu = 1;
  TechnicalSettings r = Off();
  r.check_tec_roc = 1;
  RecordingCanvas a(600, 200), b(600, 200);
  PaintTechnicalPane(a, m, series, Window(60, 40));
  PaintTechnicalPane(b, r, series, Window(60, 40));
  EXPECT_EQ(Segments(a, m.color_tec[14]).size(), 39u);
  for (Color pen : {m.color_tec[14], m.color_tec[15]}) {
    const std::vector<Call> la = Segments(a, pen), lb = Segments(b, pen);
    ASSERT_EQ(la.size(), lb.size());
    for (size_t i = 0; i < la.size(); ++i) EXPECT_EQ(la[i].points, lb[i].points);
  }
  EXPECT_NE(FindText(a, "Momentamu 6 26 "), nullptr);
  EXPECT_NE(FindText(b, "ROC 6 26 "), nullptr);
}

TEST(TechnicalPaneMacd, OwnScaleTextsZeroLineAndScrolling) {
  TechnicalSettings s = Off();
  s.check_tec_macd_sma = 1;
  std::vector<int32_t> closes;
  for (int i = 0; i < 300; ++i) closes.push_back(1000 + (i * 37) % 101);
  const PriceSeries series = Series(FromCloses(closes));
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, series, Window(200, 40));
  EXPECT_NE(FindText(c, "MACD 9 5 20 "), nullptr);
  // Texts: R / 2 at the top, 0 at the zero line (y of the value 0) drawn in the grid pen, -R / 2 at
  // 190 but raised so that it ends at the bottom of the sub-pane (13 pixels high).
  const std::vector<Call> texts = Texts(c);
  ASSERT_EQ(texts.size(), 4u);
  const int half = std::stoi(texts[1].text);
  EXPECT_GT(half, 0);
  EXPECT_EQ(texts[1].at, (Point{600 - kCw * static_cast<int>(texts[1].text.size()), 0}));
  const int r = 2 * half;
  const int zeroY = 200 - (half * 200) / r;
  EXPECT_EQ(texts[2].text, "0");
  EXPECT_EQ(texts[2].at.y, zeroY);
  EXPECT_EQ(texts[3].text, std::to_string(-half));
  EXPECT_EQ(texts[3].at.y, 200 - 13);
  const std::vector<Call> grid = c.Of(Op::Line, s.color_chart[1]);
  ASSERT_EQ(grid.size(), 1u);
  EXPECT_EQ(grid[0].points, (std::vector<Point>{{5, zeroY}, {600 - 2 * kCw, zeroY}}));
  // Histogram from positions 20 to 21, signal from 19 to 20, dash-dot-dot and dashed pens.
  EXPECT_EQ(Segments(c, s.color_tec[22]).front().points[0].x, 12 * 21);
  EXPECT_EQ(Segments(c, s.color_tec[20]).front().points[0].x, 12 * 20);
  EXPECT_EQ(Segments(c, s.color_tec[20]).front().pen.style, PenStyle::DashDotDot);
  EXPECT_EQ(Segments(c, s.color_tec[21]).front().points[0].x, 12);

  // One bar later the averages restart at the new leftmost bar: the same bars are drawn elsewhere.
  RecordingCanvas d(600, 200);
  PaintTechnicalPane(d, s, series, Window(201, 40));
  const std::vector<Call> a = Segments(c, s.color_tec[21]), b = Segments(d, s.color_tec[21]);
  bool differs = false;
  for (size_t i = 0; i + 1 < a.size() && i < b.size(); ++i)
    differs |= a[i + 1].points[1].y != b[i].points[1].y;
  EXPECT_TRUE(differs);

  // In multiple display every MACD text stays inside its sub-pane, above PSY's.
  s.check_tec_dc = 1;
  s.check_tec_psy = 1;
  RecordingCanvas m(600, 200);
  PaintTechnicalPane(m, s, series, Window(200, 40));
  for (const Call& t : Texts(m))
    if (t.at.y < 100) {
      EXPECT_LE(t.at.y + 13, 100) << t.text;
    }
}

TEST(TechnicalPaneVolume, BarsFromTheSmallestVolumeAndTheAverage) {
  TechnicalSettings s = Off();
  s.check_tec_volume = 1;
  s.check_tec_volume_sma = 1;
  s.para_tec_volume_sma = 5;
  auto bars = FromCloses(Repeat(100, 60), 12000);
  bars[59].volume = 22000;
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(bars), Window(40, 20));
  EXPECT_EQ(FindText(c, "出来高 ")->at, (Point{0, 0}));
  // lo 12,000 (q = 10) at y = 200 - 30, hi at the top, both ending at the right edge (5 digits of 6)
  // and written over the bars.
  EXPECT_EQ(FindText(c, "12000")->at, (Point{600 - 30, 170}));
  EXPECT_EQ(FindText(c, "22000")->at, (Point{600 - 30, 0}));
  const auto& calls = c.calls();
  const auto lastBar =
      std::find_if(calls.rbegin(), calls.rend(), [](const Call& k) { return k.op == Op::Rectangle; });
  EXPECT_GT(FindText(c, "12000"), &*lastBar);  // FindText points into calls()
  const std::vector<Call> rects = c.Of(Op::Rectangle, s.color_tec[2]);
  ASSERT_EQ(rects.size(), 20u);
  EXPECT_EQ(rects[0].top, 200);  // the smallest volume has no height
  EXPECT_EQ(rects[19].top, 0);
  EXPECT_EQ(rects[19].left, 12 * 20 - 5);
  EXPECT_EQ(rects[19].bottom, 200);
  EXPECT_EQ(rects[19].pen.width, 2);
  // The average: 12,000 at the bottom until the last bar lifts it to 14,000 (y = 200 - 40).
  const std::vector<Call> sma = Segments(c, s.color_tec[3]);
  ASSERT_EQ(sma.size(), 19u);
  EXPECT_EQ(sma[0].points[0].y, 200);
  EXPECT_EQ(sma.back().points[1], (Point{240, 160}));

  // The average alone is not drawn.
  s.check_tec_volume = 0;
  s.check_tec_rsi = 1;
  RecordingCanvas d(600, 200);
  PaintTechnicalPane(d, s, Series(bars), Window(40, 20));
  EXPECT_TRUE(Segments(d, s.color_tec[3]).empty());
}

TEST(TechnicalPaneVolume, RatiosAndPsyOnTheirScales) {
  TechnicalSettings s = Off();
  s.check_tec_dc = 1;
  s.check_tec_vr = s.check_tec_wvr = s.check_tec_psy = 1;
  RecordingCanvas c(600, 300);
  PaintTechnicalPane(c, s, Series(FromCloses(Repeat(100, 100))), Window(50, 30));
  // Unchanged closes: VR 50 (mid-height of 0 ... 100), WVR 50 of 200 (y = 175), PSY 0 (bottom).
  EXPECT_EQ(LinesBetween(c, s.color_tec[16], 50, 51), 29);
  EXPECT_EQ(LinesBetween(c, s.color_tec[17], 50, 51), 29);
  EXPECT_EQ(LinesBetween(c, s.color_tec[16], 175, 176), 29);
  EXPECT_EQ(LinesBetween(c, s.color_tec[18], 300, 301), 29);
  EXPECT_NE(FindText(c, "WVR 6 26 "), nullptr);
}

TEST(TechnicalPanePalette, MonochromeIsBlackOnWhite) {
  TechnicalSettings s = Off();
  s.monochrome = true;
  const TechnicalPalette p = MakeTechnicalPalette(s);
  for (size_t n = 0; n < 26; ++n) {
    EXPECT_EQ(p.slot[n], (Pen{kBlack, 1, PenStyle::Solid}));
    EXPECT_EQ(p.slotBrush[n].color, kBlack);
  }
  EXPECT_EQ(p.grid, (Pen{kBlack, 1, PenStyle::Dot}));
  EXPECT_EQ(p.background, kWhite);
  EXPECT_EQ(p.afterLabel, kBlack);

  // Painted: white background, black labels and black lines.
  s.check_tec_stochastic = 1;
  RecordingCanvas c(600, 200);
  PaintTechnicalPane(c, s, Series(FromCloses(Ramp(100, 1, 200))), Window(100, 40));
  EXPECT_EQ(c.Of(Op::FillRect)[0].fill, kWhite);
  EXPECT_EQ(FindText(c, "Stochastic 14 3 3 ")->textColor, kBlack);
  EXPECT_EQ(FindText(c, "30%")->textColor, kBlack);
  EXPECT_EQ(FindText(c, "30%")->textBackground, kWhite);
  for (const Call& l : c.Of(Op::Polyline)) EXPECT_EQ(l.pen, (Pen{kBlack, 1, PenStyle::Solid}));
  EXPECT_EQ(c.Of(Op::Polyline).size(), 3u);

  s.monochrome = false;
  const TechnicalPalette q = MakeTechnicalPalette(s);
  EXPECT_EQ(q.slot[20], (Pen{s.color_tec[20], 1, PenStyle::DashDotDot}));
  EXPECT_EQ(q.slot[13].width, 2);
  EXPECT_EQ(q.background, s.color_chart[0]);
}

TEST(TechnicalPaneRobustness, WindowBeyondTheSeriesAndOddPeriods) {
  TechnicalSettings s = Off();
  for (int32_t* f :
       {&s.check_tec_kairi_sma01, &s.check_tec_dpo, &s.check_tec_volume, &s.check_tec_volume_sma,
        &s.check_tec_aroon, &s.check_tec_mfi, &s.check_tec_rsi, &s.check_tec_dmi, &s.check_tec_william,
        &s.check_tec_stochastic, &s.check_tec_momentamu, &s.check_tec_roc, &s.check_tec_rci,
        &s.check_tec_macd_sma, &s.check_tec_vr, &s.check_tec_wvr, &s.check_tec_dvr, &s.check_tec_psy})
    *f = 1;
  for (int32_t* p : {&s.para_shi_sma01, &s.para_tec_dpo, &s.para_tec_volume_sma, &s.para_tec_aroon,
                     &s.para_tec_rsi01, &s.para_tec_dmi, &s.para_tec_s_k, &s.para_tec_s_d, &s.para_tec_s_sd,
                     &s.para_tec_m_r01, &s.para_tec_rci, &s.para_tec_macd01, &s.para_tec_macd02,
                     &s.para_tec_macd03, &s.para_tec_vr01, &s.para_tec_psy01})
    *p = 0;
  s.para_tec_rsi02 = -4;
  s.para_tec_vr02 = 100000;
  // Periods at the integer limits: never summed into an overflow.
  s.para_shi_sma02 = s.para_tec_dmi = s.para_tec_s_d = s.para_tec_s_sd = s.para_tec_vr01 = INT32_MAX;
  s.para_tec_dpo = s.para_tec_macd02 = s.para_tec_macd03 = s.para_tec_m_r02 = INT32_MAX;
  s.para_tec_psy02 = s.para_tec_aroon = INT32_MIN;
  s.check_tec_kairi_sma02 = 1;
  s.check_tec_dc = 1;
  s.check_line_w_x = 1;
  auto bars = FromCloses(Ramp(100, 1, 30));
  bars[10].day = INT32_MIN;  // dates of a crafted file: the date grid's day arithmetic must not overflow
  bars[11].day = INT32_MAX;
  bars[12].day = INT32_MIN;
  const PriceSeries series = Series(bars);
  for (const ChartWindow& w : {Window(25, 40), Window(-5, 10), Window(0, 30), Window(40, 3)}) {
    RecordingCanvas c(300, 100);
    PaintTechnicalPane(c, s, series, w);
    EXPECT_NE(FindText(c, "RSI 0 -4 "), nullptr);
    for (const Call& l : c.calls()) {
      for (const Point& pt : l.points) {
        EXPECT_GE(pt.y, -(1 << 20));
        EXPECT_LE(pt.y, 1 << 20);
      }
    }
  }
  PriceSeries empty;
  empty.SetCount(0);
  RecordingCanvas c(300, 100);
  PaintTechnicalPane(c, s, empty, Window(0, 10));
  EXPECT_TRUE(Segments(c, s.color_tec[6]).empty());
}

}  // namespace
}  // namespace sorano
