#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/net/quote_page.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "feed_fixture.h"

namespace sorano {
namespace {

using test::FeedTest;

std::string Name(const BrandRecord& r) {
  return SjisToUtf8(FieldText(r.name));
}

class ScrapeQuoteTest : public FeedTest {
 protected:
  void SetUp() override {
    test::WriteBytes(brands_ / "default.dat",
                     Utf8ToSjis("7203,1,17,トヨタ自動車\r\n7267,11,17,本田技研工業\r\n"));
    feed::FeedOptions options;
    options.brandsFile = brands_ / "default.dat";
    StartFeed(options);
    config_.quoteHost = Host();
  }
  test::TempDir brands_;
  NetConfig config_;
  BrandTable table_;
};

TEST_F(ScrapeQuoteTest, FillsTheRecordFromTheFeedsPage) {
  WriteCsv(7203,
           "2003-12-04,3400,3460,3390,3450,1000000,3450\n2003-12-05,3460,3550,3440,3500,1234000,3500\n");
  WriteCsv(7267, "2003-12-04,3500,3560,3490,3530,1000,3530\n2003-12-05,3520,3540,3480,3500,2000,3500\n");
  WriteCsv(1020, "2003-12-04,1000,1010,990,1005\n2003-12-05,1005,1020,1001,1019.99\n");
  ASSERT_EQ(ScrapeQuote(config_, table_, 7203), "OK");
  const BrandRecord& r = table_[7203];
  EXPECT_EQ(Name(r), "トヨタ自動車");
  EXPECT_EQ(r.market, 1);
  EXPECT_EQ(r.price, 3500);
  EXPECT_STREQ(r.quoteTime, "12/05");
  EXPECT_EQ(r.change, 50);
  EXPECT_DOUBLE_EQ(r.changePercent, 1.45);
  EXPECT_EQ(r.volume, 1234000);
  EXPECT_EQ(r.tradingValue, 43190000);  // 12340 * 3500
  EXPECT_EQ(r.open, 3460);
  EXPECT_EQ(r.high, 3550);
  EXPECT_EQ(r.low, 3440);
  EXPECT_EQ(r.bid, 3490);
  EXPECT_EQ(r.ask, 3510);
  ASSERT_GT(r.sharesIssued, 0);
  EXPECT_DOUBLE_EQ(r.volumeRatio, 1234000.0 / r.sharesIssued / 100.0);
  EXPECT_EQ(r.marketCap, static_cast<int32_t>(int64_t{3500} * r.sharesIssued / 1000000));
  EXPECT_GT(r.per, 0.0);
  EXPECT_GT(r.bps, 0.0);
  EXPECT_TRUE(r.unitShares == 100 || r.unitShares == 1000);
  EXPECT_EQ(r.unitValue, r.unitShares * 3500);
  EXPECT_EQ(SjisToUtf8(FieldText(r.fiscalPeriod)), "2003年3月");

  ASSERT_EQ(ScrapeQuote(config_, table_, 7267), "OK");
  EXPECT_EQ(table_[7267].change, -30);
  EXPECT_DOUBLE_EQ(table_[7267].changePercent, -0.85);
  EXPECT_EQ(table_[7267].market, 11);
  EXPECT_EQ(feed_->Requests().back(), "/q?s=7267&d=b");  // no ".j" for the quote service

  ASSERT_EQ(ScrapeQuote(config_, table_, 1020), "OK");
  EXPECT_EQ(feed_->Requests().back(), "/q?s=998407&d=b");
  EXPECT_EQ(table_[1020].price, 1019);
}

TEST_F(ScrapeQuoteTest, UnknownBrandsAndFailuresLeaveTheRecord) {
  table_[4444].price = 77;
  std::strcpy(table_[4444].name, "keep");
  EXPECT_EQ(ScrapeQuote(config_, table_, 4444), "ERROR");  // "一致する銘柄はありません"
  feed::FeedFaults error;
  error.status = 503;
  feed_->SetFaults(error);
  EXPECT_EQ(ScrapeQuote(config_, table_, 4444), "ERROR");
  feed_->Stop();
  EXPECT_EQ(ScrapeQuote(config_, table_, 4444), "ERROR");
  EXPECT_EQ(ScrapeQuote(config_, table_, 10000), "ERROR");
  EXPECT_EQ(table_[4444].price, 77);
  EXPECT_STREQ(table_[4444].name, "keep");
}

// A quote page in the service's layout, with one label cell per (label, value) pair.
std::string Page(const std::string& title, const std::vector<std::pair<std::string, std::string>>& cells) {
  std::string p =
      "<html><body>\n<table border=1 width=521 cellpadding=0 cellspacing=0><tr align=center><td nowrap "
      "colspan=6><b><small>2003年12月5日</small>&nbsp;<b>" +
      title + "</td></tr>\n";
  for (const auto& [label, value] : cells) {
    if (label == "取引値") {
      p += "<td nowrap colspan=2>取引値<br>" + value + "</b></td>\n";
    } else {
      p += "<td nowrap>" + label + "<br>" + value + "</td>\n";
    }
  }
  return Utf8ToSjis(p + "</table></body></html>");
}

TEST(ParseQuotePage, TitleMarketsAndUnits) {
  BrandRecord r;
  ASSERT_TRUE(ParseQuotePage(Page("日本電気(株)</b> (6701.T) 東証 : 電気機器",
                                  {{"取引値", "15:00<b>3,500"},
                                   {"前日比", "<font color=\"#ff0020\">0 (0.00%)</font>"},
                                   {"出来高", "10,000,000株"},
                                   {"発行済株式数", "---"},
                                   {"株価収益率", "(連)15.23倍"},
                                   {"純資産倍率", "(単)1.5倍"},
                                   {"1株利益", "(連)1,234.5円"},
                                   {"株主資本利益率", "(単)-3.2%"},
                                   {"単元株数", "---"}}),
                             r));
  EXPECT_EQ(Name(r), "日本電気");
  EXPECT_EQ(r.market, 1);
  EXPECT_STREQ(r.quoteTime, "15:00");
  EXPECT_EQ(r.price, 3500);
  EXPECT_EQ(r.tradingValue, 350000000);
  EXPECT_EQ(r.sharesIssued, 0);
  EXPECT_EQ(r.volumeRatio, 0.0);  // untouched: no shares to divide by
  EXPECT_DOUBLE_EQ(r.per, 15.23);
  EXPECT_DOUBLE_EQ(r.pbr, 1.5);
  EXPECT_DOUBLE_EQ(r.eps, 1234.5);
  EXPECT_DOUBLE_EQ(r.roe, -3.2);
  EXPECT_EQ(r.unitShares, 0);
  EXPECT_EQ(r.unitValue, 3500);

  for (const auto& [market, number] : std::vector<std::pair<std::string, int>>{{"東証1部", 1},
                                                                               {"東証2部", 2},
                                                                               {"ヘラクレス", 11},
                                                                               {"マザーズ", 12},
                                                                               {"JASDAQ", 10},
                                                                               {"NYSE", 0}}) {
    BrandRecord m;
    ASSERT_TRUE(ParseQuotePage(Page("名前</b> (1301.J) " + market + " : x", {}), m));
    EXPECT_EQ(m.market, number) << market;
  }
}

TEST(ParseQuotePage, DashesStoreAPositiveZero) {
  // Every decimal field of the page printed as "---" (with its unit marks around it).
  BrandRecord r;
  r.per = 9.5;
  ASSERT_TRUE(ParseQuotePage(Page("名前</b> (1301.T) 東証1部 : x", {{"前日比", "--- (---%)"},
                                                                    {"配当利回り", "---%"},
                                                                    {"1株配当", "---円"},
                                                                    {"株価収益率", "(連)---倍"},
                                                                    {"1株利益", "(単)---円"},
                                                                    {"純資産倍率", "---倍"},
                                                                    {"1株株主資本", "---円"},
                                                                    {"株主資本比率", "(連)---"},
                                                                    {"株主資本利益率", "-0.00%"},
                                                                    {"総資産利益率", "(連)---%"}}),
                             r));
  // view.dat holds these bytes as they are: a negative zero would be stored with its 0x80 sign byte.
  for (const double v : {r.changePercent, r.dividendYield, r.dividendPerShare, r.per, r.eps, r.pbr, r.bps,
                         r.equityRatio, r.roe, r.roa}) {
    uint64_t bits = 1;
    std::memcpy(&bits, &v, sizeof bits);
    EXPECT_EQ(bits, 0u);
  }
}

TEST(ParseQuotePage, HugeValuesSaturateAndLongTextsAreCutAtACharacter) {
  BrandRecord r;
  std::string longName;
  for (int i = 0; i < 40; ++i) longName += "株";  // 80 bytes of two-byte characters
  ASSERT_TRUE(ParseQuotePage(
      Page("A" + longName + "</b> (1301.T) 東証1部 : x", {{"取引値", "2003年12月05日 15:00:00<b>99,999,999"},
                                                          {"出来高", "2,000,000,000株"},
                                                          {"決算年月", "二〇〇四年三月期（連結決算）"},
                                                          {"単元株数", "1,000株"}}),
      r));
  // 63 bytes fit with the NUL; "A" and 31 whole characters are 63 bytes.
  EXPECT_EQ(std::strlen(r.name), 63u);
  EXPECT_EQ(std::strlen(r.quoteTime), 11u);
  EXPECT_LE(std::strlen(r.fiscalPeriod), 19u);
  EXPECT_EQ(SjisToUtf8(FieldText(r.fiscalPeriod)), "二〇〇四年三月期（");
  EXPECT_EQ(r.tradingValue, INT32_MAX);
  EXPECT_EQ(r.unitValue, INT32_MAX);
}

TEST(ParseQuotePage, MissingLabelsLeaveTheirFieldsAndNothingReadsPastTheEnd) {
  BrandRecord r;
  r.price = 1234;
  r.open = 11;
  r.high = 22;
  std::strcpy(r.name, "old");
  // No title, no open; the high's cell is never closed; the price is "---".
  std::string page = Page("", {{"取引値", "--:--<b>---"}, {"安値", "990"}});
  page.replace(page.find(Utf8ToSjis("&nbsp;<b>")), 9, "");
  page += Utf8ToSjis("<td nowrap>高値<br>1,010");
  ASSERT_TRUE(ParseQuotePage(page, r));
  EXPECT_STREQ(r.name, "old");
  EXPECT_EQ(r.price, 1234);  // a price of 0 would mark the slot unused
  EXPECT_EQ(r.open, 11);
  EXPECT_EQ(r.high, 22);
  EXPECT_EQ(r.low, 990);

  BrandRecord untouched;
  untouched.price = 5;
  EXPECT_FALSE(ParseQuotePage("", untouched));
  EXPECT_FALSE(ParseQuotePage("ERROR", untouched));
  EXPECT_FALSE(ParseQuotePage("\nERROR\n", untouched));
  EXPECT_FALSE(ParseQuotePage("ERROR: 404 Not Found\n", untouched));
  EXPECT_FALSE(ParseQuotePage(Utf8ToSjis("<p>「9999」に一致する銘柄はありません</p>"), untouched));
  EXPECT_EQ(untouched.price, 5);
  // Every prefix of a real page parses without reading past its end (checked by the sanitizers).
  const std::string full =
      Page("名前</b> (1301.T) 東証1部 : x", {{"取引値", "15:00<b>3,500"}, {"単元株数", "100株"}});
  for (size_t n = 0; n <= full.size(); ++n) {
    BrandRecord p;
    ParseQuotePage(full.substr(0, n), p);
  }
}

}  // namespace
}  // namespace sorano
