#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "app/WindowPreferences.h"

namespace zelk {

namespace {

// How much of the top edge must be on a screen to grab the window there.
constexpr int kGrabWidth = 120;
constexpr int kGrabHeight = 24;

QList<QRect> AvailableScreenAreas() {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
  return areas;
}

}  // namespace

bool ReachableOnScreens(const QRect& rect, const QList<QRect>& screenAreas) {
  if (!rect.isValid()) return false;
  const QRect topEdge(rect.left(), rect.top(), rect.width(), std::min(kGrabHeight, rect.height()));
  const int needed = std::min(kGrabWidth, rect.width());
  for (const QRect& area : screenAreas) {
    const QRect shared = topEdge.intersected(area);
    if (shared.width() >= needed && shared.height() >= topEdge.height()) return true;
  }
  return false;
}

void RestoreWindowPlacement(QWidget& window, const WindowPreferences& preferences) {
  const std::optional<QRect> kept = preferences.Geometry();
  if (kept) {
    if (ReachableOnScreens(*kept, AvailableScreenAreas())) {
      window.setGeometry(*kept);
    } else if (const QScreen* primary = QGuiApplication::primaryScreen()) {
      const QSize room = primary->availableGeometry().size();
      window.resize(kept->size().boundedTo(room).expandedTo(window.minimumSizeHint()));
    }
  }
  if (preferences.Maximized()) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void SaveWindowPlacement(const QWidget& window, WindowPreferences& preferences) {
  const bool maximized = window.isMaximized();
  QRect normal = maximized ? window.normalGeometry() : window.geometry();
  // A window maximised from the start has no normal geometry of its own
  // yet: the one kept before stays.
  if (!normal.isValid()) normal = preferences.Geometry().value_or(window.geometry());
  preferences.SetGeometry(normal, maximized);
}

}  // namespace zelk
