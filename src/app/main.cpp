#include <QApplication>

#include "app/MainWindow.h"
#include "app/ShellServices.h"
#include "platform/ProgramDirectory.h"
#include "platform/ThreadLimit.h"
#include "settings/Settings.h"

int main(int argc, char** argv) {
  zelk::EnsureOpenMpThreadLimit(argc, argv);
  QApplication application(argc, argv);

  zelk::Settings settings;  // the process-wide settings record
  zelk::QtShellServices shell;
  zelk::MainWindow window(zelk::ProgramDirectory(), settings, shell);
  if (!window.Load()) return 1;
  window.show();
  return application.exec();
}
