#pragma once
// One program per user: the first start listens on a Unix-domain socket in the temporary folder named
// after the title text (and the login name, since that folder is shared by all users); a later start
// connects, asks the first to come forward, and ends. With check_start2 = 1 the check is skipped and
// every start runs. Plain POSIX sockets watched by a QSocketNotifier: Qt's own local sockets would
// load Qt Network and its libraries, some 10 ms of every start.
#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

namespace sorano {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  enum class Result { First, AnotherRuns, Failed };

  explicit SingleInstance(QString name, QObject* parent = nullptr);
  ~SingleInstance() override;
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
  std::string path_;  // the socket file, once this program listens on it
  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace sorano
