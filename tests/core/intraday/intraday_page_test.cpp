// The intraday window's image address, its page data/tmp.html, and the image fetched from the feed.
#include "core/intraday/intraday_page.h"

#include <gtest/gtest.h>

#include <future>

#include "core/net/feed_fixture.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

TEST(IntradayPageTest, ImagePathFromCodeAndMarket) {
  struct Case {
    int32_t code;
    int32_t market;
    const char* path;
  };
  const Case cases[] = {
      {7203, 1, "/c/1d/7/7203.t.gif"},  {1301, 2, "/c/1d/1/1301.t.gif"},  {9984, 3, "/c/1d/9/9984.t.gif"},
      {8591, 4, "/c/1d/8/8591.o.gif"},  {8591, 5, "/c/1d/8/8591.o.gif"},  {5631, 6, "/c/1d/5/5631.n.gif"},
      {5631, 7, "/c/1d/5/5631.n.gif"},  {9983, 8, "/c/1d/9/9983.s.gif"},  {9983, 9, "/c/1d/9/9983.f.gif"},
      {4689, 10, "/c/1d/4/4689.q.gif"}, {2121, 11, "/c/1d/2/2121.i.gif"}, {2121, 12, "/c/1d/2/2121.t.gif"},
      {2121, 0, "/c/1d/2/2121.t.gif"},  {2121, 13, "/c/1d/2/2121.t.gif"}, {2121, -1, "/c/1d/2/2121.t.gif"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IntradayImageUrl("chart.example:8080", c.code, c.market),
              std::string("http://chart.example:8080") + c.path)
        << c.code << " on " << c.market;
}

TEST(IntradayPageTest, ThePageFileHoldsExactlyTheImageAtTheClientSizeLess32) {
  test::TempDir dir;
  const DataFolder folder(dir.path());
  const std::string url = IntradayImageUrl("127.0.0.1:47150", 7203, 1);
  ASSERT_TRUE(WriteIntradayPage(folder, url, 400, 250));
  EXPECT_EQ(test::ReadBytes(folder.Path("data/tmp.html")),
            "<html><head><meta http-equiv=Content-Type content=text/html; charset=Shift_JIS><meta "
            "http-equiv=Content-Style-Type content=text/css><title></title></head><body><img "
            "src=\"http://127.0.0.1:47150/c/1d/7/7203.t.gif\" width=368 height=218 "
            "border=0></body></html>");

  // A window shrunk to no height builds nothing and the page before stays.
  EXPECT_FALSE(WriteIntradayPage(folder, IntradayImageUrl("127.0.0.1:47150", 9984, 1), 400, 0));
  EXPECT_FALSE(WriteIntradayPage(folder, url, 0, 250));
  EXPECT_NE(test::ReadBytes(folder.Path("data/tmp.html")).find("7203.t.gif\" width=368"), std::string::npos);
}

class IntradayFetchTest : public test::FeedTest {
 protected:
  std::optional<std::string> FetchOnWorker(int32_t code) {
    NetConfig config;
    config.chartImageHost = Host();
    std::promise<std::optional<std::string>> result;
    IntradayFetcher fetcher;
    fetcher.Start(config, IntradayImageUrl(config.chartImageHost, code, 1),
                  [&](std::optional<std::string> image) { result.set_value(std::move(image)); });
    return result.get_future().get();
  }
};

TEST_F(IntradayFetchTest, TheImageArrivesAndAFailedFetchGivesNone) {
  StartFeed({}, true);
  const std::optional<std::string> image = FetchOnWorker(7203);
  ASSERT_TRUE(image);
  EXPECT_TRUE(image->starts_with("GIF89a"));
  EXPECT_FALSE(FetchOnWorker(99999));  // the feed knows no such brand: 404
  feed_->Stop();
  EXPECT_FALSE(FetchOnWorker(7203));  // nobody answers
}

}  // namespace
}  // namespace sorano
