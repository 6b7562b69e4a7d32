#include <QApplication>
#include <string>

#include "app/DesktopLook.h"
#include "app/MainWindow.h"
#include "app/ShellServices.h"
#include "app/SingleWindowLock.h"
#include "platform/ProgramDirectory.h"
#include "platform/ThreadLimit.h"
#include "settings/Settings.h"

int main(int argc, char** argv) {
  zelk::EnsureOpenMpThreadLimit(argc, argv);
  // The application object comes first: the lock records the program's
  // name, which other starts compare with the running process.
  QApplication application(argc, argv);
  zelk::InstallQtChinese(application);
  application.setWindowIcon(zelk::ApplicationIcon());

  zelk::QtShellServices shell;
  const std::string programDir = zelk::ProgramDirectory();
  // A second window on the same settings ends here, before it writes
  // anything or arms a schedule.
  zelk::SingleWindowLock lock(programDir);
  if (!zelk::ClaimProgramDirectory(lock, shell)) return zelk::kAlreadyRunningExitStatus;

  zelk::Settings settings;  // the process-wide settings record
  zelk::MainWindow window(programDir, settings, shell);
  if (!window.Load()) return 1;
  window.show();
  return application.exec();
}
