#include <gtest/gtest.h>

#include "core/output/bmp_file.h"
#include "core/output/pane_pictures.h"
#include "core/output/print_layout.h"

namespace sorano {
namespace {

uint32_t U32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
  return v;
}

TEST(BmpFileTest, HeaderBytesAndPaddedRows) {
  const RgbImage image(101, 3);
  const std::string bmp = EncodeBmp(image);
  EXPECT_EQ(BmpStride(101), 304);
  ASSERT_EQ(bmp.size(), 304u * 3 + 54);
  const std::string header(
      "BM\xc6\x03\x00\x00"  // 966 bytes
      "\x00\x00\x00\x00"
      "\x36\x00\x00\x00"
      "\x28\x00\x00\x00"
      "\x65\x00\x00\x00"  // 101
      "\x03\x00\x00\x00"
      "\x01\x00\x18\x00",
      30);
  EXPECT_EQ(bmp.substr(0, 30), header);
  EXPECT_EQ(bmp.substr(30, 24), std::string(24, '\0'));
  // White pixels, then the row's 304 - 303 = 1 padding byte.
  EXPECT_EQ(bmp.substr(54, 303), std::string(303, '\xff'));
  EXPECT_EQ(bmp[54 + 303], '\0');
  EXPECT_EQ(U32(EncodeBmp(RgbImage(1, 1)), 2), 58u);  // stride 4
}

TEST(BmpFileTest, RowsBottomUpInBlueGreenRedOrder) {
  RgbImage image(2, 2);
  image.pixels = {0x00112233, 0xFF445566,   // top row: the alpha byte is ignored
                  0x00778899, 0x00AABBCC};  // bottom row
  const std::string bmp = EncodeBmp(image);
  ASSERT_EQ(bmp.size(), 54u + 8 * 2);
  EXPECT_EQ(bmp.substr(54), std::string("\x99\x88\x77\xcc\xbb\xaa\0\0"
                                        "\x33\x22\x11\x66\x55\x44\0\0",
                                        16));
}

TEST(BmpFileTest, EmptyOrOversizedImageGivesNothing) {
  EXPECT_EQ(EncodeBmp(RgbImage{}), "");
  EXPECT_EQ(EncodeBmp(RgbImage(0, 5)), "");
  RgbImage huge;
  huge.width = 40000, huge.height = 40000;  // 4.8 GB of pixel rows: never allocated, never written
  EXPECT_EQ(EncodeBmp(huge), "");
}

TEST(RgbImageTest, BothPanesStackUnderTheChartWidth) {
  RgbImage chart(3, 2), tech(5, 1), narrow(2, 1);
  chart.pixels.assign(6, 1);
  tech.pixels.assign(5, 2);
  narrow.pixels.assign(2, 3);
  const RgbImage both = StackImages(chart, tech);
  EXPECT_EQ(both.width, 3);
  EXPECT_EQ(both.height, 3);
  EXPECT_EQ(both.pixels, (std::vector<uint32_t>{1, 1, 1, 1, 1, 1, 2, 2, 2}));
  EXPECT_EQ(StackImages(chart, narrow).pixels, (std::vector<uint32_t>{1, 1, 1, 1, 1, 1, 3, 3, 0xFFFFFF}));
  EXPECT_EQ(StackImages(chart, RgbImage{}).height, 2);
  EXPECT_TRUE(StackImages(RgbImage{}, tech).empty());
}

TEST(PrintLayoutTest, WholeMultipleOfTheWidthAtLeastOnce) {
  struct Case {
    int page, w, h;
    std::optional<PrintRect> want;
  };
  for (const Case& c : {Case{4800, 1000, 600, PrintRect{0, 0, 4800, 2400}},  // k = 4, width the full page
                        Case{4000, 1000, 600, PrintRect{0, 0, 4000, 2400}},
                        Case{800, 1000, 600, PrintRect{0, 0, 800, 600}},  // wider than the page: k = 1
                        Case{4800, 0, 600, std::nullopt},                 // an empty pane
                        Case{4800, 1000, 0, std::nullopt}, Case{0, 1000, 600, std::nullopt}}) {
    EXPECT_EQ(PrintPlacement(c.page, c.w, c.h), c.want) << c.page << " " << c.w;
  }
}

}  // namespace
}  // namespace sorano
