// Sorano: the desktop program. Loads the settings (with the single-instance check and a user's first
// start), the brand table and the shown brand's series, then runs the main window.
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

#include "core/app/command_handler.h"
#include "core/app/crash_recovery.h"
#include "core/app/first_start.h"
#include "core/net/net_config.h"
#include "core/settings/registry_file.h"
#include "core/store/brand_table.h"
#include "ui/app/main_window.h"
#include "ui/app/qt_prompt.h"
#include "ui/app/single_instance.h"
#include "ui/app/startup_timer.h"
#include "ui/app/translations.h"

namespace {

// SIGTERM, SIGINT and SIGHUP (a session ending, Ctrl+C in the terminal of `make run`) close the window
// like its close button, so the settings are saved: the handler only writes a byte that the UI thread
// reads.
int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

void CloseOnSignals(QWidget* window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
    window->close();
  });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<sorano::StartupTimer> timer = sorano::StartupTimer::FromEnvironment();
  auto mark = [&](const char* step) {
    if (timer) timer->Mark(step);
  };
  QApplication app(argc, argv);
  sorano::InstallQtTranslations(app);  // before the first message box
  const QString title = QString::fromUtf8(sorano::kTitleText);
  QApplication::setApplicationName(title);
  // Ties the windows to the installed desktop entry (share/applications/jp.vantor.Sorano.desktop).
  QGuiApplication::setDesktopFileName(QStringLiteral("jp.vantor.Sorano"));
  QApplication::setQuitOnLastWindowClosed(false);  // the window hides itself in the tray
  mark("qt");

  auto ws = std::make_unique<sorano::Workspace>();
  sorano::QtPrompt prompt;
  sorano::RegistryFile registry(sorano::RegistryFile::DefaultPath());
  const std::string login = sorano::CurrentLoginName();
  const std::string key = sorano::SettingsKey(login);

  sorano::SingleInstance instance(sorano::SingleInstance::SocketName(title, QString::fromStdString(login)));
  sorano::SettingsLoadHooks hooks;
  hooks.single_instance = [&](const sorano::SettingsStore& s) {
    if (s.check_start2 > 0) return true;
    switch (instance.Claim()) {
      case sorano::SingleInstance::Result::First:
        return true;
      case sorano::SingleInstance::Result::AnotherRuns:
        return false;  // the first one comes forward
      case sorano::SingleInstance::Result::Failed:
        break;
    }
    QMessageBox::warning(nullptr, title, QStringLiteral("ミューテックスの作成に失敗しました。"));
    return false;
  };
  hooks.first_start = [&](sorano::SettingsStore& s) {
    sorano::SeedDataFolder(s.data_folder(), sorano::ShippedResourcePath("default.dat"), ws->brands, prompt);
  };
  if (!ws->settings.load(registry, key, hooks)) return 0;
  mark("settings");

  sorano::RecoverDataFolder(ws->settings.data_folder());
  sorano::LoadBrandTable(ws->settings.data_folder(), ws->brands);
  mark("brand table");
  sorano::ReloadSeries(*ws);
  mark("series");

  sorano::MainWindow window(*ws, &registry, key);
  prompt.SetParent(&window);
  QObject::connect(&instance, &sorano::SingleInstance::ActivateRequested, &window,
                   &sorano::MainWindow::BringForward);
  CloseOnSignals(&window);
  sorano::ShowBrandTitle(*ws, window);
  mark("window");
  window.ShowAtSavedPlace();

  // Nothing goes out on the network before the first chart frame is on the screen: the version check
  // starts after it (a second after the start when no chart is shown). A measured start ends there.
  bool painted = false;
  auto firstFrame = [&] {
    if (painted) return;
    painted = true;
    if (timer) {
      mark("first paint");
      std::fprintf(stderr, "%s\n", timer->Report().c_str());
      QCoreApplication::exit(0);
      return;
    }
    window.StartVersionCheckIfWanted();
  };
  QObject::connect(&window, &sorano::MainWindow::FirstFrameShown, &window, firstFrame);
  if (timer) {
    QTimer::singleShot(10000, &window, [&] {
      std::fprintf(stderr, "startup: no chart frame was painted within 10 s\n");
      QCoreApplication::exit(1);
    });
  } else {
    QTimer::singleShot(1000, &window, firstFrame);
  }
  return app.exec();
}
