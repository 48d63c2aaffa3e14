#include <gtest/gtest.h>
#include <iconv.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/net/euc.h"
#include "core/net/http_client.h"
#include "core/text/sjis.h"
#include "feed_fixture.h"

namespace sorano {
namespace {

using test::FeedTest;

// ---- EUC-JP -> Shift_JIS ----

std::string Iconv(const std::string& in, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(in.size() * 4 + 8, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return {};
  out.resize(out.size() - dstLeft);
  return out;
}

TEST(EucToShiftJis, MatchesTheCharacterSetMappingForEveryJisX0208Character) {
  int compared = 0;
  for (int j1 = 0x21; j1 <= 0x7E; ++j1) {
    for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
      const std::string euc{static_cast<char>(j1 | 0x80), static_cast<char>(j2 | 0x80)};
      const std::string expected = Iconv(euc, "EUC-JP", "SHIFT_JIS");
      if (expected.size() != 2) continue;  // unassigned in JIS X 0208
      ASSERT_EQ(EucToShiftJis(euc), expected) << std::hex << j1 << " " << j2;
      ASSERT_EQ(ShiftJisToEuc(expected), euc);
      ++compared;
    }
  }
  EXPECT_GT(compared, 6000);
}

TEST(EucToShiftJis, KatakanaAsciiAndTheEndOfTheText) {
  // "<td>東証1部</td>" keeps its markup; half-width "ｱ" (0x8E 0xB1) loses its shift byte.
  EXPECT_EQ(EucToShiftJis(Iconv("<td>東証1部</td>", "UTF-8", "EUC-JP")), Utf8ToSjis("<td>東証1部</td>"));
  EXPECT_EQ(EucToShiftJis("a\x8E\xB1z"), "a\xB1z");
  // A lead byte or a shift byte as the very last byte is dropped, nothing is read past the end.
  EXPECT_EQ(EucToShiftJis("ab\xB5"), "ab");
  EXPECT_EQ(EucToShiftJis("ab\x8E"), "ab");
  EXPECT_EQ(EucToShiftJis(""), "");
  // 0x8F (the three-byte set) is not a lead byte here and passes unchanged.
  EXPECT_EQ(EucToShiftJis("\x8F"), "\x8F");
  EXPECT_EQ(ShiftJisToEuc("\xB1"), "\x8E\xB1");
}

// ---- SplitUrl ----

TEST(SplitUrl, SchemesPortsAndPaths) {
  std::string host, path;
  int port = 0, flags = 0;
  ASSERT_EQ(SplitUrl("http://chart.example/t?c=2003&a=12&s=7203", host, path, port, flags), 0);
  EXPECT_EQ(host, "chart.example");
  EXPECT_EQ(path, "/t?c=2003&a=12&s=7203");
  EXPECT_EQ(port, 80);
  EXPECT_EQ(flags & kHttpFlagSecure, 0);

  flags = kHttpRequestFlags;
  ASSERT_EQ(SplitUrl("http://127.0.0.1:8080/q?s=7203&d=b", host, path, port, flags), 0);
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 8080);
  EXPECT_EQ(path, "/q?s=7203&d=b");

  flags = kHttpRequestFlags;
  ASSERT_EQ(SplitUrl("https://maker.example/", host, path, port, flags), 0);
  EXPECT_EQ(port, 443);
  EXPECT_EQ(path, "/");
  EXPECT_EQ(flags, kHttpRequestFlags | kHttpFlagSecure);
}

TEST(SplitUrl, RefusesWhatItCannotUse) {
  std::string host = "keep", path = "keep";
  int port = 0, flags = 0;
  for (const char* url : {"ftp://host/file", "http://host-without-slash", "no colon at all", "http:/x/y",
                          "http://:80/", "http://host:0/", "http://host:99999/", "http://host:abc/"}) {
    EXPECT_EQ(SplitUrl(url, host, path, port, flags), kHttpInvalidParameter) << url;
  }
  const std::string longHost = "http://" + std::string(kHttpMaxUrlPart + 1, 'h') + "/";
  EXPECT_EQ(SplitUrl(longHost, host, path, port, flags), kHttpInvalidParameter);
  const std::string longPath = "http://h/" + std::string(kHttpMaxUrlPart, 'p');
  EXPECT_EQ(SplitUrl(longPath, host, path, port, flags), kHttpInvalidParameter);
}

TEST(ServiceUrl, AddsTheSchemeOnlyWhenTheHostHasNone) {
  EXPECT_EQ(ServiceUrl("127.0.0.1:47150", "/q?s=1"), "http://127.0.0.1:47150/q?s=1");
  EXPECT_EQ(ServiceUrl("https://quote.example", "/q?s=1"), "https://quote.example/q?s=1");
}

}  // namespace
}  // namespace sorano
