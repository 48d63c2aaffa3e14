#pragma once
// The About box: our picture under the title text, the versions of the libraries the program runs
// on, the maker's site and two credit lines. The desktop layer shows it modally, centred on the
// desktop; a press of any mouse button closes it.
#include <array>
#include <string>
#include <string_view>

#include "core/settings/settings_store.h"

namespace sorano {

struct AboutContent {
  std::string title;                     // the title text
  std::array<std::string, 4> libraries;  // "libcurl Version 7.88.1", ...
  std::string site;                      // the maker's site, "http://<host_maker>/"
  std::array<std::string_view, 2> credits;
};

// The label followed by the version; the label alone when the version cannot be had.
std::string AboutLibraryLine(std::string_view label, std::string_view version);

// The file version of a shared library loaded into this process, the Linux counterpart of a DLL's
// file version: the part after ".so." of the real name of the first loaded file whose name begins
// with fileNamePrefix ("libcanberra.so" -> libcanberra.so.0.2.5 -> "0.2.5"). Empty when no such file
// is loaded or its real name carries no more than a major number.
std::string LoadedLibraryVersion(std::string_view fileNamePrefix);

// The box's texts: libcurl (its own version report), Qt and libcanberra (their loaded files' versions)
// and the C library (its own version report).
AboutContent MakeAboutContent(const SettingsStore& settings);

// What the About command needs from the desktop layer.
class AboutBoxView {
 public:
  virtual ~AboutBoxView() = default;
  // Shows the box modally until a mouse button is pressed on it.
  virtual void ShowAboutBox(const AboutContent& content) = 0;
};

}  // namespace sorano
