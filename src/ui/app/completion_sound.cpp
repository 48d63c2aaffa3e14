#include "ui/app/completion_sound.h"

#include <canberra.h>

#include "core/app/first_start.h"
#include "core/fs/shared_library.h"
#include "core/net/net_config.h"

namespace sorano {

namespace {

struct CanberraLibrary {
  int (*context_create)(ca_context**);
  int (*context_change_props)(ca_context*, ...);
  int (*context_play)(ca_context*, uint32_t, ...);
  int (*context_destroy)(ca_context*);
};

const CanberraLibrary* Canberra() {
  static const CanberraLibrary* const lib = []() -> const CanberraLibrary* {
    static CanberraLibrary c;
    const SharedLibrary so = SharedLibrary::Open({"libcanberra.so.0", "libcanberra.so"});
    const bool resolved = so.Resolve("ca_context_create", c.context_create) &&
                          so.Resolve("ca_context_change_props", c.context_change_props) &&
                          so.Resolve("ca_context_play", c.context_play) &&
                          so.Resolve("ca_context_destroy", c.context_destroy);
    return resolved ? &c : nullptr;
  }();
  return lib;
}

}  // namespace

CompletionSound::CompletionSound() : path_(ShippedResourcePath("complete.wav")) {}

CompletionSound::~CompletionSound() {
  if (context_ != nullptr) Canberra()->context_destroy(context_);
}

bool CompletionSound::Load() {
  if (loaded_) return context_ != nullptr;
  loaded_ = true;
  const CanberraLibrary* ca = Canberra();
  if (ca == nullptr || ca->context_create(&context_) != CA_SUCCESS) {
    context_ = nullptr;
    return false;
  }
  ca->context_change_props(context_, CA_PROP_APPLICATION_NAME, kTitleText, nullptr);
  return true;
}

void CompletionSound::Play() {
  if (!Load() || path_.empty()) return;
  // Each play gets the same id so a new one may replace one still sounding.
  Canberra()->context_play(context_, 1, CA_PROP_MEDIA_FILENAME, path_.c_str(), CA_PROP_EVENT_DESCRIPTION,
                           "download finished", nullptr);
}

}  // namespace sorano
