#pragma once
// The window's size and place between starts, kept in the per-user
// preferences.  A place is only taken back when the window would be on a
// screen that is there now: a monitor unplugged since, or a smaller
// resolution, must not leave the window somewhere nobody can see it.

#include <QList>
#include <QRect>

class QWidget;

namespace zelk {

class WindowPreferences;

// True when the top edge of a window at `rect` (where the title bar is
// grabbed) lies on one of `screenAreas` far enough to grab it.
bool ReachableOnScreens(const QRect& rect, const QList<QRect>& screenAreas);

// Puts `window` where the preferences say, before it is shown: the kept
// geometry when it is reachable on the screens now attached, else only
// the size (no larger than the primary screen); maximised again when it
// was.  Nothing kept: nothing changes.
void RestoreWindowPlacement(QWidget& window, const WindowPreferences& preferences);

// Keeps the window's normal geometry and whether it is maximised.
void SaveWindowPlacement(const QWidget& window, WindowPreferences& preferences);

}  // namespace zelk
