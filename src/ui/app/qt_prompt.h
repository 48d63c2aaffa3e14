#pragma once
// The Prompt as message boxes. A question asked from a worker thread (the new-version check) is
// handed to the UI thread, which shows it; the worker waits for the answer.
#include <QPointer>
#include <QWidget>
#include <atomic>

#include "core/prompt/prompt.h"

namespace sorano {

class QtPrompt : public Prompt {
 public:
  explicit QtPrompt(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  // From now on a worker's question is answered with its default at once: the window is going and
  // the UI thread may be waiting for that worker.
  void Close() { closing_ = true; }

  PromptAnswer Ask(std::string_view text, std::string_view caption, PromptButtons buttons, PromptIcon icon,
                   PromptAnswer defaultAnswer) override;

 private:
  PromptAnswer AskHere(const QString& text, const QString& caption, PromptButtons buttons, PromptIcon icon,
                       PromptAnswer defaultAnswer);
  QPointer<QWidget> parent_;
  std::atomic<bool> closing_{false};
};

}  // namespace sorano
