#pragma once
// What the harnesses share: a scratch data folder, whole-file helpers, the check that stops the run
// with the input that broke a property, and the Shift_JIS well-formedness test.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/fs/file_io.h"
#include "core/prompt/prompt.h"
#include "core/text/sjis.h"

namespace sorano::fuzz {

// A data-folder prefix of this process (with a trailing '/'): "sorano-fuzz-<pid>" on /dev/shm when there
// is one, so that the syncs of the atomic writes cost nothing. Removed when the process ends normally;
// the folders of runs that crashed or were stopped are removed by the next run.
inline const std::string& Scratch() {
  struct Folder {
    std::string path;
    Folder() {
      const std::filesystem::path root = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
      constexpr std::string_view kPrefix = "sorano-fuzz-";
      std::error_code ec;
      for (std::filesystem::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(kPrefix)) continue;
        const long pid = std::atol(name.c_str() + kPrefix.size());
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
          std::filesystem::remove_all(it->path(), ec);
      }
      path = (root / (std::string(kPrefix) + std::to_string(::getpid()))).string() + "/";
      std::filesystem::remove_all(path, ec);
      if (!std::filesystem::create_directory(path, ec)) std::abort();
    }
    ~Folder() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  };
  static const Folder folder;
  return folder.path;
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  return ReadWholeFile(path).value_or("");
}

// Answers every question with its default, as no one is there to see it.
class SilentPrompt : public Prompt {
 public:
  PromptAnswer Ask(std::string_view, std::string_view, PromptButtons, PromptIcon, PromptAnswer d) override {
    return d;
  }
};

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
  std::abort();  // libFuzzer keeps the input as a crash artifact
}

// Every lead byte has a trail byte (0x40..0x7E, 0x80..0xFC), and no byte is one that code page 932
// leaves undefined as a single byte (0x80, 0xA0, 0xFD..0xFF).
inline bool IsWellFormedSjis(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b == 0x80 || b == 0xA0 || b >= 0xFD) return false;
    if (!IsSjisLeadByte(b)) continue;
    if (++i == s.size()) return false;
    const auto t = static_cast<unsigned char>(s[i]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
  }
  return true;
}

}  // namespace sorano::fuzz

#define FUZZ_CHECK(cond) ((cond) ? void() : ::sorano::fuzz::Fail(#cond, __FILE__, __LINE__))
