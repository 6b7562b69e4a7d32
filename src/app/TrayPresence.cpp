#include "app/TrayPresence.h"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include "app/RunController.h"
#include "app/ShellServices.h"
#include "settings/Settings.h"

namespace zelk {

namespace {

constexpr int kRefreshMilliseconds = 1000;
constexpr int kNotificationMilliseconds = 10000;

constexpr const char* kKeepRunningQuestion =
    "定时转换已启用。是否让程序在系统托盘中继续运行？\n\n"
    "是：隐藏窗口，定时转换照常进行。\n"
    "否：退出程序，定时转换随之停止。";
constexpr const char* kStillRunningNotice = "程序仍在系统托盘中运行，定时转换照常进行。";

}  // namespace

QString TrayPresence::StateText(State state) {
  switch (state) {
    case State::Converting: return QStringLiteral("正在转换");
    case State::ScheduleArmed: return QStringLiteral("定时已启用");
    case State::Idle: break;
  }
  return QStringLiteral("空闲");
}

QString TrayPresence::ScheduledRunText(std::size_t successes, std::size_t failures) {
  return QStringLiteral("定时转换已完成：成功 %1 个，失败 %2 个。").arg(successes).arg(failures);
}

TrayPresence::TrayPresence(QWidget& window, ShellServices& shell, RunController& runner,
                           const Settings& settings, const QIcon& icon, bool trayAvailable)
    : window_(window), shell_(shell), runner_(runner), settings_(settings) {
  if (!trayAvailable) return;

  icon_ = new QSystemTrayIcon(icon, this);
  icon_->setObjectName(QStringLiteral("trayIcon"));
  auto* menu = new QMenu(&window_);
  menu->setObjectName(QStringLiteral("mnuTray"));
  QAction* show = menu->addAction(QStringLiteral("显示主窗口"));
  show->setObjectName(QStringLiteral("mnuTrayShow"));
  menu->addSeparator();
  QAction* quit = menu->addAction(QStringLiteral("退出"));
  quit->setObjectName(QStringLiteral("mnuTrayQuit"));
  connect(show, &QAction::triggered, this, &TrayPresence::ShowWindow);
  connect(quit, &QAction::triggered, this, &TrayPresence::Quit);
  icon_->setContextMenu(menu);
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) ShowWindow();
  });

  // The state follows the run and the schedule, whoever changed them.
  connect(&runner_, &RunController::ConversionEnded, this, &TrayPresence::OnConversionEnded);
  connect(&runner_.Observer(), &QtRunObserver::BusyChanged, this, &TrayPresence::Refresh,
          Qt::QueuedConnection);
  auto* refresh = new QTimer(this);
  connect(refresh, &QTimer::timeout, this, &TrayPresence::Refresh);
  refresh->start(kRefreshMilliseconds);

  // Message boxes of a run shown while the window sits in the tray would
  // otherwise end the program when they close, as the last window.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  Refresh();
  icon_->show();
}

TrayPresence::~TrayPresence() {
  if (icon_ != nullptr) icon_->hide();
}

TrayPresence::State TrayPresence::CurrentState() const {
  if (runner_.IsConverting()) return State::Converting;
  const int timerType = settings_.Common.TimerType;
  if (timerType == 1 || timerType == 2) return State::ScheduleArmed;
  return State::Idle;
}

QString TrayPresence::ToolTip() const { return icon_ != nullptr ? icon_->toolTip() : QString(); }

void TrayPresence::Refresh() {
  if (icon_ == nullptr) return;
  const QString text = window_.windowTitle() + QLatin1Char('\n') + StateText(CurrentState());
  if (icon_->toolTip() != text) icon_->setToolTip(text);
}

void TrayPresence::OnConversionEnded() {
  Refresh();
  const RunController::ConversionOutcome& outcome = runner_.LastConversion();
  // A schedule that found nothing new has nothing to tell.
  if (!outcome.Scheduled || outcome.Successes + outcome.Failures == 0) return;
  Notify(QStringLiteral("定时转换"), ScheduledRunText(outcome.Successes, outcome.Failures),
         outcome.Failures > 0);
}

void TrayPresence::Notify(const QString& title, const QString& text, bool warning) {
  if (icon_ == nullptr) return;
  icon_->showMessage(title, text,
                     warning ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information,
                     kNotificationMilliseconds);
  emit Notified(title, text);
}

bool TrayPresence::KeepRunningOnClose() {
  if (icon_ == nullptr || quitting_) return false;
  // A run without a schedule ends with the program as it always did.
  const int timerType = settings_.Common.TimerType;
  if (timerType != 1 && timerType != 2) return false;
  if (!shell_.AskYesNo(&window_, QString::fromUtf8(kMessageTitle),
                       QString::fromUtf8(kKeepRunningQuestion))) {
    return false;
  }
  window_.hide();
  if (!toldAboutTray_) {
    toldAboutTray_ = true;
    Notify(window_.windowTitle(), QString::fromUtf8(kStillRunningNotice), false);
  }
  return true;
}

void TrayPresence::WindowClosed() {
  if (icon_ == nullptr) return;
  icon_->hide();
  QCoreApplication::quit();
}

void TrayPresence::ShowWindow() {
  window_.showNormal();
  window_.raise();
  window_.activateWindow();
}

void TrayPresence::Quit() {
  quitting_ = true;
  window_.close();
}

}  // namespace zelk
