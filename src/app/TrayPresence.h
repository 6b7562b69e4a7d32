#pragma once
// The program's icon in the system tray, where the desktop has one: its
// tooltip tells whether the program is idle, converting or waiting for a
// scheduled start; a scheduled run that processed items says how it went
// in a notification; and a window with an armed schedule may go to the
// tray on close instead of ending the program, so the schedule keeps
// going.  Without a tray nothing of this exists and the window closes as
// it always did.

#include <QObject>
#include <QString>
#include <cstddef>

class QIcon;
class QSystemTrayIcon;
class QWidget;

namespace zelk {

class RunController;
class ShellServices;
struct Settings;

class TrayPresence : public QObject {
  Q_OBJECT

 public:
  enum class State { Idle, Converting, ScheduleArmed };

  // "空闲", "正在转换", "定时已启用".
  static QString StateText(State state);
  // The notification after a scheduled run: successes and failures.
  static QString ScheduledRunText(std::size_t successes, std::size_t failures);

  // `trayAvailable`: the desktop shows tray icons
  // (QSystemTrayIcon::isSystemTrayAvailable()).  `window`, `shell`,
  // `runner` and `settings` must outlive this object, which has no parent.
  TrayPresence(QWidget& window, ShellServices& shell, RunController& runner,
               const Settings& settings, const QIcon& icon, bool trayAvailable);
  ~TrayPresence() override;

  bool InUse() const { return icon_ != nullptr; }
  State CurrentState() const;
  // The icon's tooltip: the window title and the state; empty without a tray.
  QString ToolTip() const;

  // A close of the window.  With a tray and an armed schedule the user is
  // asked whether to keep running in the tray; yes hides the window and
  // returns true (the close is to be refused).  Otherwise, and after the
  // tray menu's 退出, false: close as usual.
  bool KeepRunningOnClose();
  // The window has closed for good: the icon goes and the program ends.
  void WindowClosed();

 signals:
  // A notification was shown at the tray icon.
  void Notified(const QString& title, const QString& text);

 private:
  void Refresh();
  void OnConversionEnded();
  void Notify(const QString& title, const QString& text, bool warning);
  void ShowWindow();
  void Quit();

  QWidget& window_;
  ShellServices& shell_;
  RunController& runner_;
  const Settings& settings_;
  QSystemTrayIcon* icon_ = nullptr;
  bool quitting_ = false;
  bool toldAboutTray_ = false;
};

}  // namespace zelk
