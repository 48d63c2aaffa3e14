#pragma once
// The floating memo window ("メモ"): the memo of the brand shown when it opened, read-only (memos are
// written from the memo tab, which saves them to their own brand). It deletes itself when closed.
#include <QDialog>
#include <QPlainTextEdit>

#include "core/settings/settings_store.h"

namespace sorano {

class MemoWindow : public QDialog {
 public:
  MemoWindow(const SettingsStore& settings, const QString& text, QWidget* parent);
  QPlainTextEdit* editor() const { return editor_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  QPlainTextEdit* editor_ = nullptr;
};

}  // namespace sorano
