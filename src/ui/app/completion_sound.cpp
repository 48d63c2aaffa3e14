#include "ui/app/completion_sound.h"

#include <canberra.h>

#include "core/app/first_start.h"
#include "core/net/net_config.h"

namespace sorano {

CompletionSound::CompletionSound() : path_(ShippedResourcePath("complete.wav")) {
  if (ca_context_create(&context_) != CA_SUCCESS) {
    context_ = nullptr;
    return;
  }
  ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, kTitleText, nullptr);
}

CompletionSound::~CompletionSound() {
  if (context_ != nullptr) ca_context_destroy(context_);
}

void CompletionSound::Play() {
  if (context_ == nullptr || path_.empty()) return;
  // Each play gets the same id so a new one may replace one still sounding.
  ca_context_play(context_, 1, CA_PROP_MEDIA_FILENAME, path_.c_str(), CA_PROP_EVENT_DESCRIPTION,
                  "download finished", nullptr);
}

}  // namespace sorano
