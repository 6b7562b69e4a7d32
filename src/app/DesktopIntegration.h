#pragma once
// The main window's place on the Linux desktop, apart from its own work:
// the program icon, folder drops on the directory boxes, keyboard shortcuts
// for the command buttons, the interval box selecting its text on focus,
// the remembered window placement, the autostart menu item and the tray
// icon.  The window builds it after its controls (which it finds by their
// object names), starts it once the settings file has loaded, and asks it
// on close.

#include <memory>
#include <string>

#include "app/AutostartChoice.h"
#include "platform/ProgramPlaces.h"

class QWidget;

namespace zelk {

class RunController;
class ShellServices;
class TrayPresence;
class WindowPreferences;
struct Settings;

class DesktopIntegration {
 public:
  // All must outlive this object; `window`'s controls exist already.
  DesktopIntegration(QWidget& window, ShellServices& shell, const Settings& settings,
                     RunController& runner, const ProgramPlaces& places);
  ~DesktopIntegration();
  DesktopIntegration(const DesktopIntegration&) = delete;
  DesktopIntegration& operator=(const DesktopIntegration&) = delete;

  // After a successful load: the window placement kept for this user, the
  // autostart entry as the user wants it, and the tray icon where the
  // desktop has a tray.
  void Start();

  // A close of the window: true when it went to the tray instead.
  bool KeepRunningInTray();
  // The window is closing for good: its placement is kept.
  void WindowClosing();

  // Null before Start().
  TrayPresence* Tray() { return tray_.get(); }

 private:
  void AddCommandShortcuts();

  QWidget& window_;
  ShellServices& shell_;
  const Settings& settings_;
  RunController& runner_;
  std::unique_ptr<WindowPreferences> preferences_;
  AutostartTarget autostart_;
  std::unique_ptr<TrayPresence> tray_;
  bool started_ = false;
};

}  // namespace zelk
