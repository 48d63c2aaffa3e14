#pragma once
// Every data path is the run's data folder (the settings' check_path as read at start-up) followed by
// a relative name that begins with "data" ("data/chdata_d/7203.dat"). An empty prefix means the folder
// "data" under the working directory; a non-empty one ends with '/'.
#include <string>
#include <string_view>

namespace sorano {

class DataFolder {
 public:
  DataFolder() = default;
  explicit DataFolder(std::string checkPath) : prefix_(std::move(checkPath)) {}

  // prefix + rel, e.g. Path("data/view.dat").
  std::string Path(std::string_view rel) const { return prefix_ + std::string(rel); }
  const std::string& prefix() const { return prefix_; }

 private:
  std::string prefix_;
};

}  // namespace sorano
