#include "app/AutostartChoice.h"

#include <QAction>
#include <QMenu>
#include <QSignalBlocker>

#include "app/ShellServices.h"
#include "app/WindowPreferences.h"
#include "app/Autostart.h"

namespace zelk {

namespace {

// Writes or removes the entry as the tick says and keeps the choice; on
// failure the user is told and the tick goes back.
void ApplyToggle(QAction& toggle, bool wanted, WindowPreferences& preferences,
                 const AutostartTarget& target, ShellServices& shell, QWidget* parent) {
  const bool done = wanted ? RenewAutostartEntry(target.ExecutablePath, target.IconPath)
                           : RemoveAutostartEntry();
  if (done) {
    preferences.SetAutostartWanted(wanted);
    return;
  }
  ShowNotice(shell, parent, MessageIcon::Warning,
             QStringLiteral("无法更改开机自动启动项：\n%1")
                 .arg(QString::fromStdString(AutostartEntryPath())));
  const QSignalBlocker quiet(&toggle);
  toggle.setChecked(!wanted);
}

}  // namespace

void ApplyAutostartChoice(const WindowPreferences& preferences, const AutostartTarget& target) {
  if (preferences.AutostartWanted()) RenewAutostartEntry(target.ExecutablePath, target.IconPath);
}

QAction* AddAutostartToggle(QMenu& menu, WindowPreferences& preferences, AutostartTarget target,
                            ShellServices& shell) {
  menu.addSeparator()->setObjectName(QStringLiteral("mnuS3"));
  QAction* toggle = menu.addAction(QStringLiteral("开机自动启动"));
  toggle->setObjectName(QStringLiteral("mnuAutostart"));
  toggle->setCheckable(true);
  toggle->setChecked(preferences.AutostartWanted());
  QWidget* parent = menu.parentWidget();
  QObject::connect(toggle, &QAction::toggled, &menu,
                   [toggle, &preferences, target = std::move(target), &shell, parent](bool wanted) {
                     ApplyToggle(*toggle, wanted, preferences, target, shell, parent);
                   });
  return toggle;
}

}  // namespace zelk
