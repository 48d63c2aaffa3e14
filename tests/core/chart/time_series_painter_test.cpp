#include "core/chart/time_series_painter.h"

#include <gtest/gtest.h>

#include "core/chart/chart_test_series.h"
#include "support/recording_canvas.h"

namespace sorano {
namespace {

using test::Bar;
using test::Op;
using test::RecordingCanvas;

// Font size 24: a 20-pixel table font, so "1" is W = 10 by H = 20 on the recording canvas.
constexpr int W = 10, H = 20;

TimeSeriesStyle Style() {
  TimeSeriesStyle st;
  st.check_font_size = 24;
  st.background = 0x00EEDDCC;
  st.text = 0x00112233;
  return st;
}

PriceSeries Series(std::vector<PriceBar> bars) {
  PriceSeries s;
  s.Assign(bars);
  return s;
}

// The text drawn at line n, starting at column `column`.
std::string At(const RecordingCanvas& c, int column, int line) {
  for (const auto& call : c.Of(Op::Text))
    if (call.at == Point{column * W, line * H}) return call.text;
  return "(none)";
}

TEST(TimeSeriesPainterTest, NoDataNoticeAndHeaderOnlyForOneBar) {
  RecordingCanvas none(1000, 400);
  PaintTimeSeriesTable(none, Style(), PriceSeries{});
  ASSERT_EQ(none.AllTexts().size(), 2u);
  EXPECT_EQ(At(none, 0, 0), "　時系列画面：この株価コードは、データがダウンロードされていません。");
  EXPECT_EQ(At(none, 0, 3),
            "　　　手順：この画面内で右クリックして、｢選択銘柄のチャート初期化｣をクリックしてください");

  RecordingCanvas one(1000, 400);
  PaintTimeSeriesTable(one, Style(), Series({Bar(2003, 9, 5, 1, 1, 1, 1)}));
  EXPECT_EQ(one.AllTexts(), (std::vector<std::string>{"日付", "始値", "高値", "安値", "終値", "前日比",
                                                      "比率", "出来高", "出来額"}));
  EXPECT_EQ(At(one, 10, 0), "日付");
  EXPECT_EQ(At(one, 91, 0), "出来額");
  const auto fill = one.Of(Op::FillRect);
  ASSERT_EQ(fill.size(), 1u);
  EXPECT_EQ(fill[0].fill, 0x00EEDDCCu);
  EXPECT_EQ(one.Of(Op::Text)[0].textColor, 0x00112233u);
}

TEST(TimeSeriesPainterTest, RowsNewestFirstRightAligned) {
  const PriceSeries s =
      Series({Bar(2003, 9, 1, 1, 1, 1, 1010), Bar(2003, 9, 2, 990, 1020, 980, 1000, 1000),
              Bar(2003, 9, 3, 1, 1, 1, 500, 1000), Bar(2003, 9, 5, 1400, 1600, 1300, 1500, 1234567)});
  RecordingCanvas c(1000, 400);
  PaintTimeSeriesTable(c, Style(), s);
  // Line 1: the newest bar.
  EXPECT_EQ(At(c, 0, 1), "2003 09 05 (金)");
  EXPECT_EQ(At(c, 25 - 4, 1), "1400");
  EXPECT_EQ(At(c, 35 - 4, 1), "1600");
  EXPECT_EQ(At(c, 45 - 4, 1), "1300");
  EXPECT_EQ(At(c, 55 - 4, 1), "1500");
  EXPECT_EQ(At(c, 63 - 4, 1), "1000");
  EXPECT_EQ(At(c, 71 - 7, 1), "200.00%");
  EXPECT_EQ(At(c, 81 - 7, 1), "1234567");
  EXPECT_EQ(At(c, 87 - 2, 1), "18億5185万円");
  EXPECT_EQ(At(c, 93 - 2, 2), "50万円");
  // Line 3: close 1000 after 1010; its predecessor is the oldest bar, which gets no line of its own.
  EXPECT_EQ(At(c, 63 - 3, 3), "-10");
  EXPECT_EQ(At(c, 71 - 6, 3), "-0.99%");
  EXPECT_EQ(At(c, 93 - 3, 3), "100万円");
  EXPECT_EQ(At(c, 0, 4), "(none)");
  EXPECT_EQ(c.AllTexts().size(), 9u + 3 * 9);
}

TEST(TimeSeriesPainterTest, EdgeValuesAndLineCount) {
  // A previous close of 0 leaves the ratio out; the traded value of the largest volume and close is
  // 4e14 ten-thousands and is written whole.
  const PriceSeries s =
      Series({Bar(2003, 9, 1, 1, 1, 1, 0), Bar(2003, 9, 2, 1, 1, 1, 2000000000, 2000000000)});
  RecordingCanvas c(1000, 400);
  PaintTimeSeriesTable(c, Style(), s);
  for (const std::string& t : c.AllTexts()) {
    EXPECT_EQ(t.find("inf"), std::string::npos);
    EXPECT_EQ(t.find("nan"), std::string::npos);
    EXPECT_EQ(t.find('%'), std::string::npos);
  }
  EXPECT_EQ(At(c, 87 - 11, 1), "40000000000億0000万円");

  // A pane H * 3 + 5 high holds three lines of 100 bars; monochrome is black on white.
  std::vector<PriceBar> many(100, Bar(2003, 9, 1, 1, 1, 1, 1));
  RecordingCanvas short3(1000, 3 * H + 5);
  TimeSeriesStyle mono = Style();
  mono.monochrome = true;
  PaintTimeSeriesTable(short3, mono, Series(many));
  EXPECT_EQ(short3.AllTexts().size(), 9u + 3 * 9);
  EXPECT_EQ(short3.Of(Op::FillRect)[0].fill, kWhite);
  EXPECT_EQ(short3.Of(Op::Text)[0].textColor, kBlack);
  EXPECT_EQ(short3.Of(Op::Text)[0].textBackground, kWhite);
}

}  // namespace
}  // namespace sorano
