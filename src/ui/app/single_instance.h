#pragma once
// One program per user: the first start listens on a local socket named after the title text (and the
// login name, since the socket lives in a folder all users share); a later start connects, asks the
// first to come forward, and ends. With check_start2 = 1 the check is skipped and every start runs.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace sorano {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  enum class Result { First, AnotherRuns, Failed };

  explicit SingleInstance(QString name, QObject* parent = nullptr);
  // AnotherRuns: the running program was told to come forward. Failed: the socket could not be made.
  Result Claim();
  const QString& name() const { return name_; }

  // The socket name for a title text and a login name.
  static QString SocketName(const QString& title, const QString& login);

 Q_SIGNALS:
  // A later start asked this program to come forward.
  void ActivateRequested();

 private:
  QString name_;
  QLocalServer server_;
};

}  // namespace sorano
