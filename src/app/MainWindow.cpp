#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>
#include <optional>
#include <utility>

#include "app/DesktopIntegration.h"
#include "app/ElidingLabel.h"
#include "app/FolderPicker.h"
#include "app/RunController.h"
#include "app/ShellServices.h"
#include "app/StartupHousekeeping.h"
#include "app/WorkListModel.h"
#include "jobs/JobCatalog.h"
#include "platform/Clock.h"
#include "platform/UserMessage.h"
#include "run/JobRegistry.h"
#include "settings/SettingsFile.h"

namespace zelk {

namespace {

const Clock& SystemTime() {
  static const SystemClock clock;
  return clock;
}

// Both messages end in blanks, kept as the program has always shown them.
constexpr const char* kSettingsMissingMessage = "配置文件已被破坏，请联系软件开发商！\u3000\u3000";
constexpr const char* kDestinationMissingMessage = "该目录不存在，转换时会自动创建。    ";
constexpr const char* kFolderPickerTitle = "请选择待转换图像目录：";

constexpr int kHours = 24;
constexpr int kMinutes = 60;

std::optional<int> ParseNumberBelow(const QString& text, int limit) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty() || trimmed.size() > 2) return std::nullopt;
  for (QChar c : trimmed) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const int value = trimmed.toInt();
  if (value >= limit) return std::nullopt;
  return value;
}

// A stored daily time "H:M" as the indexes of the hour and minute lists;
// nothing when the text is not an hour and a minute in range.
std::optional<std::pair<int, int>> ParseDailyTime(const std::string& stored) {
  const QStringList parts = QString::fromStdString(stored).split(':');
  if (parts.size() != 2) return std::nullopt;
  const std::optional<int> hour = ParseNumberBelow(parts[0], kHours);
  const std::optional<int> minute = ParseNumberBelow(parts[1], kMinutes);
  if (!hour || !minute) return std::nullopt;
  return std::make_pair(*hour, *minute);
}

}  // namespace

const JobRegistry& BuiltInJobRegistry() {
  static const JobRegistry registry = [] {
    JobRegistry jobs;
    RegisterBuiltInJobs(jobs);
    return jobs;
  }();
  return registry;
}

MainWindow::MainWindow(ProgramPlaces places, Settings& settings, ShellServices& shell,
                       const JobRegistry& jobs, const Clock& clock, QWidget* parent)
    : QMainWindow(parent),
      places_(std::move(places)),
      settings_(settings),
      shell_(shell),
      jobs_(jobs),
      scheduler_(clock),
      runner_(std::make_unique<RunController>(jobs_, run_, settings_)) {
  BuildControls();
  ConnectRunner();
  desktop_ = std::make_unique<DesktopIntegration>(*this, shell_, settings_, *runner_, places_);
  if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

MainWindow::MainWindow(ProgramPlaces places, Settings& settings, ShellServices& shell,
                       QWidget* parent)
    : MainWindow(std::move(places), settings, shell, BuiltInJobRegistry(), SystemTime(), parent) {}

// The worker thread may still be busy (the window is destroyed without a
// close, or right after a preview); it must be gone before the window's
// record, flags and controls are.
MainWindow::~MainWindow() { runner_->Shutdown(); }

bool MainWindow::Load() {
  StartupHousekeeping(places_);
  FillTimeLists();
  if (!LoadSettings(places_.SettingsDir, settings_)) {
    ShowNotice(shell_, nullptr, MessageIcon::Warning, kSettingsMissingMessage);
    return false;
  }
  RestoreControls();
  UpdateScheduleState();
  setWindowTitle(kMainWindowTitle);
  desktop_->Start();
  return true;
}

void MainWindow::FillTimeLists() {
  cboHour_->clear();
  cboMinute_->clear();
  for (int hour = 0; hour < kHours; ++hour) cboHour_->addItem(QString::number(hour));
  for (int minute = 0; minute < kMinutes; ++minute) cboMinute_->addItem(QString::number(minute));
  // The lists start without a selection until a stored time picks one.
  cboHour_->setCurrentIndex(-1);
  cboMinute_->setCurrentIndex(-1);
}

void MainWindow::RestoreControls() {
  txtSrcDir_->setText(QString::fromStdString(settings_.Common.ImageSrcDir));
  txtDstDir_->setText(QString::fromStdString(settings_.Common.ConvertDstDir));

  const int action = settings_.Common.ConvertAction - 1;
  if (action >= 0 && action < static_cast<int>(optAction_.size())) {
    optAction_[static_cast<size_t>(action)]->setChecked(true);
  }

  // A type outside the two modes selects no option, like type 0.
  const int timerOption = settings_.Common.TimerType - 1;
  if (timerOption >= 0 && timerOption < static_cast<int>(optTimer_.size())) {
    optTimer_[static_cast<size_t>(timerOption)]->setChecked(true);
    ApplyTimerOption(timerOption);
  }
  if (settings_.Common.TimerType == 1) {
    if (const auto time = ParseDailyTime(settings_.Timer.Timer1)) {
      cboHour_->setCurrentIndex(time->first);
      cboMinute_->setCurrentIndex(time->second);
    }
  }
  txtInterval_->setText(QString::fromStdString(settings_.Timer.Timer2));
  // The window opens with the focus on the chosen action, the first control
  // from the top, where a keyboard user starts (not in the interval box the
  // schedule option above asked for).
  optAction_[static_cast<size_t>(std::max(SelectedAction(), 0))]->setFocus(Qt::OtherFocusReason);
}

// Shows what a schedule option means for the other controls: the daily
// time lists for option 0, the interval box for option 1.  It only changes
// controls; the schedule itself is confirmed with cmdTimerConvert.
void MainWindow::ApplyTimerOption(int index) {
  const bool daily = index == 0;
  cboHour_->setVisible(daily);
  cboMinute_->setVisible(daily);
  txtInterval_->setEnabled(!daily);
  if (!daily) txtInterval_->setFocus();
}

int MainWindow::SelectedAction() const {
  for (size_t i = 0; i < optAction_.size(); ++i) {
    if (optAction_[i]->isChecked()) return static_cast<int>(i);
  }
  return -1;
}

int MainWindow::SelectedTimerOption() const {
  for (size_t i = 0; i < optTimer_.size(); ++i) {
    if (optTimer_[i]->isChecked()) return static_cast<int>(i);
  }
  return -1;
}

// The output directory may be a new one: the run creates it.
void MainWindow::BrowseInto(QLineEdit* target) {
  const FolderChoice choice =
      target == txtDstDir_ ? FolderChoice::MayNotExistYet : FolderChoice::Existing;
  const QString chosen =
      shell_.BrowseForFolder(this, kFolderPickerTitle, FolderPickerStart(target->text()), choice);
  if (!chosen.isEmpty()) target->setText(chosen);
}

void MainWindow::OpenSourceDirectory() {
  const QString path = txtSrcDir_->text();
  if (!path.isEmpty()) OpenOrSay(shell_, this, QUrl::fromLocalFile(path));
}

void MainWindow::OpenDestinationDirectory() {
  const QString path = txtDstDir_->text();
  if (path.isEmpty()) return;
  if (QFileInfo::exists(path)) {
    OpenOrSay(shell_, this, QUrl::fromLocalFile(path));
  } else {
    ShowNotice(shell_, this, MessageIcon::Information, kDestinationMissingMessage);
  }
}

void MainWindow::OpenHelpDocument() {
  const QString path = QString::fromStdString(places_.HelpDocument());
  if (QFileInfo::exists(path)) OpenOrSay(shell_, this, QUrl::fromLocalFile(path));
}

void MainWindow::OpenWebSite() { OpenOrSay(shell_, this, QUrl(kWebSiteUrl)); }

void MainWindow::OpenDialog(DialogId id) { shell_.OpenDialog(id, this, settings_, places_); }

void MainWindow::ShowRunningState() {
  for (QPushButton* button : {cmdPreview_, cmdConvert_, cmdTimerConvert_, cmdHistory_}) {
    button->setEnabled(false);
  }
  cmdCancel_->show();
}

void MainWindow::EnableCommandButtons() {
  for (QPushButton* button : {cmdPreview_, cmdConvert_, cmdTimerConvert_, cmdHistory_}) {
    button->setEnabled(true);
  }
}

void MainWindow::OnRunFinished() {
  EnableCommandButtons();
  cmdCancel_->hide();
  run_.EndRun();
  if (run_.QuitRequested() || closeAfterRun_) close();
}

void MainWindow::SetStatusText(const QString& text) {
  engineStatus_ = text;
  lblStatus_->SetFullText(text);
}

void MainWindow::SetFoundCount(int count) { lblResult_[0]->setText(QString::number(count)); }

void MainWindow::SetDoneCount(int count) { lblResult_[1]->setText(QString::number(count)); }

void MainWindow::SelectWorkRow(int row) {
  const QModelIndex index = workList_->index(row, WorkListModel::kNumberColumn);
  if (!index.isValid()) return;
  selectingForRun_ = true;
  lvwDocList_->setCurrentIndex(index);
  selectingForRun_ = false;
  lvwDocList_->scrollTo(index);
}

void MainWindow::ClearFileList() { lvwFileList_->clear(); }

void MainWindow::BringToFront() {
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void MainWindow::AddFileListEntry(const QString& fileName) {
  auto* item = new QTreeWidgetItem(lvwFileList_, {fileName});
  item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
}

void MainWindow::OnCancelClicked() {
  run_.RequestCancel();
  ShowStopping();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // With an armed schedule the user may keep the program in the tray.  A
  // close that a run's end carries out was decided before.
  if (!closeAfterRun_ && !run_.QuitRequested() && desktop_->KeepRunningInTray()) {
    event->ignore();
    return;
  }
  // During a run the close becomes a request: the run stops after the item
  // in progress and OnRunFinished() closes the window then.  A conversion
  // whose end has not reached the window yet counts as running.
  if (run_.RequestQuit() || runner_->IsConverting()) {
    closeAfterRun_ = true;
    ShowStopping();
    event->ignore();
    return;
  }
  // The program is ending: no scheduled start any more, and a preview scan
  // has nothing to finish, so it stops at its next check.
  tmrTimer_->stop();
  tmrAuto_->stop();
  runner_->StopPreview();
  desktop_->WindowClosing();
  event->accept();
}

// Esc is released on whichever control has the focus, and a control may
// keep the event to itself, so the window watches the whole application.
// A release that travels up through several widgets is seen more than
// once; cancelling is idempotent, so that does no harm.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (key->key() == Qt::Key_Escape && !key->isAutoRepeat() && widget != nullptr &&
        widget->window() == this) {
      OnCancelClicked();
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace zelk
