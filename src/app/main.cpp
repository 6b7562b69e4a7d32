#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/DesktopLook.h"
#include "app/MainWindow.h"
#include "app/ShellServices.h"
#include "app/SingleWindowLock.h"
#include "app/WindowSummons.h"
#include "filesafety/UserFiles.h"
#include "platform/ProgramPlaces.h"
#include "platform/ProgramVersion.h"
#include "platform/ThreadLimit.h"
#include "settings/Settings.h"

int main(int argc, char** argv) {
  // Answered before anything else: no window, no lock, no files made.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("zelk %s\n", zelk::ProgramVersion());
    return 0;
  }
  zelk::EnsureOpenMpThreadLimit(argc, argv);
  // The application object comes first: the lock records the program's
  // name, which other starts compare with the running process.
  QApplication application(argc, argv);
  zelk::InstallQtChinese(application);
  application.setWindowIcon(zelk::ApplicationIcon());

  zelk::QtShellServices shell;
  const zelk::ProgramPlaces places = zelk::ThisProgramsPlaces();
  // An installed program's user gets the shipped settings on the first
  // start.  When that fails the settings file is missing, which Load()
  // reports like a damaged one.
  zelk::PrepareUserSettings(places);
  // A second window on the same settings ends here, before it writes
  // anything else or arms a schedule.
  zelk::SingleWindowLock lock(places.SettingsDir);
  const QString summons = zelk::WindowSummonsName(places.SettingsDir);
  if (!zelk::ClaimProgramDirectory(lock, shell, summons)) return zelk::kAlreadyRunningExitStatus;

  zelk::Settings settings;  // the process-wide settings record
  zelk::MainWindow window(places, settings, shell);
  if (!window.Load()) return 1;
  window.show();
  // A later start on the same settings brings this window to the front.
  const zelk::WindowSummonsListener listener(summons, [&window] { window.BringToFront(); });
  return application.exec();
}
