#include "core/chart/chart_painter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>

#include "core/chart/chart_test_series.h"
#include "support/recording_canvas.h"

namespace sorano {
namespace {

using test::Bar;
using test::Call;
using test::Op;
using test::QuietSettings;
using test::RecordingCanvas;
using test::SeriesOfCloses;

struct Painted {
  RecordingCanvas canvas{600, 324};  // text height 12: H = 300
  ChartWindow w;
  PriceScale scale;
};

Painted Paint(const PriceSeries& series, const ChartSettings& s, const ChartExtras& extras = {},
              int width = 600) {
  Painted p;
  p.canvas = RecordingCanvas(width, 324);
  LayoutChartWindow(p.w, s.check_chsize, width, series.count());
  p.scale = PaintPriceChart(p.canvas, s, series, p.w, extras);
  return p;
}

PriceSeries Series(std::vector<PriceBar> bars) {
  PriceSeries s;
  s.Assign(bars);
  return s;
}

bool IsVertical(const Call& c, int x) {
  return c.op == Op::Line && c.points[0].x == x && c.points[1].x == x;
}

TEST(ChartPainterTest, NoFileDrawsOnlyTheBackgroundAndTwoLines) {
  PriceSeries none;  // count -1
  const Painted p = Paint(none, ChartSettings{});
  const std::vector<std::string> texts = p.canvas.AllTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "　チャート画面：この株価コードは、データがダウンロードされていません。");
  const auto lines = p.canvas.Of(Op::Text);
  EXPECT_EQ(lines[0].at, (Point{0, 0}));
  const int th = p.canvas.font().height;
  EXPECT_EQ(lines[1].at, (Point{0, 3 * th}));
  EXPECT_EQ(p.canvas.Of(Op::FillRect).size(), 1u);
  EXPECT_EQ(p.canvas.calls().size(), 3u);
  // An empty series (a file without days) draws the background only.
  PriceSeries empty;
  empty.SetCount(0);
  EXPECT_EQ(Paint(empty, ChartSettings{}).canvas.calls().size(), 1u);
}

TEST(ChartPainterTest, WeekMonthGridAndDateRows) {
  ChartSettings s = QuietSettings();
  s.check_line_w_x = 1;
  s.check_line_m_x = 1;
  const PriceSeries series =
      Series({Bar(2003, 9, 26, 100, 110, 90, 100), Bar(2003, 9, 29, 100, 110, 90, 100),
              Bar(2003, 9, 30, 100, 110, 90, 100), Bar(2003, 10, 1, 100, 110, 90, 100)});
  const Painted p = Paint(series, s);
  const Color grid = s.color_chart[1];
  std::vector<int> xs;
  for (const Call& c : p.canvas.Of(Op::Line, grid)) {
    if (c.points[0].x != c.points[1].x) continue;
    xs.push_back(c.points[0].x);
    EXPECT_EQ(c.pen.style, PenStyle::Dot);
    EXPECT_EQ(c.points[0].y, 300);
    EXPECT_EQ(c.points[1].y, 300 - 320);  // H - 10 * (324 / 10)
  }
  // Weekly at 29 Sep (day +3, x(1) = 24) and 1 Oct (day went down, x(3) = 48); monthly at 1 Oct.
  EXPECT_EQ(xs, (std::vector<int>{24, 48, 48}));

  // Daily rows from the bottom: day at the week starts, month where it changes.
  const auto day29 = p.canvas.TextsEqual("29");
  ASSERT_EQ(day29.size(), 1u);
  EXPECT_EQ(day29[0].at, (Point{24 - 2, 324 - 12}));
  const auto day01 = p.canvas.TextsEqual("01");
  ASSERT_EQ(day01.size(), 1u);
  EXPECT_EQ(day01[0].at, (Point{46, 312}));
  const auto month = p.canvas.TextsEqual("10");
  ASSERT_EQ(month.size(), 1u);
  EXPECT_EQ(month[0].at, (Point{46, 300}));
  // Legend: the date range of the window, then nothing else (no averages shown).
  EXPECT_EQ(p.canvas.AllTexts()[0], "2003年9月26日～2003年10月1日 ");

  // Monthly period: no monthly lines, years in the bottom row, no days or months.
  ChartSettings m = s;
  m.check_line_w_x = 0;
  m.check_ymd = kPeriodMonthly;
  const PriceSeries months = Series({Bar(2003, 11, 0, 100, 110, 90, 100), Bar(2003, 12, 0, 100, 110, 90, 100),
                                     Bar(2004, 1, 0, 100, 110, 90, 100)});
  const Painted pm = Paint(months, m);
  std::vector<int> mx;
  for (const Call& c : pm.canvas.Of(Op::Line, grid)) mx.push_back(c.points[0].x);
  EXPECT_EQ(mx, (std::vector<int>{36}));  // the year line only
  EXPECT_EQ(pm.canvas.AllTexts(), (std::vector<std::string>{"2003年11月～2004年1月 ", "2004"}));
  EXPECT_EQ(pm.canvas.TextsEqual("2004")[0].at.y, 324 - 12);
}

TEST(ChartPainterTest, PriceLabelsAtTheRightEdge) {
  ChartSettings s = QuietSettings();
  s.check_line_y = 1;
  const PriceSeries series =
      Series({Bar(2003, 1, 6, 1300, 1500, 1234, 1400), Bar(2003, 1, 7, 1400, 1450, 1300, 1350)});
  const Painted p = Paint(series, s);
  EXPECT_EQ(p.w.labelWidth, 4 * 6);  // "1500" at 6 pixels a digit
  std::vector<std::string> labels;
  for (const Call& c : p.canvas.Of(Op::Text))
    if (c.at.x == 600 - 24) labels.push_back(c.text);
  EXPECT_EQ(labels,
            (std::vector<std::string>{"1260", "1290", "1320", "1350", "1380", "1410", "1440", "1470"}));
  const auto grid = p.canvas.Of(Op::Line, s.color_chart[1]);
  ASSERT_EQ(grid.size(), 8u);
  EXPECT_EQ(grid[0].points[0], (Point{5, 300 - (26 * 300) / 266}));
  EXPECT_EQ(grid[0].points[1].x, 576);
}

TEST(ChartPainterTest, NoBarRunsUnderThePriceLabels) {
  // The last paint showed a brand under 10 yen (a 1-digit label); this one's top is 12345.
  ChartSettings s = QuietSettings();
  s.check_line_y = 1;
  s.check_soku = 0;
  std::vector<PriceBar> bars;
  for (int i = 0; i < 100; ++i) bars.push_back(Bar(2003, 1 + i / 28, 1 + i % 28, 12000, 12345, 11900, 12100));
  Painted p;
  p.w.labelWidth = 6;
  LayoutChartWindow(p.w, s.check_chsize, 600, 100);
  p.scale = PaintPriceChart(p.canvas, s, Series(bars), p.w);
  EXPECT_EQ(p.w.labelWidth, 5 * 6);
  EXPECT_EQ(p.w.first + p.w.visible, 100);  // still the newest bars
  const int labels = 600 - p.w.labelWidth;
  ASSERT_FALSE(p.canvas.TextsEqual("12300").empty());
  EXPECT_EQ(p.canvas.TextsEqual("12300")[0].at.x, labels);
  int right = 0;
  for (const Call& c : p.canvas.Of(Op::Rectangle)) right = std::max(right, c.right);
  for (const Call& c : p.canvas.Of(Op::Line, s.color_chart[5])) right = std::max(right, c.points[0].x);
  EXPECT_GT(right, labels - 12);  // the window still reaches the labels
  EXPECT_LE(right, labels);
}

TEST(ChartPainterTest, DateLabelsNeverOverlapInTheirRow) {
  ChartSettings s = QuietSettings();
  // Fri 28 Mar, Mon 31 Mar and Tue 1 Apr 2003: both 31 (a new week) and 01 (the day went down) start
  // a week; "01" would touch "31" one bar later and is left out, the month row still says 4.
  const PriceSeries series = Series({Bar(2003, 3, 28, 100, 110, 90, 100), Bar(2003, 3, 31, 100, 110, 90, 100),
                                     Bar(2003, 4, 1, 100, 110, 90, 100), Bar(2003, 4, 2, 100, 110, 90, 100)});
  const Painted p = Paint(series, s);
  EXPECT_EQ(p.canvas.TextsEqual("31").size(), 1u);
  EXPECT_TRUE(p.canvas.TextsEqual("01").empty());
  EXPECT_EQ(p.canvas.TextsEqual(" 4").size(), 1u);

  // Narrow bars (pitch 2) over three years of weekdays: every row keeps a blank between its labels.
  s.check_chsize = 1;
  std::vector<PriceBar> days;
  for (int i = 0; i < 800; ++i) {
    const int week = i / 5, weekday = i % 5;
    const int dayOfYear = (week * 7 + weekday) % 336;
    days.push_back(
        Bar(2003 + (week * 7 + weekday) / 336, 1 + dayOfYear / 28, 1 + dayOfYear % 28, 100, 110, 90, 100));
  }
  const Painted narrow = Paint(Series(days), s, {}, 1600);
  std::map<int, int> rowEnd;  // y of the row -> right end of its last label
  int labels = 0;
  for (const Call& c : narrow.canvas.Of(Op::Text)) {
    if (c.at.y == 0) continue;  // the legend
    auto [it, fresh] = rowEnd.try_emplace(c.at.y, INT_MIN / 2);
    EXPECT_GE(c.at.x, it->second + 6) << c.text << " in row " << c.at.y;
    it->second = c.at.x + 6 * static_cast<int>(c.text.size());
    ++labels;
  }
  EXPECT_EQ(rowEnd.size(), 3u);
  EXPECT_GT(labels, 20);
}

TEST(ChartPainterTest, CandleColoursInsideBarsAndHollowBodies) {
  ChartSettings s = QuietSettings();
  s.check_soku = 0;
  // 0: rising 100->200; 1: rising 120->180 inside a rising body (harami colour);
  // 2: falling 300->100; 3: rising 150->250 inside a falling body (tsutsumi colour);
  // 4: falling 240->160 inside rising 150->250 (tsutsumi); 5: flat body open = close.
  const PriceSeries series =
      Series({Bar(2003, 1, 6, 100, 210, 90, 200), Bar(2003, 1, 7, 120, 190, 110, 180),
              Bar(2003, 1, 8, 300, 310, 90, 100), Bar(2003, 1, 9, 150, 260, 140, 250),
              Bar(2003, 1, 10, 240, 250, 150, 160), Bar(2003, 1, 14, 150, 160, 140, 150)});
  const Painted p = Paint(series, s);
  const auto rects = p.canvas.Of(Op::Rectangle);
  ASSERT_EQ(rects.size(), 5u);
  EXPECT_EQ(rects[0].pen.color, s.color_chart[5]);  // leftmost: never marked
  EXPECT_EQ(rects[0].brush.color, s.color_chart[5]);
  EXPECT_EQ(rects[1].pen.color, s.color_chart[3]);
  EXPECT_EQ(rects[2].pen.color, s.color_chart[6]);
  EXPECT_EQ(rects[2].brush.color, s.color_chart[6]);
  EXPECT_EQ(rects[3].pen.color, s.color_chart[4]);
  EXPECT_EQ(rects[4].pen.color, s.color_chart[4]);
  EXPECT_EQ(rects[0].left, 12 - 5);
  EXPECT_EQ(rects[0].right, 12 + 5);
  EXPECT_EQ(rects[0].top, p.scale.Y(100));
  EXPECT_EQ(rects[0].bottom, p.scale.Y(200));
  // The wick keeps the direction colour even for an inside bar.
  bool wick = false;
  for (const Call& c : p.canvas.Of(Op::Line))
    if (IsVertical(c, 24)) wick = c.pen.color == s.color_chart[5];
  EXPECT_TRUE(wick);
  // Flat body: a horizontal line of the body's width.
  bool flat = false;
  for (const Call& c : p.canvas.Of(Op::Line))
    flat |= c.points[0] == Point{72 - 5, p.scale.Y(150)} && c.points[1] == Point{72 + 5, p.scale.Y(150)};
  EXPECT_TRUE(flat);

  s.check_roubh = 1;
  for (const Call& c : Paint(series, s).canvas.Of(Op::Rectangle)) EXPECT_EQ(c.brush.color, s.color_chart[0]);

  s.monochrome = true;
  const Painted mono = Paint(series, s);
  for (const Call& c : mono.canvas.calls()) {
    if (c.op == Op::Line || c.op == Op::Rectangle) {
      EXPECT_EQ(c.pen.color, kBlack);
    }
    if (c.op == Op::Text) {
      EXPECT_EQ(c.textColor, kBlack);
    }
  }
  EXPECT_EQ(mono.canvas.Of(Op::FillRect)[0].fill, kWhite);
  EXPECT_EQ(mono.canvas.Of(Op::Rectangle)[0].brush.color, kWhite);
  EXPECT_EQ(mono.canvas.Of(Op::Rectangle)[2].brush.color, kBlack);
}

TEST(ChartPainterTest, LineTypesAndColumns) {
  ChartSettings s = QuietSettings();
  s.check_soku = 3;
  const PriceSeries series = Series({Bar(2003, 1, 6, 100, 130, 90, 110), Bar(2003, 1, 7, 115, 130, 90, 120)});
  Painted p = Paint(series, s);
  auto poly = p.canvas.Of(Op::Polyline, s.color_chart[2]);
  ASSERT_EQ(poly.size(), 1u);
  EXPECT_EQ(poly[0].pen.width, 2);
  EXPECT_EQ(poly[0].points,
            (std::vector<Point>{{12, p.scale.Y(110)}, {18, p.scale.Y(115)}, {24, p.scale.Y(120)}}));

  s.check_soku = 6;  // mid price (high + low) / 2 = 110
  p = Paint(series, s);
  poly = p.canvas.Of(Op::Polyline);
  ASSERT_EQ(poly.size(), 1u);
  EXPECT_EQ(poly[0].points, (std::vector<Point>{{12, p.scale.Y(110)}, {24, p.scale.Y(110)}}));

  s.check_soku = 7;
  p = Paint(series, s);
  const auto cols = p.canvas.Of(Op::Rectangle);
  ASSERT_EQ(cols.size(), 2u);
  EXPECT_EQ(cols[1].brush.color, s.color_chart[5]);
  EXPECT_EQ(cols[1].top, p.scale.Y(120));
  EXPECT_EQ(cols[1].bottom, 300);  // the bottom of the price area
}

TEST(ChartPainterTest, BarsKamakubiAndOvals) {
  ChartSettings s = QuietSettings();
  // One rising bar (o 110 h 130 l 90 c 120) and one falling (o 120 h 125 l 95 c 100); unit 5.
  const PriceSeries series = Series({Bar(2003, 1, 6, 110, 130, 90, 120), Bar(2003, 1, 7, 120, 125, 95, 100)});
  s.check_soku = 1;
  Painted p = Paint(series, s);
  auto lines = p.canvas.Of(Op::Line);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1].points, (std::vector<Point>{{7, p.scale.Y(110)}, {12, p.scale.Y(110)}}));  // open left
  EXPECT_EQ(lines[2].points,
            (std::vector<Point>{{17, p.scale.Y(120)}, {12, p.scale.Y(120)}}));  // close right
  EXPECT_EQ(lines[3].pen.color, s.color_chart[6]);

  s.check_soku = 9;
  p = Paint(series, s);
  lines = p.canvas.Of(Op::Line);
  ASSERT_EQ(lines.size(), 6u);
  // Rising: hook right at the high, left at the low (unit + unit / 2 = 7); falling: the mirror.
  EXPECT_EQ(lines[1].points, (std::vector<Point>{{12, p.scale.Y(130)}, {19, p.scale.Y(130)}}));
  EXPECT_EQ(lines[2].points, (std::vector<Point>{{12, p.scale.Y(90)}, {5, p.scale.Y(90)}}));
  EXPECT_EQ(lines[4].points, (std::vector<Point>{{24, p.scale.Y(95)}, {31, p.scale.Y(95)}}));
  EXPECT_EQ(lines[5].points, (std::vector<Point>{{24, p.scale.Y(125)}, {17, p.scale.Y(125)}}));
  const auto bodies = p.canvas.Of(Op::Rectangle);
  ASSERT_EQ(bodies.size(), 2u);
  EXPECT_EQ(bodies[0].left, 12 - 5 + 2);  // narrower than a candle body
  EXPECT_EQ(bodies[0].right, 12 + 5 - 2);

  s.check_soku = 8;
  p = Paint(series, s);
  const auto ovals = p.canvas.Of(Op::Ellipse);
  ASSERT_EQ(ovals.size(), 4u);
  EXPECT_EQ(ovals[0].brush.color, s.color_chart[0]);  // the high-low oval, background filled
  EXPECT_EQ(ovals[0].top, p.scale.Y(130));
  EXPECT_EQ(ovals[1].brush.color, s.color_chart[5]);  // the body in the rising colour
  EXPECT_EQ(ovals[3].brush.color, s.color_chart[6]);
  EXPECT_EQ(ovals[3].pen.color, s.color_chart[6]);
}

TEST(ChartPainterTest, NewPriceBarsRepeatTheBlockAboveTheTurnLevel) {
  ChartSettings s = QuietSettings();
  s.check_soku = 10;
  s.check_shi_shinne = 3;
  const PriceSeries series = SeriesOfCloses({100, 110, 120, 130, 125});
  const Painted p = Paint(series, s);
  const auto r = p.canvas.Of(Op::Rectangle);
  ASSERT_EQ(r.size(), 5u);
  const int from[] = {100, 100, 110, 120, 120};
  const int to[] = {100, 110, 120, 130, 130};
  for (int j = 0; j < 5; ++j) {
    EXPECT_EQ(r[j].left, 12 * (j + 1) - 5);
    EXPECT_EQ(r[j].top, p.scale.Y(from[j])) << j;
    EXPECT_EQ(r[j].bottom, p.scale.Y(to[j])) << j;
    EXPECT_EQ(r[j].pen.color, s.color_chart[5]);
  }
  // A fall below three blocks back turns it: a falling block from L[1] to the close.
  const Painted turn = Paint(SeriesOfCloses({100, 110, 120, 130, 95}), s);
  const auto t = turn.canvas.Of(Op::Rectangle);
  EXPECT_EQ(t[4].pen.color, s.color_chart[6]);
  EXPECT_EQ(t[4].top, turn.scale.Y(120));
  EXPECT_EQ(t[4].bottom, turn.scale.Y(95));
}

TEST(ChartPainterTest, KagiTurnsOnlyBeyondTheReversal) {
  ChartSettings s = QuietSettings();
  s.check_soku = 11;
  s.check_shi_kagi = 0.03;
  const Painted turns = Paint(SeriesOfCloses({1000, 969}), s);
  const auto sq = turns.canvas.Of(Op::Rectangle);
  ASSERT_EQ(sq.size(), 1u);
  const int y = turns.scale.Y(969);
  EXPECT_EQ(sq[0].left, 12 - 5);
  EXPECT_EQ(sq[0].top, y - 5);
  EXPECT_EQ(sq[0].right, 12 + 5);
  EXPECT_EQ(sq[0].bottom, y + 5);
  EXPECT_EQ(sq[0].brush.color, s.color_chart[0]);
  EXPECT_EQ(turns.canvas.Of(Op::Line).size(), 2u);
  EXPECT_TRUE(Paint(SeriesOfCloses({1000, 970}), s).canvas.Of(Op::Rectangle).empty());
}

TEST(ChartPainterTest, RenkoDrawsFourBoxes) {
  ChartSettings s = QuietSettings();
  s.check_soku = 12;
  s.check_shi_renkou = 0.03;
  const Painted p = Paint(SeriesOfCloses({1000, 900}), s);
  const auto boxes = p.canvas.Of(Op::Rectangle);
  ASSERT_EQ(boxes.size(), 4u);
  const int y0 = p.scale.Y(1000);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(boxes[i].left, 12 * (i + 1) - 5);
    EXPECT_EQ(boxes[i].top, y0 - 10 * i - 5);
    EXPECT_EQ(boxes[i].bottom, y0 - 10 * i + 5);
  }
  // A rise to 1010 over the low reference 900 turns it back (960 < 1010); b = trunc((1000 / 1010 - 1) /
  // 0.03) = trunc(-0.33) = 0, so one box follows in column 5, two boxes below the last one.
  const Painted back = Paint(SeriesOfCloses({1000, 900, 1010}), s);
  const auto all = back.canvas.Of(Op::Rectangle);
  ASSERT_EQ(all.size(), 5u);
  const int yb = back.scale.Y(1000);
  EXPECT_EQ(all[4].left, 12 * 5 - 5);
  EXPECT_EQ(all[4].top, yb - 20 - 5);
  EXPECT_EQ(all[4].bottom, yb - 20 + 5);
  EXPECT_EQ(all[4].pen.color, s.color_chart[6]);
  // A close of 0 or a box width of 0 draws no boxes and does not hang.
  EXPECT_TRUE(Paint(SeriesOfCloses({1000, 0}), s).canvas.Of(Op::Rectangle).size() <= 60u);
  s.check_shi_renkou = 0;
  EXPECT_TRUE(Paint(SeriesOfCloses({1000, 900}), s).canvas.Of(Op::Rectangle).empty());
}

TEST(ChartPainterTest, MultipleModeOrder) {
  ChartSettings s = QuietSettings();
  s.check_soku_check = 1;
  s.check_sokup = {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1};
  const Painted p = Paint(SeriesOfCloses({100, 110, 105}), s);
  // New-price blocks first (3 rectangles), then candles (3 wicks + bodies), then the close line.
  std::vector<Op> ops;
  for (const Call& c : p.canvas.calls())
    if (c.op == Op::Rectangle || c.op == Op::Polyline) ops.push_back(c.op);
  ASSERT_GE(ops.size(), 4u);
  EXPECT_EQ(ops[0], Op::Rectangle);
  EXPECT_EQ(ops.back(), Op::Polyline);
  s.check_soku_check = 0;
  s.check_soku = 13;
  const Painted none = Paint(SeriesOfCloses({100, 110, 105}), s);
  EXPECT_TRUE(none.canvas.Of(Op::Rectangle).empty());
  EXPECT_TRUE(none.canvas.Of(Op::Polyline).empty());
}

TEST(ChartPainterTest, LegendItemsOfTheAverages) {
  ChartSettings s = QuietSettings();
  s.check_shi_sma = 1;
  s.check_shi_wma = 1;
  s.para_shi_sma01 = 5, s.para_shi_sma02 = 25, s.para_shi_sma03 = 75;
  const Painted p = Paint(SeriesOfCloses(std::vector<int>(10, 100)), s);
  const auto texts = p.canvas.Of(Op::Text);
  ASSERT_GE(texts.size(), 6u);
  EXPECT_EQ(texts[1].text, "SMA 5 25 75 ");
  EXPECT_EQ(texts[1].at.x, 14 * 6 + 7 * 12);  // after "2003年1月1日～2003年1月10日 "
  EXPECT_EQ(texts[2].text, "WMA ");
  EXPECT_EQ(texts[3].text, "5 ");
  EXPECT_EQ(texts[3].textColor, s.color_shisuu[0]);
  EXPECT_EQ(texts[4].textColor, s.color_shisuu[1]);
  EXPECT_EQ(texts[5].text, "75 ");
  EXPECT_EQ(texts[5].textColor, s.color_shisuu[2]);
  EXPECT_EQ(texts[3].at.x, texts[2].at.x + 4 * 6);
  // Short SMA (5 < 10 bars) drawn with width 1; the long ones are not drawn for 10 bars.
  const auto lines = p.canvas.Of(Op::Polyline, s.color_shisuu[0]);
  ASSERT_EQ(lines.size(), 2u);  // SMA and WMA
  EXPECT_EQ(lines[0].points.front().x, 12 * 5);
  EXPECT_EQ(lines[0].pen.width, 1);
}

TEST(ChartPainterTest, IchimokuSpansReachAheadOfTheLastBar) {
  ChartSettings s = QuietSettings();
  s.check_shi_itimoku = 1;
  std::vector<int> closes;
  for (int i = 0; i < 300; ++i) closes.push_back(1000 + (i * 7) % 90);
  const Painted p = Paint(SeriesOfCloses(closes), s, {}, 1200);
  // 26 strides kept free at the right: visible = (1200 - labelWidth - 5 - 26 * 12) / 12, the labels
  // ("1089") 24 pixels wide.
  EXPECT_EQ(p.w.visible, (1200 - 24 - 5 - 26 * 12) / 12);
  EXPECT_EQ(p.w.first, 300 - p.w.visible);
  int spanEnd = 0;
  for (const Call& c : p.canvas.Of(Op::Polyline, s.color_shisuu[16]))
    spanEnd = std::max(spanEnd, c.points.back().x);
  EXPECT_EQ(spanEnd, 12 * (p.w.visible + 26));
  int baseEnd = 0;
  for (const Call& c : p.canvas.Of(Op::Polyline, s.color_shisuu[13]))
    baseEnd = std::max(baseEnd, c.points.back().x);
  EXPECT_EQ(baseEnd, 12 * p.w.visible);
  EXPECT_FALSE(p.canvas.Of(Op::Line, s.color_shisuu[18]).empty());  // the cloud hatching
}

TEST(ChartPainterTest, VolumeByPriceBarsAreProportional) {
  ChartSettings s = QuietSettings();
  s.check_shi_kakakutai = 1;
  const PriceSeries series =
      Series({Bar(2003, 1, 6, 100, 100, 100, 100, 10000), Bar(2003, 1, 7, 200, 200, 200, 200, 10001)});
  const Painted p = Paint(series, s);
  const auto rows = p.canvas.Of(Op::Rectangle, s.color_shisuu[19]);
  ASSERT_EQ(rows.size(), 20u);
  // Row 0 shows the top band (close 200 = top: 10001 shares), the longest at half the width; row 19
  // the bottom band (10000 shares), one share shorter; the empty bands have no length.
  EXPECT_EQ(rows[0].right, 300);
  EXPECT_EQ(rows[19].right, static_cast<int>(10000LL * 300 / 10001));
  EXPECT_EQ(rows[19].top, 15 * 19);
  EXPECT_EQ(rows[19].bottom, 15 * 20);
  EXPECT_EQ(rows[5].right, 0);
  // The index codes have none.
  ChartExtras index;
  index.code = 1020;
  EXPECT_TRUE(Paint(series, s, index).canvas.Of(Op::Rectangle).empty());
}

TEST(ChartPainterTest, SplitMarksAndComparisonLine) {
  ChartSettings s = QuietSettings();
  s.check_adjuston = 1;
  std::vector<PriceBar> bars;
  const double factors[] = {0.5, 0.5, 0.5, 1.0, 1.004, 1.001};
  for (int i = 0; i < 6; ++i) {
    bars.push_back(Bar(2003, 1, 6 + i, 1500, 1500, 1500, 1500));
    bars.back().factor = factors[i];
  }
  PriceSeries series = Series(bars);
  Painted p = Paint(series, s);
  const auto tri = p.canvas.Of(Op::Polygon);
  ASSERT_EQ(tri.size(), 1u);
  EXPECT_EQ(tri[0].points, (std::vector<Point>{{36, 10}, {48, 10}, {43, 20}}));

  // The comparison brand at 750 is doubled onto the main close of 1500.
  s.check_adjuston = 0;
  s.check_hikakuline = 1;
  std::vector<PriceBar> other;
  for (int i = 0; i < 8; ++i) other.push_back(Bar(2003, 1, 4 + i, 750, 800, 700, 750 + 10 * i));
  PriceSeries comparison = Series(other);
  ChartExtras extras;
  extras.comparison = &comparison;
  p = Paint(series, s, extras);
  const auto segs = p.canvas.Of(Op::Line, s.color_chart[2]);
  ASSERT_EQ(segs.size(), 5u);
  // Collected from 6 Jan: closes 770, 780, ... scaled by 1500 / 770.
  EXPECT_EQ(segs[0].points[0], (Point{12, p.scale.Y(1500)}));
  EXPECT_EQ(segs[0].points[1], (Point{24, p.scale.Y(static_cast<int>(780 * (1500.0 / 770)))}));
  PriceSeries halves = Series({Bar(2003, 1, 6, 750, 750, 750, 750), Bar(2003, 1, 7, 750, 750, 750, 750)});
  extras.comparison = &halves;
  p = Paint(series, s, extras);
  EXPECT_EQ(p.canvas.Of(Op::Line, s.color_chart[2])[0].points[1], (Point{24, p.scale.Y(1500)}));
  // The main brand did not trade on 8 Jan, the comparison brand did: at 9 Jan the line still steps on
  // to the next collected close (780 doubled) instead of staying flat.
  PriceSeries gap =
      Series({Bar(2003, 1, 6, 1500, 1600, 1400, 1500), Bar(2003, 1, 7, 1500, 1600, 1400, 1500),
              Bar(2003, 1, 9, 1500, 1600, 1400, 1500), Bar(2003, 1, 10, 1500, 1600, 1400, 1500)});
  PriceSeries daily = Series({Bar(2003, 1, 6, 750, 750, 750, 750), Bar(2003, 1, 7, 760, 760, 760, 760),
                              Bar(2003, 1, 8, 770, 770, 770, 770), Bar(2003, 1, 9, 780, 780, 780, 780),
                              Bar(2003, 1, 10, 790, 790, 790, 790)});
  extras.comparison = &daily;
  p = Paint(gap, s, extras);
  const auto steps = p.canvas.Of(Op::Line, s.color_chart[2]);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[1].points[1], (Point{36, p.scale.Y(1540)}));
  EXPECT_EQ(steps[2].points[0], (Point{36, p.scale.Y(1540)}));
  EXPECT_EQ(steps[2].points[1], (Point{48, p.scale.Y(1560)}));
  extras.comparison = &comparison;
  // No file, or no bar inside the window's dates: nothing.
  PriceSeries missing;
  extras.comparison = &missing;
  EXPECT_TRUE(Paint(series, s, extras).canvas.Of(Op::Line, s.color_chart[2]).empty());
  PriceSeries old = Series({Bar(1999, 1, 6, 750, 750, 750, 750)});
  extras.comparison = &old;
  EXPECT_TRUE(Paint(series, s, extras).canvas.Of(Op::Line, s.color_chart[2]).empty());
}

TEST(ChartPainterTest, BaseLinesFromTheBrandFigures) {
  ChartSettings s = QuietSettings();
  s.baseLines = 1;
  const PriceSeries series = SeriesOfCloses({1000, 1100, 1200});
  BaseLineInputs brand;
  brand.bps = 1050.7;
  brand.equityRatio = 50;
  brand.sharesIssued = 1000000;
  ChartExtras extras;
  extras.brand = &brand;
  Painted p = Paint(series, s, extras);
  const auto book = p.canvas.Of(Op::Line, s.color_chart[12]);
  ASSERT_EQ(book.size(), 1u);
  EXPECT_EQ(book[0].points[0], (Point{5, p.scale.Y(1050)}));
  const auto assets = p.canvas.Of(Op::Line, s.color_chart[13]);
  ASSERT_EQ(assets.size(), 1u);
  EXPECT_EQ(assets[0].points[0].y, 1);  // 2101 is above the top
  brand.bps = 500;
  brand.equityRatio = 0;  // no equity ratio: no second line; the book value below the area
  p = Paint(series, s, extras);
  EXPECT_EQ(p.canvas.Of(Op::Line, s.color_chart[12])[0].points[0].y, 324 - 12);
  EXPECT_TRUE(p.canvas.Of(Op::Line, s.color_chart[13]).empty());
  s.baseLines = 0;
  EXPECT_TRUE(Paint(series, s, extras).canvas.Of(Op::Line, s.color_chart[12]).empty());
  s.check_shi_pf = 1;
  EXPECT_FALSE(Paint(series, s, extras).canvas.Of(Op::Line, s.color_chart[12]).empty());
}

TEST(ChartPainterTest, EverythingOnOverGarbageStaysInBounds) {
  ChartSettings s;
  s.check_soku_check = 1;
  s.check_sokup.fill(1);
  for (int32_t* on :
       {&s.check_shi_sma,       &s.check_shi_nakati,   &s.check_shi_wma,      &s.check_shi_tma,
        &s.check_shi_ema,       &s.check_shi_lma,      &s.check_shi_epma,     &s.check_shi_swma,
        &s.check_shi_enbe_sma,  &s.check_shi_enbe_wma, &s.check_shi_bori_sma, &s.check_shi_bori_wma,
        &s.check_shi_itimoku,   &s.check_shi_para,     &s.check_shi_zigzag,   &s.check_shi_tenpen,
        &s.check_shi_kakakutai, &s.check_hikakuline,   &s.check_adjuston,     &s.baseLines,
        &s.check_line_w_x})
    *on = 1;
  std::vector<PriceBar> bars;
  for (int i = 0; i < 400; ++i) {
    const int v = (i % 7 == 0) ? INT32_MAX : (i % 5 == 0 ? INT32_MIN : (i % 3 == 0 ? 0 : 1000 + i));
    bars.push_back(Bar(2000 + i % 3, i % 15, i % 40 - 5, v, (i % 2) ? v : ~v, v / 2, v, -i));
    bars.back().factor = i % 11 == 0 ? std::nan("") : 1e300;
  }
  const PriceSeries series = Series(bars);
  for (int32_t period : {0, -3, 1, 2, 12000, INT32_MAX}) {
    s.para_shi_sma01 = s.para_shi_sma02 = s.para_shi_sma03 = period;
    s.para_shi_enbe = s.para_shi_bori = period;
    s.para_shi_itimoku01 = s.para_shi_itimoku02 = s.para_shi_itimoku03 = s.para_shi_itimoku04 = period;
    s.check_shi_shinne = period;
    ChartExtras extras;
    extras.comparison = &series;
    BaseLineInputs brand{1e300, 0.0001, 1};
    extras.brand = &brand;
    const Painted p = Paint(series, s, extras, 1900);
    EXPECT_FALSE(p.canvas.calls().empty());
  }
}

}  // namespace
}  // namespace sorano
