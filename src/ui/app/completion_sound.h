#pragma once
// The completion sound of the download jobs: resources/complete.wav, played asynchronously through
// libcanberra (the desktop's sound server), which is loaded at Load or the first Play rather than at
// start. Without the library, a sound server or the file, nothing is heard and nothing else happens.
#include <string>

struct ca_context;

namespace sorano {

class CompletionSound {
 public:
  CompletionSound();
  ~CompletionSound();
  CompletionSound(const CompletionSound&) = delete;
  CompletionSound& operator=(const CompletionSound&) = delete;

  // Loads libcanberra and opens its context, once; false when either failed.
  bool Load();
  // Starts the sound and returns at once.
  void Play();
  const std::string& path() const { return path_; }

 private:
  bool loaded_ = false;
  ca_context* context_ = nullptr;
  std::string path_;
};

}  // namespace sorano
