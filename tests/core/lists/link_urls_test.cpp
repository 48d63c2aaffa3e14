#include "core/lists/link_urls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/net/euc.h"
#include "core/net/feed_fixture.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

TEST(LinkUrls, EveryLinkForABrandAndForAnIndex) {
  auto s = std::make_unique<SettingsStore>();
  std::strcpy(s->host_news, "news:1");
  std::strcpy(s->host_quote, "quote:2");
  std::strcpy(s->host_board, "board:3");
  std::strcpy(s->host_profile, "profile:4");
  std::strcpy(s->host_analysis, "analysis:5");
  std::strcpy(s->host_statements, "statements:6");
  std::strcpy(s->host_search, "search:7");
  const std::string name = Utf8ToSjis("トヨタ自動車 A&B");
  const struct {
    int id;
    const char* brand;  // for 7203
    const char* index;  // for 1020; "" when the page does not exist for indexes
  } cases[] = {
      {32913, "http://news:1/news?s=7203", ""},
      {32971, "http://quote:2/q?d=b&s=7203", "http://quote:2/q?d=b&s=998407"},
      {32869, "http://board:3/bbs?action=q&board=7203", "http://board:3/bbs?action=q&board=998407"},
      {32914, "http://profile:4/biz/fundamental/7203.html", ""},
      {32915, "http://profile:4/biz/independent/7203.html", ""},
      {32916, "http://profile:4/biz/consolidate/7203.html", ""},
      {32917, "http://profile:4/biz/interim/7203.html", ""},
      {32918, "http://news:1/z/a/7/7203.html", ""},
      {32872, "http://analysis:5/servlets/Query?SRC=indiv/superChart&code=7203", ""},
      {32873, "http://analysis:5/servlets/Query?SRC=indiv/check&code=7203", ""},
      {33025, "http://statements:6/investor/invsub/results/statemnt.asp?symbol=7203", ""},
      {33026,
       "http://statements:6/investor/invsub/results/"
       "statemnt.asp?lstStatement=Balance&stmtView=Ann&Symbol=JP:7203",
       ""},
      {33027,
       "http://statements:6/investor/invsub/results/"
       "statemnt.asp?lstStatement=CashFlow&stmtView=Ann&Symbol=JP:7203",
       ""},
      {33028,
       "http://statements:6/investor/invsub/results/"
       "statemnt.asp?lstStatement=10YearSummary&stmtView=Ann&Symbol=JP:7203",
       ""},
      // The name as UTF-8, percent-encoded.
      {32980, "http://search:7/search?q=%E3%83%88%E3%83%A8%E3%82%BF%E8%87%AA%E5%8B%95%E8%BB%8A%20A%26B",
       "http://search:7/search?q=%E3%83%88%E3%83%A8%E3%82%BF%E8%87%AA%E5%8B%95%E8%BB%8A%20A%26B"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(IsLinkCommand(c.id)) << c.id;
    EXPECT_EQ(LinkUrl(c.id, 7203, name, *s).value_or(""), c.brand) << c.id;
    EXPECT_EQ(LinkUrl(c.id, 1020, name, *s).value_or(""), c.index) << c.id;
  }
  EXPECT_EQ(LinkUrl(32971, 1010, "", *s).value_or(""), "http://quote:2/q?d=b&s=998405");
  EXPECT_EQ(LinkUrl(32869, 1030, "", *s).value_or(""), "http://board:3/bbs?action=q&board=23337");
  EXPECT_FALSE(LinkUrl(32980, 7203, "", *s));  // no name, nothing to search for
  EXPECT_FALSE(LinkUrl(32871, 7203, name, *s));
  EXPECT_FALSE(IsLinkCommand(32871));
}

class LinkPagesTest : public test::FeedTest {};

// With every host on the local feed, every link of a brand opens a page that names it.
TEST_F(LinkPagesTest, TheLocalFeedAnswersEveryLinkWithAPageNamingTheBrand) {
  feed::FeedOptions options;
  options.brandsFile = SORANO_SOURCE_DIR "/resources/default.dat";
  StartFeed(options, true);
  auto s = std::make_unique<SettingsStore>();
  for (char* host :
       {s->host_news, s->host_quote, s->host_board, s->host_profile, s->host_analysis, s->host_statements})
    std::strcpy(host, Host().c_str());
  for (int id :
       {32913, 32971, 32869, 32914, 32915, 32916, 32917, 32918, 32872, 32873, 33025, 33026, 33027, 33028}) {
    std::string body;
    ASSERT_EQ(Get(LinkUrl(id, 7203, "", *s).value(), &body), 1) << id;
    EXPECT_NE(SjisToUtf8(EucToShiftJis(body)).find("トヨタ自動車"), std::string::npos) << id;
  }
}

}  // namespace
}  // namespace sorano
