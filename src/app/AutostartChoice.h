#pragma once
// Whether the program starts at login, as the user chose it in the menu
// item "开机自动启动".  The entry itself is renewed at every start (so it
// follows the program when it moves) unless the user turned it off; the
// choice is kept in the per-user preferences, so an entry the user removed
// is not made again at the next start.

#include <string>

class QAction;
class QMenu;

namespace zelk {

class ShellServices;
class WindowPreferences;

// Where the entry points: the executable, and the icon file beside it
// (empty when it is not there).
struct AutostartTarget {
  std::string ExecutablePath;
  std::string IconPath;
};

// At start-up, once the settings file loaded: renews the entry when the
// user wants it.  Failures are ignored, as before.
void ApplyAutostartChoice(const WindowPreferences& preferences, const AutostartTarget& target);

// Adds the checkable "开机自动启动" at the end of `menu`, after a separator,
// ticked as the preferences say.  Ticking writes the entry and keeps the
// choice; unticking removes it.  When the entry cannot be written or
// removed, the user is told and the tick goes back.
QAction* AddAutostartToggle(QMenu& menu, WindowPreferences& preferences, AutostartTarget target,
                            ShellServices& shell);

}  // namespace zelk
