#include "ui/app/qt_prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "core/net/net_config.h"

namespace sorano {

namespace {

QString U(std::string_view s) {
  QString t = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return t;
}

QMessageBox::StandardButton ToButton(PromptAnswer a) {
  switch (a) {
    case PromptAnswer::Ok:
      return QMessageBox::Ok;
    case PromptAnswer::Yes:
      return QMessageBox::Yes;
    case PromptAnswer::No:
      return QMessageBox::No;
    case PromptAnswer::Cancel:
      return QMessageBox::Cancel;
  }
  return QMessageBox::NoButton;
}

}  // namespace

PromptAnswer QtPrompt::Ask(std::string_view text, std::string_view caption, PromptButtons buttons,
                           PromptIcon icon, PromptAnswer defaultAnswer) {
  const QString t = U(text);
  const QString c = caption.empty() ? QString::fromUtf8(kTitleText) : U(caption);
  QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr) return defaultAnswer;
  if (QThread::currentThread() == app->thread()) return AskHere(t, c, buttons, icon, defaultAnswer);
  if (closing_) return defaultAnswer;
  PromptAnswer answer = defaultAnswer;
  QMetaObject::invokeMethod(
      app, [&] { answer = closing_ ? defaultAnswer : AskHere(t, c, buttons, icon, defaultAnswer); },
      Qt::BlockingQueuedConnection);
  return answer;
}

PromptAnswer QtPrompt::AskHere(const QString& text, const QString& caption, PromptButtons buttons,
                               PromptIcon icon, PromptAnswer defaultAnswer) {
  QMessageBox box(parent_);
  box.setWindowTitle(caption);
  box.setText(text);
  switch (icon) {
    case PromptIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case PromptIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case PromptIcon::Error:
    case PromptIcon::Stop:
      box.setIcon(QMessageBox::Critical);
      break;
    case PromptIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case PromptIcon::None:
      break;
  }
  switch (buttons) {
    case PromptButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case PromptButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case PromptButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case PromptButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  box.setDefaultButton(ToButton(defaultAnswer));
  switch (box.exec()) {
    case QMessageBox::Ok:
      return PromptAnswer::Ok;
    case QMessageBox::Yes:
      return PromptAnswer::Yes;
    case QMessageBox::No:
      return PromptAnswer::No;
    case QMessageBox::Cancel:
      return PromptAnswer::Cancel;
    default:
      break;
  }
  // Closed with the window's close button: what Escape would answer.
  return buttons == PromptButtons::YesNo ? PromptAnswer::No
         : buttons == PromptButtons::Ok  ? PromptAnswer::Ok
                                         : PromptAnswer::Cancel;
}

}  // namespace sorano
