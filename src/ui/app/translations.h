#pragma once
// Qt's own texts (the buttons of message boxes, the standard file, colour, font and print dialogs, the
// edit fields' menus) in Japanese, like every message of the program, whatever the user's locale.
class QCoreApplication;

namespace sorano {

// Installs Qt's Japanese translation (qtbase_ja.qm from Debian's qt6-translations-l10n, in Qt's
// translations folder) on the application. False when it cannot be loaded: Qt's texts stay English.
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace sorano
