#include "core/fs/resource_path.h"

#include <cstdlib>
#include <filesystem>

#include "core/fs/file_io.h"

// The data folder of an installation seen from its program folder; the build passes the path between
// the install tree's bin and share folders.
#ifndef SORANO_SHARE_FROM_BIN
#define SORANO_SHARE_FROM_BIN "../share/sorano"
#endif

namespace sorano {

std::string ShippedResourcePath(std::string_view name) {
  if (const char* dir = std::getenv("SORANO_RESOURCES"); dir && *dir) {
    std::string p = std::string(dir) + "/" + std::string(name);
    return FileExists(p, 0) ? p : std::string();
  }
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  for (const char* rel : {"resources", "../resources", SORANO_SHARE_FROM_BIN}) {
    std::string p = (exe.parent_path() / rel / name).lexically_normal().string();
    if (FileExists(p, 0)) return p;
  }
  return {};
}

}  // namespace sorano
