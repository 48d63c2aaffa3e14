#pragma once
#include <string>
#include <vector>

#include "core/prompt/prompt.h"

namespace sorano::test {

// Records every message and answers questions from a script (default: the question's default answer).
class FakePrompt : public Prompt {
 public:
  struct Call {
    std::string text, caption;
    PromptButtons buttons;
    PromptIcon icon;
    PromptAnswer defaultAnswer;
  };
  std::vector<Call> calls;
  std::vector<PromptAnswer> answers;  // consumed front to back

  PromptAnswer Ask(std::string_view text, std::string_view caption, PromptButtons buttons, PromptIcon icon,
                   PromptAnswer defaultAnswer) override {
    calls.push_back({std::string(text), std::string(caption), buttons, icon, defaultAnswer});
    if (answers.empty()) return defaultAnswer;
    PromptAnswer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
};

}  // namespace sorano::test
