#include "ui/app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QSocketNotifier>
#include <cstring>

namespace sorano {

namespace {

// The socket's address; false when the path does not fit into one.
bool AddressOf(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(path_.c_str());
}

QString SingleInstance::SocketName(const QString& title, const QString& login) {
  QString name = title;
  if (!login.isEmpty()) name += QLatin1Char('-') + login;
  name.replace(QLatin1Char('/'), QLatin1Char('_'));
  return name;
}

SingleInstance::Result SingleInstance::Claim() {
  const std::string path = QDir(QDir::tempPath()).filePath(name_).toStdString();
  sockaddr_un address;
  if (!AddressOf(path, address)) return Result::Failed;
  const auto* sa = reinterpret_cast<const sockaddr*>(&address);
  {
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return Result::Failed;
    // A running program that does not take the call within a second is not waited for.
    const timeval second{1, 0};
    ::setsockopt(probe, SOL_SOCKET, SO_SNDTIMEO, &second, sizeof second);
    if (::connect(probe, sa, sizeof address) == 0) {
      const char request[] = "activate\n";
      [[maybe_unused]] const ssize_t n = ::send(probe, request, sizeof request - 1, MSG_NOSIGNAL);
      ::close(probe);
      return Result::AnotherRuns;
    }
    ::close(probe);
  }
  // Nobody answers: a socket file left by a program that crashed is removed before listening.
  ::unlink(path.c_str());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return Result::Failed;
  // Only this user may ask the program to come forward.
  if (::bind(fd, sa, sizeof address) != 0 || ::chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 ||
      ::listen(fd, 8) != 0) {
    ::close(fd);
    return Result::Failed;
  }
  fd_ = fd;
  path_ = path;
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    // Every waiting start is one request; what it sent does not matter.
    while (true) {
      const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) break;
      ::close(client);
      Q_EMIT ActivateRequested();
    }
  });
  return Result::First;
}

}  // namespace sorano
