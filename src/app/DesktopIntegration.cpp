#include "app/DesktopIntegration.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QWidget>

#include "app/AutostartChoice.h"
#include "app/DesktopLook.h"
#include "app/DirectoryDrop.h"
#include "app/SelectAllOnFocus.h"
#include "app/ShellServices.h"
#include "app/StartupHousekeeping.h"
#include "app/TrayPresence.h"
#include "app/WindowPlacement.h"
#include "app/WindowPreferences.h"

namespace zelk {

namespace {

// The command buttons keep their captions; their keys are told in the
// tooltips.  Alt+O and Alt+H open the menus.
struct CommandKey {
  const char* button;
  Qt::Key key;
};
constexpr CommandKey kCommandKeys[] = {
    {"cmdPreview", Qt::Key_P}, {"cmdConvert", Qt::Key_C}, {"cmdTimerConvert", Qt::Key_T},
    {"cmdCancel", Qt::Key_S},  {"cmdHistory", Qt::Key_L},
};

}  // namespace

DesktopIntegration::DesktopIntegration(QWidget& window, ShellServices& shell,
                                       const Settings& settings, RunController& runner,
                                       const ProgramPlaces& places)
    : window_(window),
      shell_(shell),
      settings_(settings),
      runner_(runner),
      preferences_(std::make_unique<WindowPreferences>()),
      autostart_{ExecutablePathIn(places.ExecutableDir),
                 ApplicationIconFile(places).toStdString()} {
  const QIcon icon = ApplicationIcon();
  if (!icon.isNull()) window_.setWindowIcon(icon);

  for (const char* name : {"txtSrcDir", "txtDstDir"}) {
    if (auto* box = window_.findChild<QLineEdit*>(name)) AcceptDirectoryDrops(box);
  }
  if (auto* interval = window_.findChild<QLineEdit*>("txtInterval")) SelectAllOnFocus(interval);
  AddCommandShortcuts();

  if (auto* menu = window_.findChild<QMenu*>("mnuSetting")) {
    AddAutostartToggle(*menu, *preferences_, autostart_, shell_);
  }
}

DesktopIntegration::~DesktopIntegration() = default;

void DesktopIntegration::AddCommandShortcuts() {
  for (const CommandKey& entry : kCommandKeys) {
    auto* button = window_.findChild<QPushButton*>(entry.button);
    if (button == nullptr) continue;
    const QKeySequence keys(Qt::ALT | entry.key);
    button->setShortcut(keys);
    button->setToolTip(QStringLiteral("快捷键：%1").arg(keys.toString(QKeySequence::NativeText)));
  }
}

void DesktopIntegration::Start() {
  if (started_) return;
  started_ = true;
  RestoreWindowPlacement(window_, *preferences_);
  ApplyAutostartChoice(*preferences_, autostart_);
  // A tray icon must show something even where the program's own icon
  // cannot be drawn.
  QIcon icon = window_.windowIcon();
  if (icon.isNull()) icon = window_.style()->standardIcon(QStyle::SP_ComputerIcon);
  tray_ = std::make_unique<TrayPresence>(window_, shell_, runner_, settings_, icon,
                                         shell_.HasSystemTray());
}

bool DesktopIntegration::KeepRunningInTray() {
  if (tray_ == nullptr) return false;
  if (window_.isVisible()) SaveWindowPlacement(window_, *preferences_);
  return tray_->KeepRunningOnClose();
}

void DesktopIntegration::WindowClosing() {
  if (started_ && window_.isVisible()) SaveWindowPlacement(window_, *preferences_);
  if (tray_ != nullptr) tray_->WindowClosed();
}

}  // namespace zelk
