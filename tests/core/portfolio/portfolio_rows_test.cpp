#include "core/portfolio/portfolio_rows.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "core/portfolio/portfolio_forms.h"
#include "core/store/brand_table.h"

namespace sorano {
namespace {

// "トヨタ" in Shift_JIS.
const std::string kToyotaSjis = "\x83\x67\x83\x88\x83\x5E";

TEST(PortfolioRows, AccountRowOfTheWorkedExample) {
  Holding h{7203, 2003, 4, 1, 1000, 500};
  AccountRow row = MakeAccountRow(h, {kToyotaSjis, 520, 100});
  EXPECT_EQ(row.cells, (std::array<std::string, 8>{"7203", "トヨタ", "2003/04/01", "1000", "500", "520",
                                                   "20000", "4.00%"}));
  EXPECT_EQ(row.icon, kRowRising);

  EXPECT_EQ(MakeAccountRow(h, {kToyotaSjis, 500, 100}).icon, kRowUnchanged);
  AccountRow down = MakeAccountRow(h, {"", 333, 0});
  EXPECT_EQ(down.cells[1], "");
  EXPECT_EQ(down.cells[6], "-167000");
  EXPECT_EQ(down.cells[7], "-33.40%");
  EXPECT_EQ(down.icon, kRowFalling);
}

TEST(PortfolioRows, HistoryRowOfTheWorkedExample) {
  TradeRecord t{7203, 2003, 10, 10, 1000, 500, 2004, 1, 5, 1000, 600, 1575, 20};
  HistoryRow row = MakeHistoryRow(t, {kToyotaSjis, 0, 0});
  EXPECT_EQ(row.cells, (std::array<std::string, 10>{"7203", "トヨタ", "2003/10/10", "2004/01/05", "500000円",
                                                    "600000円", "100000円", "20.00%", "1575円", "20000円"}));
  EXPECT_EQ(row.icon, kRowRising);

  // A partial sale of 400 of 1000 shares at a gain: the purchase amount is what the 400 cost, so the
  // profit is a gain, in step with the tax and the row state.
  TradeRecord part{7203, 2003, 10, 10, 1000, 500, 2003, 11, 4, 400, 600, 1050, 20};
  HistoryRow p = MakeHistoryRow(part, {});
  EXPECT_EQ(p.cells[4], "200000円");
  EXPECT_EQ(p.cells[5], "240000円");
  EXPECT_EQ(p.cells[6], "40000円");
  EXPECT_EQ(p.cells[9], "8000円");
  EXPECT_EQ(p.icon, kRowRising);

  // A loss: the tax truncates toward zero and goes negative with the gain.
  TradeRecord loss{1301, 2001, 2, 3, 300, 1000, 2001, 3, 4, 333, 997, 0, 15};
  HistoryRow l = MakeHistoryRow(loss, {});
  EXPECT_EQ(l.cells[7], "-0.30%");
  EXPECT_EQ(l.cells[9], "-149円");  // -999 * 15 / 100 = -149.85
  EXPECT_EQ(l.icon, kRowFalling);
  TradeRecord even = loss;
  even.sellPrice = 1000;
  EXPECT_EQ(MakeHistoryRow(even, {}).icon, kRowUnchanged);
}

TEST(PortfolioRows, AmountsBeyond32BitsAreExact) {
  // 5,000,000 yen x 1,000 shares = 5,000,000,000: more than int32 holds.
  Holding h{9999, 2020, 1, 1, 1000, 5000000};
  EXPECT_EQ(UnrealisedGain(h, 0), -5000000000LL);
  EXPECT_EQ(MakeAccountRow(h, {"", 0, 0}).cells[6], "-5000000000");
  EXPECT_EQ(MakeAccountRow(h, {"", 0, 0}).icon, kRowFalling);
  // Price and buy price at the ends of int32: the difference itself needs 33 bits.
  Holding extreme{1, 2020, 1, 1, 2147483647, -2147483647 - 1};
  EXPECT_EQ(MakeAccountRow(extreme, {"", 2147483647, 0}).cells[6], "9223372030412324865");
  EXPECT_EQ(MakeAccountRow(extreme, {"", 2147483647, 0}).cells[7], "-200.00%");

  TradeRecord t{9999, 2020, 1, 1, 1000, 5000000, 2021, 1, 1, 1000, 7000000, 0, 20};
  HistoryRow row = MakeHistoryRow(t, {});
  EXPECT_EQ(row.cells[4], "5000000000円");
  EXPECT_EQ(row.cells[5], "7000000000円");
  EXPECT_EQ(row.cells[6], "2000000000円");
  EXPECT_EQ(row.cells[9], "400000000円");
  EXPECT_EQ(row.icon, kRowRising);

  // The tax of the largest gain at the largest rate needs more than 64 bits.
  TradeRecord huge{1, 0, 0, 0, 0, -2147483647 - 1, 0, 0, 0, 2147483647, 2147483647, 0, 2147483647};
  TradeAmounts a = AmountsOf(huge);
  EXPECT_EQ(a.gain, 9223372030412324865LL);
  EXPECT_EQ(MakeHistoryRow(huge, {}).cells[9], "198070406055076543148389826円");
  EXPECT_EQ(MakeHistoryRow(huge, {}).cells[5], "4611686014132420609円");
  // Profit at the extremes: (2^31 - 1)^2 - (-2^31 * (2^31 - 1)) still fits.
  TradeRecord wide{1, 0, 0, 0, 1, -2147483647 - 1, 0, 0, 0, 2147483647, 2147483647, 0, 0};
  EXPECT_EQ(AmountsOf(wide).profit, 9223372030412324865LL);
}

TEST(PortfolioRows, ZeroBuyPriceAndOddDates) {
  Holding h{1, 2003, -1, 123, 10, 0};
  AccountRow row = MakeAccountRow(h, {"", 50, 0});
  EXPECT_EQ(row.cells[2], "2003/-1/123");
  EXPECT_EQ(row.cells[6], "500");
  EXPECT_EQ(row.cells[7], "0.00%");  // no rate on a zero purchase price
  TradeRecord t{1, 0, 0, 0, 10, 0, 0, 0, 0, 10, 5, 0, 0};
  EXPECT_EQ(MakeHistoryRow(t, {}).cells[7], "0.00%");
  EXPECT_EQ(MakeHistoryRow(t, {}).cells[2], "0/00/00");
}

TEST(PortfolioRows, WideTextCoversTheWholeRange) {
  EXPECT_EQ(WideText(0), "0");
  EXPECT_EQ(WideText(-7), "-7");
  __int128 max = (static_cast<__int128>(1) << 126) - 1 + (static_cast<__int128>(1) << 126);
  EXPECT_EQ(WideText(max), "170141183460469231731687303715884105727");
  EXPECT_EQ(WideText(-max - 1), "-170141183460469231731687303715884105728");
}

TEST(PortfolioForms, BoxesConvertLikeTheDialogs) {
  EXPECT_EQ(BoxValue("1234"), 1234);
  EXPECT_EQ(BoxValue(" -20abc"), -20);
  EXPECT_EQ(BoxValue(""), 0);
  EXPECT_EQ(BoxValue("株"), 0);
  EXPECT_EQ(BoxValue("99999999999999"), 2147483647);
  // Only the first 63 characters are read.
  EXPECT_EQ(BoxValue(std::string(62, ' ') + "7"), 7);
  EXPECT_EQ(BoxValue(std::string(63, ' ') + "7"), 0);

  HoldingBoxes buy = NewHoldingBoxes({2024, 3, 9});
  EXPECT_EQ(buy.year, "2024");
  EXPECT_EQ(buy.month, "3");
  EXPECT_EQ(buy.day, "9");
  EXPECT_EQ(buy.code + buy.price + buy.quantity, "");
  buy.code = "7203";
  buy.price = "500";
  buy.quantity = "1000";
  EXPECT_EQ(HoldingFromBoxes(buy), (Holding{7203, 2024, 3, 9, 1000, 500}));
  Holding h{6758, 2001, 2, 3, 400, 5000};
  EXPECT_EQ(HoldingFromBoxes(HoldingBoxesOf(h)), h);

  SellBoxes sell = NewSellBoxes(h, {"", 5100, 100}, {2024, 3, 9});
  EXPECT_EQ(sell.code, "6758");
  EXPECT_EQ(sell.price, "5100");
  EXPECT_EQ(sell.quantity, "100");
  EXPECT_EQ(sell.fee + sell.taxRate, "");
  sell.fee = "1050";
  sell.taxRate = "20";
  EXPECT_EQ(SaleFromBoxes(sell), (Sale{2024, 3, 9, 100, 5100, 1050, 20}));

  TradeRecord t{7203, 2003, 10, 10, 1000, 500, 2003, 11, 4, 400, 600, 1050, 20};
  TradeBoxes tb = TradeBoxesOf(t);
  EXPECT_EQ(tb.buyPrice, "500");
  EXPECT_EQ(tb.buyQuantity, "1000");
  EXPECT_EQ(TradeFromBoxes(tb), t);

  LocalDate today = TodayLocal();
  EXPECT_GE(today.year, 2024);
  EXPECT_GE(today.month, 1);
  EXPECT_LE(today.month, 12);
}

TEST(PortfolioRows, QuotesComeFromTheBrandTable) {
  BrandTable table;
  BrandRecord& r = table[7203];
  std::memcpy(r.name, kToyotaSjis.data(), kToyotaSjis.size());
  r.price = 2500;
  r.unitShares = 100;
  BrandQuote q = QuoteOf(table, 7203);
  EXPECT_EQ(q.name, kToyotaSjis);
  EXPECT_EQ(q.price, 2500);
  EXPECT_EQ(q.unitShares, 100);
  // A free slot and codes without a record give an empty name and zeros.
  for (int32_t code : {1301, -1, 10000, 2147483647}) {
    BrandQuote none = QuoteOf(table, code);
    EXPECT_EQ(none.name, "") << code;
    EXPECT_EQ(none.price, 0) << code;
    EXPECT_EQ(none.unitShares, 0) << code;
  }
  // A name filling all 64 bytes without a terminator stays inside the field.
  std::memset(r.name, 'A', sizeof r.name);
  EXPECT_EQ(QuoteOf(table, 7203).name, std::string(64, 'A'));
}

}  // namespace
}  // namespace sorano
