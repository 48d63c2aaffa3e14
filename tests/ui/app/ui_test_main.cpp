// The UI tests run on one QApplication (QT_QPA_PLATFORM=offscreen).
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/app/translations.h"

int main(int argc, char** argv) {
  // Also when the test list is read at build time, outside ctest's environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  sorano::InstallQtTranslations(app);  // as the program does
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
