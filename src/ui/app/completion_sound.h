#pragma once
// The completion sound of the download jobs: resources/complete.wav, played asynchronously through
// libcanberra (the desktop's sound server). Without a sound server or the file, nothing is heard and
// nothing else happens.
#include <string>

struct ca_context;

namespace sorano {

class CompletionSound {
 public:
  CompletionSound();
  ~CompletionSound();
  CompletionSound(const CompletionSound&) = delete;
  CompletionSound& operator=(const CompletionSound&) = delete;

  // Starts the sound and returns at once.
  void Play();
  const std::string& path() const { return path_; }

 private:
  ca_context* context_ = nullptr;
  std::string path_;
};

}  // namespace sorano
