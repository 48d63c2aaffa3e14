#pragma once
#include <string>
#include <string_view>

namespace sorano::test {

// A fresh folder under the system's temporary folder, removed with its content on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's path with a trailing '/', ready to serve as a data-folder prefix.
  const std::string& path() const { return path_; }
  std::string operator/(std::string_view rel) const { return path_ + std::string(rel); }

 private:
  std::string path_;
};

// Whole-file helpers for tests: read (empty when missing) and write raw bytes, creating folders.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);

}  // namespace sorano::test
