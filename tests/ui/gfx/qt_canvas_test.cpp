#include "ui/gfx/qt_canvas.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "core/chart/chart_painter.h"

namespace sorano {
namespace {

constexpr Color kRed = 0x0000FF;  // 0x00BBGGRR
constexpr Color kBlue = 0xFF0000;

bool IsColor(const QImage& img, int x, int y, Color c) {
  return img.pixel(x, y) == ToQColor(c).rgb();
}

TEST(QtCanvasTest, OnePixelLinesLandOnTheirPixelsWithoutTheEndPoint) {
  QtCanvas canvas(40, 30);
  canvas.FillRect(0, 0, 40, 30, kWhite);
  canvas.SetPen({kRed, 1, PenStyle::Solid});
  canvas.Line(5, 10, 15, 10);  // horizontal: x 5..14 on row 10
  canvas.Line(20, 3, 20, 8);   // vertical: y 3..7 on column 20
  const QImage& img = canvas.image();
  for (int x = 5; x <= 14; ++x) EXPECT_TRUE(IsColor(img, x, 10, kRed)) << x;
  EXPECT_TRUE(IsColor(img, 4, 10, kWhite));
  EXPECT_TRUE(IsColor(img, 15, 10, kWhite));  // the end point is exclusive, as in GDI
  EXPECT_TRUE(IsColor(img, 5, 9, kWhite));
  EXPECT_TRUE(IsColor(img, 5, 11, kWhite));
  for (int y = 3; y <= 7; ++y) EXPECT_TRUE(IsColor(img, 20, y, kRed)) << y;
  EXPECT_TRUE(IsColor(img, 20, 8, kWhite));
  EXPECT_TRUE(IsColor(img, 20, 2, kWhite));
  EXPECT_TRUE(IsColor(img, 19, 5, kWhite));
  EXPECT_TRUE(IsColor(img, 21, 5, kWhite));
}

TEST(QtCanvasTest, PolylineJoinsItsVerticesAndLeavesOutTheLastPoint) {
  QtCanvas canvas(40, 30);
  canvas.FillRect(0, 0, 40, 30, kWhite);
  canvas.SetPen({kRed, 1, PenStyle::Solid});
  const Point pts[] = {{2, 2}, {10, 2}, {10, 9}};
  canvas.Polyline(pts);
  const QImage& img = canvas.image();
  for (int x = 2; x <= 10; ++x) EXPECT_TRUE(IsColor(img, x, 2, kRed)) << x;
  for (int y = 2; y <= 8; ++y) EXPECT_TRUE(IsColor(img, 10, y, kRed)) << y;
  EXPECT_TRUE(IsColor(img, 10, 9, kWhite));
  EXPECT_TRUE(IsColor(img, 11, 2, kWhite));
}

TEST(QtCanvasTest, RectangleRightAndBottomAreExclusiveAndTheInsideIsFilled) {
  QtCanvas canvas(40, 30);
  canvas.FillRect(0, 0, 40, 30, kWhite);
  canvas.SetPen({kRed, 1, PenStyle::Solid});
  canvas.SetBrush({kBlue, false});
  canvas.Rectangle(10, 20, 16, 5);  // given bottom-up, as a candle from y(open) to y(close)
  const QImage& img = canvas.image();
  // Outline on x 10 and 15, y 5 and 19; the inside blue; x 16 and y 20 untouched.
  EXPECT_TRUE(IsColor(img, 10, 5, kRed));
  EXPECT_TRUE(IsColor(img, 15, 5, kRed));
  EXPECT_TRUE(IsColor(img, 10, 19, kRed));
  EXPECT_TRUE(IsColor(img, 15, 19, kRed));
  EXPECT_TRUE(IsColor(img, 12, 12, kBlue));
  EXPECT_TRUE(IsColor(img, 16, 12, kWhite));
  EXPECT_TRUE(IsColor(img, 12, 20, kWhite));
  EXPECT_TRUE(IsColor(img, 9, 12, kWhite));
  EXPECT_TRUE(IsColor(img, 12, 4, kWhite));
}

TEST(QtCanvasTest, FillRectAndOpaqueTextStayInsideTheirCells) {
  QtCanvas canvas(200, 40);
  canvas.FillRect(0, 0, 200, 40, kWhite);
  canvas.FillRect(0, 0, 3, 2, kRed);
  canvas.SetFont({"MS UI Gothic", 16});
  canvas.SetTextColor(kBlack);
  canvas.SetTextBackground(kBlue, true);
  const TextSize size = canvas.MeasureText("あ");
  EXPECT_GT(size.width, 8);
  EXPECT_GE(size.height, 16);
  canvas.Text(50, 10, "あ");
  const QImage& img = canvas.image();
  EXPECT_TRUE(IsColor(img, 2, 1, kRed));
  EXPECT_TRUE(IsColor(img, 3, 1, kWhite));
  EXPECT_TRUE(IsColor(img, 2, 2, kWhite));
  EXPECT_TRUE(IsColor(img, 50, 10, kBlue) || img.pixel(50, 10) != ToQColor(kWhite).rgb());
  EXPECT_TRUE(IsColor(img, 49, 10, kWhite));
  EXPECT_TRUE(IsColor(img, 50 + size.width, 10, kWhite));
  // The glyph itself drew something dark inside its cell.
  int dark = 0;
  for (int y = 10; y < 10 + size.height; ++y)
    for (int x = 50; x < 50 + size.width; ++x)
      if (qGray(img.pixel(x, y)) < 80) ++dark;
  EXPECT_GT(dark, 5);
}

TEST(QtCanvasTest, TextCellsFollowTheirTextColoursAndFontAndEarlierPicturesStayAsTheyWere) {
  QtCanvas canvas(200, 60);
  canvas.FillRect(0, 0, 200, 60, kWhite);
  canvas.SetFont({"MS UI Gothic", 16});
  canvas.SetTextColor(kRed);
  canvas.SetTextBackground(kBlue, true);
  canvas.Text(10, 10, "12");
  const TextSize size = canvas.MeasureText("12");
  const QImage before = canvas.image();  // a copy sharing the pixels, as the clipboard takes one
  canvas.SetTextColor(kBlack);
  canvas.SetTextBackground(kWhite, true);
  canvas.Text(10, 10, "12");
  canvas.SetTextColor(kRed);
  canvas.SetTextBackground(kBlue, true);
  canvas.Text(100, 30, "12");
  const QImage& after = canvas.image();
  EXPECT_TRUE(IsColor(before, 10, 10, kBlue));
  EXPECT_TRUE(IsColor(after, 10, 10, kWhite));
  EXPECT_EQ(after.copy(100, 30, size.width, size.height), before.copy(10, 10, size.width, size.height));
  EXPECT_NE(after.copy(10, 10, size.width, size.height), before.copy(10, 10, size.width, size.height));
  canvas.SetFont({"MS UI Gothic", 24});
  EXPECT_GT(canvas.MeasureText("12").width, size.width);
}

TEST(QtCanvasTest, JapaneseFaceMapsToAnInstalledFont) {
  const QString family = QtCanvas::MapFace("MS UI Gothic");
  EXPECT_NE(family, QString("MS UI Gothic"));
  EXPECT_FALSE(family.isEmpty());
}

TEST(QtCanvasTest, CandlesOfThePainterLandOnTheirPixels) {
  ChartSettings s;
  s.check_shi_sma = 0;
  s.check_line_y = 0;
  s.check_line_m_x = 0;
  std::vector<PriceBar> bars(3);
  const int closes[3][4] = {{100, 200, 100, 200}, {200, 200, 100, 100}, {150, 200, 100, 150}};  // o h l c
  for (int i = 0; i < 3; ++i) {
    bars[i].year = 2003, bars[i].month = 1, bars[i].day = 6 + i;
    bars[i].open = closes[i][0], bars[i].high = closes[i][1], bars[i].low = closes[i][2];
    bars[i].close = closes[i][3];
  }
  PriceSeries series;
  series.Assign(bars);
  QtCanvas canvas(300, 200);
  ChartWindow w;
  LayoutChartWindow(w, 5, 300, 3);
  const PriceScale scale = PaintPriceChart(canvas, s, series, w);
  const QImage& img = canvas.image();
  // Bar 0 rising: outline x 7 ... 16 (right edge 17 exclusive), body filled in the rising colour.
  const int top = scale.Y(200), bottom = scale.Y(100);
  EXPECT_TRUE(IsColor(img, 12, (top + bottom) / 2, s.color_chart[5]));
  EXPECT_TRUE(IsColor(img, 7, (top + bottom) / 2, s.color_chart[5]));
  EXPECT_TRUE(IsColor(img, 16, (top + bottom) / 2, s.color_chart[5]));
  EXPECT_TRUE(IsColor(img, 17, (top + bottom) / 2, s.color_chart[0]));
  EXPECT_TRUE(IsColor(img, 6, (top + bottom) / 2, s.color_chart[0]));
  // Bar 1 falling, centred at x = 24, in the falling colour.
  EXPECT_TRUE(IsColor(img, 24, (top + bottom) / 2, s.color_chart[6]));
  // Bar 2 has open = close inside the falling body before it: a flat line across x 31 ... 40 at
  // y(150) in the engulfing colour, the wick above it in the rising colour.
  const int mid = scale.Y(150);
  EXPECT_TRUE(IsColor(img, 31, mid, s.color_chart[4]));
  EXPECT_TRUE(IsColor(img, 40, mid, s.color_chart[4]));
  EXPECT_TRUE(IsColor(img, 41, mid, s.color_chart[0]));
  EXPECT_TRUE(IsColor(img, 36, (top + mid) / 2, s.color_chart[5]));
  EXPECT_TRUE(IsColor(img, 37, (top + mid) / 2, s.color_chart[0]));
}

}  // namespace
}  // namespace sorano

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
