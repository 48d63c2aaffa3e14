#include "ui/app/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstring>

namespace sorano {
namespace {

TEST(SingleInstanceTest, TheFirstListensALaterOneAsksItForwardAndAStaleSocketIsTakenOver) {
  const QString name = QStringLiteral("sorano-test-%1").arg(::getpid());
  const std::string path = QDir(QDir::tempPath()).filePath(name).toStdString();
  {
    SingleInstance first(name);
    ASSERT_EQ(first.Claim(), SingleInstance::Result::First);
    int asked = 0;
    QObject::connect(&first, &SingleInstance::ActivateRequested, [&] { ++asked; });
    SingleInstance second(name);
    EXPECT_EQ(second.Claim(), SingleInstance::Result::AnotherRuns);
    QElapsedTimer wait;
    wait.start();
    while (asked == 0 && wait.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(asked, 1);
  }
  EXPECT_NE(::access(path.c_str(), F_OK), 0);  // the first removes its socket when it ends

  // A program that crashed left its socket file behind: nobody answers, the next start listens.
  const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(stale);
  SingleInstance next(name);
  EXPECT_EQ(next.Claim(), SingleInstance::Result::First);
  // A name no socket path can hold fails instead of running unguarded on a truncated name.
  EXPECT_EQ(SingleInstance(QString(200, QLatin1Char('x'))).Claim(), SingleInstance::Result::Failed);
}

}  // namespace
}  // namespace sorano
