// Sorano: the desktop program. Loads the settings (with the single-instance check and a user's first
// start), the brand table and the shown brand's series, then runs the main window.
#include <QApplication>
#include <QMessageBox>
#include <memory>

#include "core/app/command_handler.h"
#include "core/app/first_start.h"
#include "core/net/net_config.h"
#include "core/settings/registry_file.h"
#include "core/store/brand_table.h"
#include "ui/app/main_window.h"
#include "ui/app/qt_prompt.h"
#include "ui/app/single_instance.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString title = QString::fromUtf8(sorano::kTitleText);
  QApplication::setApplicationName(title);
  QApplication::setQuitOnLastWindowClosed(false);  // the window hides itself in the tray

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

  sorano::LoadBrandTable(ws->settings.data_folder(), ws->brands);
  sorano::ReloadSeries(*ws);

  sorano::MainWindow window(*ws, &registry, key);
  prompt.SetParent(&window);
  QObject::connect(&instance, &sorano::SingleInstance::ActivateRequested, &window,
                   &sorano::MainWindow::BringForward);
  window.SetCaption(sorano::BrandCaption(*ws));
  window.ShowAtSavedPlace();
  window.StartVersionCheckIfWanted();
  return app.exec();
}
