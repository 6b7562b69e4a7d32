#include "app/WindowPreferences.h"

#include <QSettings>
#include <utility>

#include "platform/UserConfigDirectory.h"

namespace zelk {

namespace {

constexpr const char* kGeometryKey = "Window/Geometry";
constexpr const char* kMaximizedKey = "Window/Maximized";
constexpr const char* kAutostartKey = "Startup/Autostart";

}  // namespace

QString WindowPreferencesPath() {
  const std::string configHome = UserConfigDirectory();
  if (configHome.empty()) return {};
  return QString::fromStdString(configHome) + QStringLiteral("/zelk/window.ini");
}

WindowPreferences::WindowPreferences(QString path) : path_(std::move(path)) {}

// QSettings writes the file whole through a temporary file and a rename,
// so a crash never leaves half of it.
std::optional<QRect> WindowPreferences::Geometry() const {
  if (path_.isEmpty()) return std::nullopt;
  const QVariant value = QSettings(path_, QSettings::IniFormat).value(kGeometryKey);
  const QRect rect = value.toRect();
  if (!value.isValid() || !rect.isValid()) return std::nullopt;
  return rect;
}

bool WindowPreferences::Maximized() const {
  if (path_.isEmpty()) return false;
  return QSettings(path_, QSettings::IniFormat).value(kMaximizedKey, false).toBool();
}

void WindowPreferences::SetGeometry(const QRect& normalGeometry, bool maximized) {
  if (path_.isEmpty()) return;
  QSettings file(path_, QSettings::IniFormat);
  file.setValue(kGeometryKey, normalGeometry);
  file.setValue(kMaximizedKey, maximized);
}

bool WindowPreferences::AutostartWanted() const {
  if (path_.isEmpty()) return true;
  return QSettings(path_, QSettings::IniFormat).value(kAutostartKey, true).toBool();
}

void WindowPreferences::SetAutostartWanted(bool wanted) {
  if (path_.isEmpty()) return;
  QSettings(path_, QSettings::IniFormat).setValue(kAutostartKey, wanted);
}

}  // namespace zelk
