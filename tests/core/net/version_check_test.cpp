#include <gtest/gtest.h>

#include "core/net/version_check.h"
#include "feed_fixture.h"
#include "support/fake_prompt.h"

namespace sorano {
namespace {

class VersionCheckTest : public test::FeedTest {
 protected:
  void SetUp() override {
    StartFeed();
    config_.makerHost = Host();
    config_.connectRetries = 0;
  }
  // Runs the thread body to its end; returns how often the download page was opened.
  int Run(test::FakePrompt& prompt) {
    std::atomic<int> busy{1};
    int opened = 0, enabled = 0;
    VersionCheckThread(
        config_, busy, prompt, [&opened] { ++opened; }, [&enabled] { ++enabled; });
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(enabled, 1);
    return opened;
  }
  NetConfig config_;
};

TEST_F(VersionCheckTest, ComparesThePublishedVersionWithTheRunningOne) {
  feed_->SetVersionText("2.05\r\n");
  EXPECT_EQ(CheckForNewVersion(config_), 1);
  EXPECT_EQ(feed_->Requests().back(), "/sorano.txt");
  for (const char* text : {"2.04\r\n", "2.040", "2.03", "1.99", "", "new"}) {
    feed_->SetVersionText(text);
    EXPECT_EQ(CheckForNewVersion(config_), 0) << text;
  }
}

TEST_F(VersionCheckTest, AsksOnlyForANewerVersionAndAlwaysEnablesTheCommands) {
  feed_->SetVersionText("2.10\r\n");
  test::FakePrompt yes;
  yes.answers = {PromptAnswer::Yes};
  EXPECT_EQ(Run(yes), 1);
  ASSERT_EQ(yes.calls.size(), 1u);
  EXPECT_EQ(yes.calls[0].text, kMsgNewVersion);
  EXPECT_EQ(yes.calls[0].caption, kCaptionNotice);
  EXPECT_EQ(yes.calls[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(yes.calls[0].icon, PromptIcon::Question);

  test::FakePrompt no;
  no.answers = {PromptAnswer::No};
  EXPECT_EQ(Run(no), 0);

  feed_->SetVersionText("2.04");
  test::FakePrompt same;
  EXPECT_EQ(Run(same), 0);
  EXPECT_TRUE(same.calls.empty());

  // A status error and no network at all end silently.
  feed::FeedFaults missing;
  missing.status = 404;
  feed_->SetFaults(missing);
  EXPECT_EQ(CheckForNewVersion(config_), 0);
  feed_->Stop();
  test::FakePrompt offline;
  EXPECT_EQ(Run(offline), 0);
  EXPECT_TRUE(offline.calls.empty());
}

TEST_F(VersionCheckTest, StartVersionCheckHoldsTheBusyFlag) {
  feed_->SetVersionText("9.99");
  feed::FeedFaults slow;
  slow.latencyMs = 200;
  feed_->SetFaults(slow);
  DownloadState state;
  test::FakePrompt prompt;
  prompt.answers = {PromptAnswer::No};
  std::atomic<int> enabled{0};
  ASSERT_TRUE(StartVersionCheck(state, config_, prompt, {}, [&enabled] { ++enabled; }));
  EXPECT_EQ(state.busy, 1);
  EXPECT_FALSE(StartVersionCheck(state, config_, prompt, {}, {}));
  state.jobThread.join();
  EXPECT_EQ(state.busy, 0);
  EXPECT_EQ(enabled, 1);
  EXPECT_EQ(prompt.calls.size(), 1u);
}

}  // namespace
}  // namespace sorano
