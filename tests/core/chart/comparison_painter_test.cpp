#include "core/chart/comparison_painter.h"

#include <gtest/gtest.h>

#include "core/chart/chart_test_series.h"
#include "support/recording_canvas.h"

namespace sorano {
namespace {

using test::Bar;
using test::Call;
using test::Op;
using test::QuietSettings;
using test::RecordingCanvas;

// QuietSettings: a 12-pixel font, so "1" is 6 x 12 and "000" 18 wide; a 600 x 324 pane has P = 300.
constexpr int kWidth = 600, kHeight = 324, P = 300;

PriceSeries Series(std::vector<PriceBar> bars) {
  PriceSeries s;
  s.Assign(bars);
  return s;
}

// Ten January days closing at 1000, one reaching 1250 and one 900.
PriceSeries TenDays() {
  std::vector<PriceBar> bars;
  for (int d = 1; d <= 10; ++d) bars.push_back(Bar(2003, 1, d, 1000, 1000, 1000, 1000));
  bars[4].high = 1250;
  bars[6].low = 900;
  return Series(bars);
}

struct Painted {
  RecordingCanvas canvas{kWidth, kHeight};
  ChartWindow w;
  PriceScale scale;
};

Painted Paint(ComparisonMode mode, const PriceSeries& main, std::vector<const PriceSeries*> others = {},
              ChartSettings s = QuietSettings(), int width = kWidth) {
  Painted p;
  p.canvas = RecordingCanvas(width, kHeight);
  SetChartSize(p.w, s.check_chsize);
  p.w.first = 0;
  p.scale = PaintComparisonChart(p.canvas, s, mode, main, p.w, others);
  return p;
}

std::vector<Call> HorizontalGrid(const RecordingCanvas& c) {
  std::vector<Call> out;
  for (const Call& l : c.Of(Op::Line, ChartSettings{}.color_chart[1]))
    if (l.points[0].y == l.points[1].y) out.push_back(l);
  return out;
}

int TextY(const RecordingCanvas& c, const std::string& text) {
  const auto t = c.TextsEqual(text);
  return t.size() == 1 ? t[0].at.y : -1000 - static_cast<int>(t.size());
}

TEST(ComparisonPainterTest, PercentageLabelsAroundTheFirstClose) {
  const Painted p = Paint(ComparisonMode::kPercentage, TenDays());
  EXPECT_EQ(p.w.visible, 10);
  EXPECT_EQ(p.scale.range, 350);
  // y(v) = 300 - (v - 900) * 300 / 350.
  EXPECT_EQ(TextY(p.canvas, "125"), 0);
  EXPECT_EQ(TextY(p.canvas, "100%"), 215);
  EXPECT_EQ(TextY(p.canvas, "110%"), 129);
  EXPECT_EQ(TextY(p.canvas, "120%"), 43);
  EXPECT_EQ(TextY(p.canvas, "90"), P);
  EXPECT_EQ(TextY(p.canvas, "100"), 215);  // the descending loop's one label, over the first
  EXPECT_EQ(p.canvas.AllTexts().size(), 6u);
  for (const Call& t : p.canvas.Of(Op::Text)) EXPECT_EQ(t.at.x, kWidth - 24);  // the room of "110%"
  const auto grid = HorizontalGrid(p.canvas);
  ASSERT_EQ(grid.size(), 4u);
  EXPECT_EQ(grid[0].points, (std::vector<Point>{{12, 215}, {120, 215}}));
  // The price line: the ten closes at x = 12, 24, ... 120.
  const auto line = p.canvas.Of(Op::Polyline, ChartSettings{}.color_chart[2]);
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].points.size(), 10u);
  EXPECT_EQ(line[0].points[9], (Point{120, 215}));
  EXPECT_EQ(line[0].pen.width, 2);
}

// The labels start where the widest of them ends at the right edge, and the window's bars stay left of
// them, also when the room the labels need costs a bar.
TEST(ComparisonPainterTest, LabelsHaveTheRoomOfTheWidest) {
  const struct {
    int32_t high;
    int width, room;  // the widest label: "120%" or "1200%"
  } cases[] = {{1250, 600, 24}, {1250, 606, 24}, {12500, 600, 30}, {12500, 611, 30}};
  ChartSettings s = QuietSettings();
  s.check_ymd = kPeriodMonthly;  // no date labels within one year
  for (const auto& c : cases) {
    std::vector<PriceBar> bars;
    for (int d = 0; d < 100; ++d) bars.push_back(Bar(2003, 1 + d / 28, 1 + d % 28, 1000, 1000, 1000, 1000));
    bars[0].high = c.high;
    const PriceSeries main = Series(bars);
    for (ComparisonMode mode : {ComparisonMode::kPercentage, ComparisonMode::kComparison}) {
      const Painted p = Paint(mode, main, {&main}, s, c.width);
      SCOPED_TRACE(testing::Message() << c.width << " " << c.high << " mode " << static_cast<int>(mode));
      EXPECT_EQ(p.w.visible, (c.width - c.room - p.w.gap) / p.w.Stride());
      for (const Call& t : p.canvas.Of(Op::Text)) {
        EXPECT_EQ(t.at.x, c.width - c.room) << t.text;
        EXPECT_LE(t.at.x + static_cast<int>(t.text.size()) * 6, c.width) << t.text;
      }
      const auto line = p.canvas.Of(Op::Polyline, ChartSettings{}.color_chart[2]);
      ASSERT_EQ(line.size(), 1u);
      EXPECT_LE(line[0].points.back().x, c.width - c.room);
    }
  }
}

TEST(ComparisonPainterTest, ComparisonBrandsScaledSkippedAndMatchedByDate) {
  const PriceSeries main = TenDays();
  const Color pen1 = ChartSettings{}.color_chart[9], pen2 = ChartSettings{}.color_chart[10],
              pen3 = ChartSettings{}.color_chart[11];
  // No comparison brand: the date axis only.
  const Painted alone = Paint(ComparisonMode::kComparison, main, {nullptr, nullptr, nullptr});
  EXPECT_TRUE(alone.canvas.AllTexts().empty());
  EXPECT_TRUE(alone.canvas.Of(Op::Polyline).empty());

  // A brand at twice the price lies on the main line; a brand without a file is skipped.
  std::vector<PriceBar> doubled(main.bars().begin(), main.bars().end());
  for (PriceBar& b : doubled) b.close *= 2;
  const PriceSeries twice = Series(doubled), none;
  const Painted p = Paint(ComparisonMode::kComparison, main, {&none, &twice, nullptr});
  EXPECT_TRUE(p.canvas.Of(Op::Polyline, pen1).empty());
  const auto mainLine = p.canvas.Of(Op::Polyline, ChartSettings{}.color_chart[2]);
  const auto second = p.canvas.Of(Op::Polyline, pen2);
  ASSERT_EQ(second.size(), 1u);
  ASSERT_EQ(mainLine.size(), 1u);
  EXPECT_EQ(second[0].points, mainLine[0].points);
  EXPECT_EQ(p.canvas.TextsEqual("100%").size(), 1u);

  // Dates: the brand trades on the 4th, which the main brand lacks, and not on the 6th. Its points
  // stand at the main brand's dates: the 6th repeats the 5th, nothing shifts.
  const PriceSeries gappy =
      Series({Bar(2003, 1, 1, 1, 1, 1, 100), Bar(2003, 1, 2, 1, 1, 1, 110), Bar(2003, 1, 3, 1, 1, 1, 120),
              Bar(2003, 1, 4, 1, 1, 1, 500), Bar(2003, 1, 5, 1, 1, 1, 130), Bar(2003, 1, 7, 1, 1, 1, 140)});
  std::vector<PriceBar> noFourth(main.bars().begin(), main.bars().end());
  noFourth.erase(noFourth.begin() + 3);  // the 4th
  const PriceSeries main9 = Series(noFourth);
  const Painted m = Paint(ComparisonMode::kComparison, main9, {nullptr, nullptr, &gappy});
  const auto third = m.canvas.Of(Op::Polyline, pen3);
  ASSERT_EQ(third.size(), 1u);
  const PriceScale& sc = m.scale;
  // Scaled by 1000 / 100: 1000, 1100, 1200, (5000 left out), 1300, -, 1400, then 1400 to the end.
  EXPECT_EQ(sc.top, 5000);  // every kept close widens the range, the left-out day too
  const std::vector<int32_t> want = {1000, 1100, 1200, 1300, 1300, 1400, 1400, 1400, 1400};
  ASSERT_EQ(third[0].points.size(), want.size());
  for (size_t j = 0; j < want.size(); ++j) {
    EXPECT_EQ(third[0].points[j].x, 12 * static_cast<int>(j + 1));
    EXPECT_EQ(third[0].points[j].y, sc.Y(want[j])) << j;
  }
}

TEST(ComparisonPainterTest, DegenerateInputsDrawSafely) {
  // No file: the notice.
  const Painted none = Paint(ComparisonMode::kPercentage, PriceSeries{});
  EXPECT_EQ(none.canvas.AllTexts().size(), 2u);
  EXPECT_EQ(none.canvas.Of(Op::Text)[1].at.y, 36);

  // A first close of 0 (B = 0) draws no percentages; a comparison brand whose first kept close is 0
  // draws no line.
  PriceSeries zero = TenDays();
  zero.buffer()[0].close = 0;
  const PriceSeries flat = Series({Bar(2003, 1, 1, 0, 0, 0, 0), Bar(2003, 1, 2, 5, 5, 5, 5)});
  const Painted z = Paint(ComparisonMode::kComparison, zero, {&flat});
  EXPECT_TRUE(HorizontalGrid(z.canvas).empty());
  EXPECT_TRUE(z.canvas.Of(Op::Polyline, ChartSettings{}.color_chart[9]).empty());

  // A close of 1 under a top of a billion: labels one text line apart at most, not ten million.
  PriceSeries steep = TenDays();
  steep.buffer()[0].close = 1;
  steep.buffer()[0].low = 1;
  steep.buffer()[9].high = 1000000000;
  const Painted s = Paint(ComparisonMode::kPercentage, steep);
  EXPECT_LE(s.canvas.AllTexts().size(), static_cast<size_t>(P / 12 + 3));
  EXPECT_GE(s.canvas.AllTexts().size(), 5u);

  // A pane narrower than one bar.
  const Painted narrow = Paint(ComparisonMode::kComparison, TenDays(), {&steep}, QuietSettings(), 10);
  EXPECT_EQ(narrow.w.visible, 0);
  EXPECT_EQ(narrow.w.first, 0);
}

TEST(ComparisonPainterTest, DateAxisStartsAtTheFirstBarWithABarBefore) {
  ChartSettings s = QuietSettings();
  s.check_line_m_x = 1;
  // 30 and 31 December, then 6 and 7 January: a new week, month and year at the third bar.
  const PriceSeries main = Series({Bar(2002, 12, 30, 1, 1, 1, 1), Bar(2002, 12, 31, 1, 1, 1, 1),
                                   Bar(2003, 1, 6, 1, 1, 1, 1), Bar(2003, 1, 7, 1, 1, 1, 1)});
  const Painted p = Paint(ComparisonMode::kComparison, main, {}, s);
  // At x = pitch * 3 - body / 2 = 33: day, month and year, one line under the other, the last on
  // the bottom line.
  const std::vector<std::string> texts = p.canvas.AllTexts();
  EXPECT_EQ(texts, (std::vector<std::string>{"06", " 1月", "2003年"}));
  EXPECT_EQ(TextY(p.canvas, "06"), kHeight - 36);
  EXPECT_EQ(TextY(p.canvas, " 1月"), kHeight - 24);
  EXPECT_EQ(TextY(p.canvas, "2003年"), kHeight - 12);
  for (const Call& t : p.canvas.Of(Op::Text)) EXPECT_EQ(t.at.x, 33);
  // One grid line at x = 36 for the new month and year (drawn once per bar).
  const auto grid = p.canvas.Of(Op::Line, ChartSettings{}.color_chart[1]);
  ASSERT_EQ(grid.size(), 1u);
  EXPECT_EQ(grid[0].points, (std::vector<Point>{{36, P}, {36, P - 320}}));
}

}  // namespace
}  // namespace sorano
