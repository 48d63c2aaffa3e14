#include "core/output/xlsx_workbook.h"

#include <gtest/gtest.h>

#include "core/output/time_series_export.h"
#include "zip_read.h"

namespace sorano {
namespace {

// The sheet's cells as "A1=text" in document order, read from its inline strings.
std::vector<std::string> SheetCells(const std::string& xlsx) {
  const std::optional<std::string> sheet = test::ZipMember(xlsx, "xl/worksheets/sheet1.xml");
  EXPECT_TRUE(sheet) << "no sheet1.xml";
  std::vector<std::string> out;
  if (!sheet) return out;
  for (size_t at = sheet->find("<c r=\""); at != std::string::npos; at = sheet->find("<c r=\"", at + 1)) {
    const size_t refEnd = sheet->find('"', at + 6);
    const size_t t = sheet->find("<t>", at), tEnd = sheet->find("</t>", at);
    // Every cell is a text value: an inline string, never a number.
    EXPECT_NE(sheet->find("t=\"inlineStr\"", at), std::string::npos);
    out.push_back(sheet->substr(at + 6, refEnd - at - 6) + "=" + sheet->substr(t + 3, tEnd - t - 3));
  }
  return out;
}

TEST(XlsxWorkbookTest, CellsAreTextsFromA1AndMoveDownWithTheHeader) {
  PriceSeries s;
  s.Assign(std::vector<PriceBar>{{2003, 9, 4, 1, 1, 1, 1000, 10, 1.0}, {2003, 9, 5, 1, 1, 1, 1500, 77, 1.0}});
  ExportOptions o;
  o.columns = {true, true, false, false, false, true, true};
  const auto withHeader = BuildXlsxWorkbook(ExportCells(s, o));
  ASSERT_TRUE(withHeader);
  EXPECT_EQ(withHeader->substr(0, 2), "PK");
  EXPECT_EQ(SheetCells(*withHeader),
            (std::vector<std::string>{"A1=日付", "B1=曜日", "C1=終値", "D1=出来高", "A2=2003/9/5", "B2=金",
                                      "C2=1500", "D2=77", "A3=2003/9/4", "B3=木", "C3=1000", "D3=10"}));
  o.header = false;
  const auto bare = BuildXlsxWorkbook(ExportCells(s, o));
  ASSERT_TRUE(bare);
  EXPECT_EQ(SheetCells(*bare), (std::vector<std::string>{"A1=2003/9/5", "B1=金", "C1=1500", "D1=77",
                                                         "A2=2003/9/4", "B2=木", "C2=1000", "D2=10"}));
}

}  // namespace
}  // namespace sorano
