#pragma once
// The Prompt seam: message boxes and yes/no questions. Core asks, the desktop layer shows a message
// box, tests answer. This header depends on nothing, so every core subsystem may include it.
#include <string_view>

namespace sorano {

enum class PromptIcon { None, Information, Warning, Error, Stop, Question };
enum class PromptButtons { Ok, YesNo, OkCancel, YesNoCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

// The captions of the program's message boxes (UTF-8).
inline constexpr std::string_view kCaptionError = "エラー";
inline constexpr std::string_view kCaptionWarning = "警告";
inline constexpr std::string_view kCaptionConfirm = "最終確認";
inline constexpr std::string_view kCaptionNotice = "お知らせ";

class Prompt {
 public:
  virtual ~Prompt() = default;
  // text and caption are UTF-8. An empty caption means the platform's default error caption.
  virtual PromptAnswer Ask(std::string_view text, std::string_view caption, PromptButtons buttons,
                           PromptIcon icon, PromptAnswer defaultAnswer) = 0;

  void Message(std::string_view text, std::string_view caption, PromptIcon icon = PromptIcon::Error) {
    Ask(text, caption, PromptButtons::Ok, icon, PromptAnswer::Ok);
  }
};

}  // namespace sorano
