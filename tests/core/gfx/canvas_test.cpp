#include "core/gfx/canvas.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace sorano {
namespace {

TEST(CanvasTest, ColoursAreWindowsBgrValues) {
  // 0x00BBGGRR: red in the low byte, as the registry stores the colour tables.
  EXPECT_EQ(Rgb(0x12, 0x34, 0x56), 0x563412u);
  EXPECT_EQ(ColorRed(0x0000FF), 255);
  EXPECT_EQ(ColorBlue(0xFF0000), 255);
  EXPECT_EQ(ColorGreen(0x00AA00), 0xAA);
  EXPECT_EQ(ColorRed(0xFFFFFFFF), 255);  // a stray high byte does not leak into a channel
}

TEST(CanvasTest, LineIsAMoveAndALineToThatKeepsTheSelectedPen) {
  test::RecordingCanvas c(100, 100);
  c.SetPen({0x0000FF, 2, PenStyle::Dash});
  c.Line(1, 2, 30, 40);
  c.LineTo(50, 40);  // continues from the end of the last line
  const auto lines = c.Of(test::Op::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{1, 2}, {30, 40}}));
  EXPECT_EQ(lines[1].points, (std::vector<Point>{{30, 40}, {50, 40}}));
  EXPECT_EQ(lines[1].pen, (Pen{0x0000FF, 2, PenStyle::Dash}));
  // Fixed text metrics of the recording canvas: half the height per single-byte character.
  c.SetFont({"MS UI Gothic", 12});
  EXPECT_EQ(c.MeasureText("12年"), (TextSize{6 + 6 + 12, 12}));
}

}  // namespace
}  // namespace sorano
