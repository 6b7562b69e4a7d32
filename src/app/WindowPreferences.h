#pragma once
// The window's per-user preferences: its size and place on the screen and
// whether the user wants the program started at login.  They belong to the
// person at the desk, not to the program directory, so they live in the
// user's configuration directory ($XDG_CONFIG_HOME/zelk/window.ini, or
// ~/.config/zelk/window.ini) and never in ZELK.conf, which a whole office
// may share.

#include <QRect>
#include <QString>
#include <optional>

namespace zelk {

// The file's full path; empty when there is no user configuration
// directory (no HOME).
QString WindowPreferencesPath();

class WindowPreferences {
 public:
  // Reads and writes the file at `path`; with an empty path nothing is
  // kept and every value is its default.
  explicit WindowPreferences(QString path = WindowPreferencesPath());

  // The window's last normal (not maximised) geometry, if one was kept.
  std::optional<QRect> Geometry() const;
  bool Maximized() const;
  void SetGeometry(const QRect& normalGeometry, bool maximized);

  // True unless the user turned autostart off.
  bool AutostartWanted() const;
  void SetAutostartWanted(bool wanted);

  const QString& Path() const { return path_; }

 private:
  QString path_;
};

}  // namespace zelk
