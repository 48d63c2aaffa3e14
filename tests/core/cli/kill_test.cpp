// sorano-cli update killed with SIGKILL at random moments (seeded, so every run kills at the same
// moments): after the next start every chart pair and view.dat hold the old content or the new
// content, never a mix of both, a short file or a temporary left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/app/crash_recovery.h"
#include "core/store/brand_table.h"
#include "core/store/chart_file.h"
#include "feed_server.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"

extern char** environ;

namespace sorano {
namespace {

using Clock = std::chrono::steady_clock;
using test::ReadBytes;

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(SORANO_CLI_PATH)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, SORANO_CLI_PATH, &quiet, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&quiet);
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// yyyymmdd of the day `days` before today.
int32_t DaysAgo(int days) {
  const auto day =
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()) - std::chrono::days(days);
  const std::chrono::year_month_day ymd(day);
  return static_cast<int32_t>(ymd.year()) * 10000 +
         static_cast<int32_t>(static_cast<unsigned>(ymd.month())) * 100 +
         static_cast<int32_t>(static_cast<unsigned>(ymd.day()));
}

// The bytes of everything the update writes.
struct Snapshot {
  std::string view;
  std::vector<std::pair<std::string, std::string>> charts;  // price and volume bytes per brand
};

TEST(KilledUpdate, EveryFileIsOldOrNewAfterTheNextStart) {
  for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) ::unsetenv(name);
  // Twelve brands spread over the shipped list.
  std::vector<int32_t> codes;
  std::string listed;
  {
    std::ifstream shipped(SORANO_SOURCE_DIR "/resources/default.dat", std::ios::binary);
    std::string line;
    for (int n = 0; std::getline(shipped, line) && codes.size() < 12; ++n) {
      if (n % 300 != 0) continue;
      codes.push_back(std::stoi(line));
      listed += line + "\n";
    }
  }
  test::TempDir oldDir, newDir, work;
  test::WriteBytes(oldDir / "data/default.dat", listed);
  test::FakePrompt prompt;
  {
    auto table = std::make_unique<BrandTable>();
    ASSERT_EQ(ApplyDefaultData(DataFolder(oldDir.path()), *table, prompt), 12);
  }
  auto serve = [](int32_t today) {
    feed::FeedOptions options;
    options.brandsFile = SORANO_SOURCE_DIR "/resources/default.dat";
    options.today = today;
    auto feed = std::make_unique<feed::FeedServer>(options);
    EXPECT_GT(feed->Start(0), 0);
    return feed;
  };
  auto update = [](const test::TempDir& dir, const feed::FeedServer& feed) {
    return std::vector<std::string>{"--data", dir.path(), "update", "--host",
                                    "127.0.0.1:" + std::to_string(feed.port())};
  };
  // The old content: a year up to 30 days ago. The new content: the same update with the service 20
  // days on, which rewrites every chart pair and view.dat.
  ASSERT_EQ(Wait(Spawn(update(oldDir, *serve(DaysAgo(30))))), 0);
  auto feed = serve(DaysAgo(10));
  std::filesystem::copy(oldDir / "data", newDir / "data", std::filesystem::copy_options::recursive);
  const auto start = Clock::now();
  ASSERT_EQ(Wait(Spawn(update(newDir, *feed))), 0);
  const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);

  auto snapshot = [&codes](const test::TempDir& dir) {
    Snapshot s{ReadBytes(dir / "data/view.dat"), {}};
    for (int32_t code : codes)
      s.charts.emplace_back(ReadBytes(PriceFilePath(DataFolder(dir.path()), code)),
                            ReadBytes(VolumeFilePath(DataFolder(dir.path()), code)));
    return s;
  };
  const Snapshot before = snapshot(oldDir), after = snapshot(newDir);
  ASSERT_EQ(after.view.size(), 2560000u);
  for (size_t i = 0; i < codes.size(); ++i) ASSERT_NE(before.charts[i], after.charts[i]) << codes[i];

  // Every expected file, and nothing else, under data/.
  std::vector<std::string> expected{work / "data/default.dat", work / "data/view.dat"};
  for (int32_t code : codes) {
    expected.push_back(PriceFilePath(DataFolder(work.path()), code));
    expected.push_back(VolumeFilePath(DataFolder(work.path()), code));
  }
  std::sort(expected.begin(), expected.end());

  std::mt19937 random(16);
  std::uniform_int_distribution<int64_t> moment(0, runTime.count() * 11 / 10);
  int mixedRuns = 0;  // kills that left some brands new and others old
  constexpr int kKills = 32;
  for (int k = 0; k < kKills; ++k) {
    std::filesystem::remove_all(work / "data");
    std::filesystem::copy(oldDir / "data", work / "data", std::filesystem::copy_options::recursive);
    const int64_t at = moment(random);
    const pid_t pid = Spawn(update(work, *feed));
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(at));
    ::kill(pid, SIGKILL);
    Wait(pid);
    RecoverDataFolder(DataFolder(work.path()));  // what the next start does first

    const Snapshot now = snapshot(work);
    EXPECT_TRUE(now.view == before.view || now.view == after.view) << "kill " << k << " at " << at << " us";
    int fresh = 0;
    for (size_t i = 0; i < codes.size(); ++i) {
      const bool isOld = now.charts[i] == before.charts[i], isNew = now.charts[i] == after.charts[i];
      EXPECT_TRUE(isOld || isNew) << "brand " << codes[i] << ", kill " << k << " at " << at << " us";
      fresh += isNew ? 1 : 0;
    }
    mixedRuns += fresh > 0 && fresh < static_cast<int>(codes.size()) ? 1 : 0;
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(work / "data"))
      if (!e.is_directory()) files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, expected) << "kill " << k << " at " << at << " us";
  }
  // The moments spread over the whole run: some kills landed while the charts were being rewritten.
  EXPECT_GE(mixedRuns, 3);

  // The program's own next start finishes what the last kill left, and the run goes on to the end.
  const pid_t pid = Spawn(update(work, *feed));
  std::this_thread::sleep_for(runTime * 3 / 4);
  ::kill(pid, SIGKILL);
  Wait(pid);
  ASSERT_EQ(Wait(Spawn(update(work, *feed))), 0);
  const Snapshot last = snapshot(work);
  EXPECT_TRUE(last.view == after.view);
  EXPECT_TRUE(last.charts == after.charts);
}

}  // namespace
}  // namespace sorano
