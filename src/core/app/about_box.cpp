#include "core/app/about_box.h"

#include <gnu/libc-version.h>
#include <link.h>

#include <filesystem>

#include "core/net/http_client.h"
#include "core/net/net_config.h"
#include "core/net/version_check.h"

namespace sorano {
namespace {

struct Search {
  std::string_view prefix;
  std::string path;
};

int FindLoaded(dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<Search*>(data);
  if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;
  const std::filesystem::path path(info->dlpi_name);
  if (!path.filename().string().starts_with(search->prefix)) return 0;
  search->path = path.string();
  return 1;  // stop at the first
}

}  // namespace

std::string AboutLibraryLine(std::string_view label, std::string_view version) {
  return std::string(label) + std::string(version);
}

std::string LoadedLibraryVersion(std::string_view fileNamePrefix) {
  Search search{fileNamePrefix, {}};
  dl_iterate_phdr(FindLoaded, &search);
  if (search.path.empty()) return {};
  std::error_code ec;
  const std::string real = std::filesystem::canonical(search.path, ec).filename().string();
  if (ec) return {};
  const size_t so = real.find(".so.");
  if (so == std::string::npos) return {};
  const std::string version = real.substr(so + 4);
  // "libc.so.6" names only the interface's major number, not a version of the library.
  return version.find('.') == std::string::npos ? std::string() : version;
}

AboutContent MakeAboutContent(const SettingsStore& settings) {
  AboutContent c;
  c.title = kTitleText;
  c.libraries = {AboutLibraryLine("libcurl Version ", HttpLibraryVersion()),
                 AboutLibraryLine("libQt6Core.so Version ", LoadedLibraryVersion("libQt6Core.so")),
                 AboutLibraryLine("libcanberra.so Version ", LoadedLibraryVersion("libcanberra.so")),
                 AboutLibraryLine("GNU C Library Version ", gnu_get_libc_version())};
  c.site = MakerSiteUrl(NetConfigFromSettings(settings));
  c.credits = {"完了音: Sorano 開発チームによる合成音", "制作: Vantor  Sorano 開発チーム"};
  return c;
}

}  // namespace sorano
