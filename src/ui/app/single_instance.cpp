#include "ui/app/single_instance.h"

#include <QLocalSocket>

namespace sorano {

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* s = server_.nextPendingConnection()) {
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      Q_EMIT ActivateRequested();
      s->disconnectFromServer();
    }
  });
}

QString SingleInstance::SocketName(const QString& title, const QString& login) {
  QString name = title;
  if (!login.isEmpty()) name += QLatin1Char('-') + login;
  name.replace(QLatin1Char('/'), QLatin1Char('_'));
  return name;
}

SingleInstance::Result SingleInstance::Claim() {
  {
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(1000)) {
      probe.write("activate\n");
      probe.waitForBytesWritten(1000);
      probe.disconnectFromServer();
      return Result::AnotherRuns;
    }
  }
  // Nobody answers: a socket file left by a program that crashed is removed before listening.
  QLocalServer::removeServer(name_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  return server_.listen(name_) ? Result::First : Result::Failed;
}

}  // namespace sorano
