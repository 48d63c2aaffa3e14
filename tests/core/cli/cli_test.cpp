// sorano-cli as a user runs it: a subprocess on a temporary data folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/chart/price_series_load.h"
#include "core/net/download_job.h"
#include "core/output/bmp_file.h"
#include "core/output/time_series_export.h"
#include "core/settings/settings_store.h"
#include "core/store/brand_table.h"
#include "core/store/chart_file.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "feed_server.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

struct Result {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class Cli : public ::testing::Test {
 protected:
  test::TempDir dir;
  DataFolder folder{dir.path()};

  Result Run(const std::vector<std::string>& args, const std::string& env = "") {
    std::string cmd = env + Quote(SORANO_CLI_PATH);
    for (const std::string& a : args) cmd += " " + Quote(a);
    cmd += " 2>" + Quote(dir / "stderr.txt");
    Result r;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = test::ReadBytes(dir / "stderr.txt");
    return r;
  }
};

TEST_F(Cli, BrandReadsBackTheShippedListApplied) {
  test::WriteBytes(dir / "data/default.dat", test::ReadBytes(SORANO_SOURCE_DIR "/resources/default.dat"));
  {
    BrandTable table;
    test::FakePrompt prompt;
    ASSERT_GT(ApplyDefaultData(folder, table, prompt), 0);
    table[7203].per = 9.5;
    table[7203].marketCap = 45000000;
    ASSERT_EQ(SaveBrandTable(folder, table), 1);
  }
  ASSERT_EQ(test::ReadBytes(dir / "data/view.dat").size(), 2560000u);

  Result r = Run({"brand", "7203", "--data", dir.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("code: 7203\nname: トヨタ自動車\nmarket: 1 東証1部\nsector: 17 輸送用機器\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\nprice: 1\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nper: 9.5\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nmarketCap: 45000000\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nfiscalPeriod: \n"), std::string::npos);

  // --data without the trailing '/' and before the command.
  std::string bare = dir.path();
  bare.pop_back();
  EXPECT_EQ(Run({"--data", bare, "brand", "7203"}).out, r.out);

  Result unused = Run({"brand", "1299", "--data", dir.path()});
  EXPECT_EQ(unused.status, 1);
  EXPECT_NE(unused.err.find("no brand 1299"), std::string::npos);
}

TEST_F(Cli, ChartPrintsTheBarsAsCsv) {
  std::vector<ChartRecord> r = {
      {2003, 12, 4, 100, 120, 90, 110}, {2003, 12, 5, 110, 130, 100, 120}, {2003, 12, 8, 121, 125, 119, 124}};
  std::vector<VolumeRecord> v(3);
  v[0].volume = 1000;
  v[0].factor = 0.5;
  v[1].volume = 3000;
  v[1].factor = 0.5;
  v[2].volume = 500;
  ASSERT_EQ(WriteChart(folder, r, 7203), 1);
  ASSERT_EQ(WriteVolumes(folder, v, 7203), 1);

  Result daily = Run({"--data", dir.path(), "chart", "7203"});
  EXPECT_EQ(daily.status, 0) << daily.err;
  EXPECT_EQ(daily.out,
            "date,open,high,low,close,volume,factor\n"
            "2003-12-04,100,120,90,110,1000,0.5\n"
            "2003-12-05,110,130,100,120,3000,0.5\n"
            "2003-12-08,121,125,119,124,500,1\n");
  Result weekly = Run({"--data", dir.path(), "chart", "7203", "--period", "w", "--adjust"});
  EXPECT_EQ(weekly.out,
            "date,open,high,low,close,volume,factor\n"
            "2003-12-04,50,65,45,60,2000,0.5\n"
            "2003-12-08,121,125,119,124,500,1\n");
  Result monthly = Run({"--data", dir.path(), "chart", "--period=m", "7203"});
  EXPECT_EQ(monthly.out,
            "date,open,high,low,close,volume,factor\n"
            "2003-12-00,100,130,90,124,4500,1\n");
}

TEST_F(Cli, SearchScreenAccountAndHistoryPrintWhatTheListsShow) {
  {
    BrandTable table;
    const struct {
      int32_t code, price, market, sector, unitValue;
      const char* name;
    } brands[] = {{1301, 300, 1, 1, 30000, "極洋"},
                  {6501, 900, 10, 16, 90000, "日立,製作所"},
                  {6758, 520, 1, 16, 52000, "ソニー電子"},
                  {9501, 700, 2, 20, 100000, "東京電力"}};
    for (const auto& b : brands) {
      BrandRecord& r = table[static_cast<size_t>(b.code)];
      r.price = b.price;
      r.market = b.market;
      r.sector = b.sector;
      r.unitValue = b.unitValue;
      SetField(r.name, Utf8ToSjis(b.name));
    }
    ASSERT_EQ(SaveBrandTable(folder, table), 1);
  }
  test::WriteBytes(dir / "data/myproperty.dat", "6758,2003,4,1,1000,500\r\n1301,2004,5,6,100,350\r\n");
  test::WriteBytes(dir / "data/myhistory.dat", "6758,2003,10,10,1000,500,2003,11,4,400,600,1050,20\r\n");
  const std::string d = dir.path();
  struct Case {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"search", "電"}, "6758,ソニー電子\n9501,東京電力\n"},
      {{"search", "d"}, ""},
      {{"screen"}, "1301,極洋\n6501,\"日立,製作所\"\n6758,ソニー電子\n9501,東京電力\n"},
      {{"screen", "--market", "1", "--sector=16"}, "6758,ソニー電子\n"},
      {{"screen", "--market", "1", "--market", "10", "--unit-value", "2"},
       "6501,\"日立,製作所\"\n6758,ソニー電子\n"},
      {{"screen", "--unit-value", "3"}, "9501,東京電力\n"},
      {{"account"},
       "6758,ソニー電子,2003/04/01,1000,500,520,20000,4.00%\n1301,極洋,2004/05/"
       "06,100,350,300,-5000,-14.29%\n"},
      {{"history"}, "6758,ソニー電子,2003/10/10,2003/11/04,200000円,240000円,40000円,20.00%,1050円,8000円\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--data", d};
    args.insert(args.end(), c.args.begin(), c.args.end());
    Result r = Run(args);
    EXPECT_EQ(r.status, 0) << c.args[0] << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[0];
  }
}

TEST_F(Cli, BadInputGivesAClearMessageAndNonZeroStatus) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"--data", dir.path(), "chart", "12345"}, 2, "bad brand code '12345'"},
      {{"--data", dir.path(), "chart", "72a3"}, 2, "bad brand code '72a3'"},
      {{"--data", dir.path(), "chart", "-1"}, 2, "unexpected argument '-1'"},
      {{"--data", dir.path(), "chart", "7203", "--period", "y"}, 2, "bad period 'y'"},
      {{"--data", dir.path(), "chart", "7203", "--period"}, 2, "--period needs"},
      {{"--data", dir.path(), "chart"}, 2, "no brand code"},
      {{"--data", dir.path(), "chart", "7203", "--bogus"}, 2, "unexpected argument '--bogus'"},
      {{"--data", dir.path(), "chart", "4321"}, 1, "no chart data for 4321"},
      {{"--data", dir.path(), "brand", "7203"}, 1, "view.dat cannot be read"},
      {{"--data", dir.path(), "brand"}, 2, "exactly one brand code"},
      {{"--data", dir.path(), "brand", "10000"}, 2, "bad brand code"},
      {{"--data", dir / "missing", "brand", "7203"}, 1, "is not a folder"},
      {{"brand", "7203", "--data"}, 2, "--data needs a folder"},
      {{"--data", dir.path(), "search"}, 2, "exactly one text"},
      {{"--data", dir.path(), "search", "電"}, 1, "view.dat cannot be read"},
      {{"--data", dir.path(), "screen", "--market", "13"},
       2,
       "'13' is not an entry of the list:\n  0 なし\n  1 東証1部"},
      {{"--data", dir.path(), "screen", "--roe", "-1"}, 2, "--roe: '-1' is not an entry"},
      {{"--data", dir.path(), "screen", "--pbr"}, 2, "--pbr needs an entry index"},
      {{"--data", dir.path(), "screen", "--sector", "1", "--sector", "2", "--sector", "3", "--sector", "4"},
       2,
       "--sector given more than 3 times"},
      {{"--data", dir.path(), "screen", "--size", "1"}, 2, "unknown option '--size'"},
      {{"--data", dir.path(), "account", "x"}, 2, "takes no arguments"},
      {{"--data", dir.path(), "history"}, 1, "view.dat cannot be read"},
      {{"--data", dir.path(), "seed", "extra"}, 2, "unexpected argument 'extra'"},
      {{"--data", dir.path(), "import", "7203"}, 2, "expected a brand code and a CSV file"},
      {{"--data", dir.path(), "import", "7x", "a.csv"}, 2, "bad brand code '7x'"},
      {{"--data", dir.path(), "import", "7203", "a.csv", "--all"}, 2, "unexpected argument '--all'"},
      {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
      {{"--verbose", "brand"}, 2, "unknown option '--verbose'"},
      {{}, 2, "usage: sorano-cli"},
  };
  for (const Case& c : cases) {
    Result r = Run(c.args);
    std::string line;
    for (const auto& a : c.args) line += a + " ";
    EXPECT_EQ(r.status, c.status) << line;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << line << "\n" << r.err;
    EXPECT_EQ(r.out, "") << line;
  }

  Result help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("chart CODE [--period d|w|m] [--adjust]"), std::string::npos);
  EXPECT_NE(help.out.find("brand CODE"), std::string::npos);
  Result chartHelp = Run({"chart", "--help"});
  EXPECT_EQ(chartHelp.status, 0);
  EXPECT_NE(chartHelp.out.find("usage: sorano-cli [--data DIR] chart CODE"), std::string::npos);
}

TEST_F(Cli, ImportMergesACsvFileAndNamesTheLineItRefuses) {
  const std::string header = "Date,Open,High,Low,Close,Volume\n";
  test::WriteBytes(dir / "a.csv",
                   header + "2024-01-05,106,112,104,110,2000\n2024-01-04,100,110,95,105,1000\n");
  Result ok = Run({"--data", dir.path(), "import", "7203", dir / "a.csv"});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out, "imported 2 days of 7203 (2024-01-04 to 2024-01-05); the chart files hold 2 days\n");
  EXPECT_EQ(Run({"--data", dir.path(), "chart", "7203"}).out,
            "date,open,high,low,close,volume,factor\n"
            "2024-01-04,100,110,95,105,1000,1\n"
            "2024-01-05,106,112,104,110,2000,1\n");

  test::WriteBytes(dir / "b.csv", header + "2024-01-05,1,1,1,1,1\n2024-01-09,5,4,6,5,1\n");
  Result bad = Run({"--data", dir.path(), "import", "--replace", "7203", dir / "b.csv"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "sorano-cli import: " + (dir / "b.csv") +
                         ", line 3: the high is below the low: '4'\nnothing was written\n");
  EXPECT_NE(Run({"--data", dir.path(), "chart", "7203"}).out.find("2024-01-05,106,"), std::string::npos);

  test::WriteBytes(dir / "c.csv", header + "2024-01-05,107,113,105,111,2100\n2024-01-06,-,-,-,-,0\n");
  EXPECT_EQ(Run({"--data", dir.path(), "import", "7203", dir / "c.csv"}).out,
            "imported 1 day of 7203 (2024-01-05 to 2024-01-05), skipped 1 row without prices, replaced 1 "
            "stored day; the chart files hold 2 days\n");
}

TEST_F(Cli, WithoutDataTheSettingsCheckPathIsUsed) {
  test::TempDir data;
  BrandTable table;
  table[1301].price = 777;
  SetField(table[1301].name, Utf8ToSjis("極洋"));
  ASSERT_EQ(SaveBrandTable(DataFolder(data.path()), table), 1);

  const std::string reg = dir / "Sorano.reg";
  const std::string original = "REGEDIT4\r\n\r\n[" + SettingsKey(CurrentLoginName()) +
                               "]\r\n\"check_path\"=\"" + data.path() + "\"\r\n";
  test::WriteBytes(reg, original);
  const char* old = std::getenv("SORANO_REGISTRY");
  const std::string saved = old ? old : "";
  ::setenv("SORANO_REGISTRY", reg.c_str(), 1);
  Result r = Run({"brand", "1301"});
  if (old) {
    ::setenv("SORANO_REGISTRY", saved.c_str(), 1);
  } else {
    ::unsetenv("SORANO_REGISTRY");
  }
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("name: 極洋\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("price: 777\n"), std::string::npos);
  EXPECT_EQ(test::ReadBytes(reg), original);  // read, never written (no first-start record)
}

TEST_F(Cli, UpdateDownloadsFromTheFeedAndRenderPaintsIt) {
  feed::FeedOptions options;
  options.brandsFile = SORANO_SOURCE_DIR "/resources/default.dat";
  options.today = 20031210;
  feed::FeedServer feed(options);
  const int port = feed.Start(0);
  ASSERT_GT(port, 0);
  const std::string host = "127.0.0.1:" + std::to_string(port);

  Result update = Run({"--data", dir.path(), "update", "--code", "7203", "--init", "--host", host});
  ASSERT_EQ(update.status, 0) << update.err;
  std::vector<ChartRecord> records(kMaxChartRecords);
  std::vector<VolumeRecord> volumes(kMaxChartRecords);
  const int n = ReadChart(folder, records, volumes, 7203, kChartDaily, 0);
  ASSERT_GT(n, 1000);  // weekdays from 1983 to the feed's today
  EXPECT_EQ(records[n - 1].year, 2003);
  EXPECT_EQ(records[n - 1].month, 12);
  EXPECT_LE(records[n - 1].day, 10);
  Result csv = Run({"--data", dir.path(), "chart", "7203", "--period", "m"});
  EXPECT_EQ(csv.status, 0);
  EXPECT_NE(csv.out.find("\n2003-12-00,"), std::string::npos);

  // A full disk (files may not grow beyond 2 KB): the message, a non-zero status, no file touched.
  const std::string before = test::ReadBytes(PriceFilePath(folder, 7203));
  Result full = Run({"--data", dir.path(), "update", "--code", "7203", "--init", "--host", host},
                    "trap '' XFSZ; ulimit -f 4; ");
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.err.find(kMsgNotStored), std::string::npos) << full.err;
  EXPECT_EQ(test::ReadBytes(PriceFilePath(folder, 7203)), before);

  // Nothing can be fetched from a port nobody listens on: a non-zero status, no file touched.
  feed.Stop();
  Result refused = Run({"--data", dir.path(), "update", "--code", "7203", "--host", host});
  EXPECT_NE(refused.status, 0);
  EXPECT_EQ(test::ReadBytes(PriceFilePath(folder, 7203)), before);

  if (Run({"--help"}).out.find("render CODE") == std::string::npos) GTEST_SKIP() << "built without Qt";
  const std::string png = dir / "7203.png";
  Result render = Run({"--data", dir.path(), "render", "7203", "--out", png, "--width", "640", "--height",
                       "480", "--set", "check_shi_itimoku=1"},
                      "QT_QPA_PLATFORM=offscreen ");
  ASSERT_EQ(render.status, 0) << render.err;
  EXPECT_EQ(test::ReadBytes(png).substr(0, 8), "\x89PNG\r\n\x1a\n");
}

TEST_F(Cli, ExportAndBitmapWriteTheDesktopsBytes) {
  std::vector<ChartRecord> days;
  for (int d = 1; d <= 20; ++d) days.push_back({2003, 9 + d / 11, 1 + d % 11, 100, 120 + d, 90, 110 + d});
  ASSERT_EQ(WriteChart(folder, days, 7203), 1);
  ASSERT_EQ(WriteVolumes(folder, std::vector<VolumeRecord>(days.size()), 7203), 1);
  PriceSeries series;
  ASSERT_EQ(LoadPriceSeries(series, folder, 7203, kPeriodWeekly, 0), 4);
  ExportOptions options;  // the settings' initial options with --set below
  options.header = false;
  options.columns[static_cast<size_t>(ExportColumn::kWeekday)] = false;
  options.rangeOn = true;
  options.fromYear = 2003, options.fromMonth = 10, options.toYear = 2003, options.toMonth = 10;
  const std::vector<std::string> sets = {"--set", "check_to_data05=0",  "--set", "check_to_data07=0",
                                         "--set", "check_to_data04=1",  "--set", "check_to_data00=2003",
                                         "--set", "check_to_data01=10", "--set", "check_to_data02=2003",
                                         "--set", "check_to_data03=10"};
  for (const auto& [name, format] :
       {std::pair{"csv", ExportFormat::kCsv}, std::pair{"html", ExportFormat::kHtml},
        std::pair{"txt", ExportFormat::kText}}) {
    std::vector<std::string> args = {"--data", dir.path(), "export", "7203",  "--format",
                                     name,     "--period", "w",      "--out", dir / "out"};
    args.insert(args.end(), sets.begin(), sets.end());
    const Result r = Run(args, "SORANO_REGISTRY=" + Quote(dir / "none.reg") + " ");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadBytes(dir / "out"), *ExportFile(series, options, format)) << name;
  }
  EXPECT_EQ(Run({"--data", dir.path(), "export", "7203", "--format", "pdf", "--out", dir / "x"}).status, 2);
  EXPECT_EQ(Run({"--data", dir.path(), "export", "1234", "--format", "csv", "--out", dir / "x"}).status, 1);
  EXPECT_EQ(test::ReadBytes(dir / "x"), "");

  if (Run({"--help"}).out.find("render CODE") == std::string::npos) GTEST_SKIP() << "built without Qt";
  const Result bmp = Run({"--data", dir.path(), "render", "7203", "--out", dir / "7203.bmp", "--width", "101",
                          "--height", "60", "--tech-height", "0"},
                         "QT_QPA_PLATFORM=offscreen ");
  ASSERT_EQ(bmp.status, 0) << bmp.err;
  const std::string bytes = test::ReadBytes(dir / "7203.bmp");
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(bytes.size(), 304u * 60 + 54);
}

}  // namespace
}  // namespace sorano
