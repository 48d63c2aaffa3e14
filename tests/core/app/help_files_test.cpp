// The manual and the ReadMe shipped with the program: both exist, every link and picture of the manual
// names a page, anchor or file that exists, and every file of the manual is reached from its index.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "core/app/first_start.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

namespace fs = std::filesystem;

TEST(HelpFiles, EveryLinkOfTheManualResolvesAndEveryFileIsReached) {
  const fs::path resources = fs::path(SORANO_SOURCE_DIR) / "resources";
  ASSERT_TRUE(fs::is_regular_file(resources / kReadMe));
  EXPECT_GT(fs::file_size(resources / kReadMe), 0u);
  const fs::path index = resources / kHelpIndex;
  ASSERT_TRUE(fs::is_regular_file(index));
  const fs::path help = index.parent_path();

  std::set<std::string> files;  // every file of the manual, relative to its folder
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(help))
    if (e.is_regular_file()) files.insert(fs::relative(e.path(), help).generic_string());

  const std::regex link(R"re((?:href|src)="([^"]*)")re");
  const std::regex anchor(R"re(\bid="([^"]*)")re");
  auto ids = [&](const std::string& page) {
    std::set<std::string> out;
    const std::string text = test::ReadBytes((help / page).string());
    for (std::sregex_iterator it(text.begin(), text.end(), anchor), end; it != end; ++it)
      out.insert((*it)[1]);
    return out;
  };

  std::set<std::string> reached = {"index.html"};
  std::deque<std::string> pages = {"index.html"};
  while (!pages.empty()) {
    const std::string page = pages.front();
    pages.pop_front();
    const std::string text = test::ReadBytes((help / page).string());
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
      const std::string target = (*it)[1];
      if (target.starts_with("http://") || target.starts_with("https://")) continue;
      const size_t hash = target.find('#');
      std::string file = target.substr(0, hash);
      file = file.empty() ? page : (fs::path(page).parent_path() / file).lexically_normal().generic_string();
      if (!files.count(file)) {
        ADD_FAILURE() << page << " links to a missing " << target;
        continue;
      }
      if (hash != std::string::npos) {
        EXPECT_TRUE(ids(file).count(target.substr(hash + 1)))
            << page << " links to a missing anchor " << target;
      }
      if (reached.insert(file).second && file.ends_with(".html")) pages.push_back(file);
    }
  }
  for (const std::string& f : files) EXPECT_TRUE(reached.count(f)) << f << " is not reached from the index";
}

}  // namespace
}  // namespace sorano
