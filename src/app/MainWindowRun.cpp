// The main window's part of runs, previews and the schedule: starting them
// on the RunController, showing what the engine reports, and acting on
// their ends.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>
#include <optional>

#include "app/MainWindow.h"
#include "app/RunController.h"
#include "app/schedule/ScheduleConfirm.h"
#include "app/ShellServices.h"
#include "app/WorkListModel.h"
#include "platform/UserMessage.h"
#include "settings/Settings.h"

namespace zelk {

namespace {

std::optional<int> SelectedNumber(const QComboBox* list) {
  if (list->currentIndex() < 0) return std::nullopt;
  return list->currentText().toInt();
}

}  // namespace

void MainWindow::ConnectRunner() {
  // Queued even where sender and receiver share a thread, so that every
  // report arrives before the end of the work that made it.
  constexpr auto kQueued = Qt::QueuedConnection;
  QtRunObserver* observer = &runner_->Observer();
  connect(observer, &QtRunObserver::StatusChanged, this, &MainWindow::SetStatusText, kQueued);
  connect(observer, &QtRunObserver::WorkListCleared, workList_, &WorkListModel::Clear, kQueued);
  connect(observer, &QtRunObserver::RowAdded, this, &MainWindow::AppendWorkRow, kQueued);
  connect(observer, &QtRunObserver::TotalCount, this, &MainWindow::SetFoundCount, kQueued);
  connect(observer, &QtRunObserver::RowStatusChanged, workList_, &WorkListModel::SetStatus,
          kQueued);
  connect(observer, &QtRunObserver::RowSelected, this, &MainWindow::SelectWorkRow, kQueued);
  connect(observer, &QtRunObserver::DoneCount, this, &MainWindow::SetDoneCount, kQueued);
  connect(observer, &QtRunObserver::FileListCleared, this, &MainWindow::ClearFileList, kQueued);
  connect(observer, &QtRunObserver::FileListEntry, this, &MainWindow::AddFileListEntry, kQueued);
  connect(observer, &QtRunObserver::MessageRequested, this, &MainWindow::ShowRunMessage, kQueued);
  // The idle state comes back with the end of the run (OnConversionEnded),
  // when a new start is accepted again.
  connect(
      observer, &QtRunObserver::BusyChanged, this,
      [this](bool busy) {
        if (busy) ShowRunningState();
      },
      kQueued);

  connect(runner_.get(), &RunController::ConversionEnded, this, &MainWindow::OnConversionEnded);
  connect(runner_.get(), &RunController::PreviewEnded, this, &MainWindow::OnPreviewEnded);

  connect(this, &MainWindow::ConvertRequested, this, [this] { StartConversion(); });
  connect(this, &MainWindow::PreviewRequested, this, &MainWindow::StartPreview);
  connect(this, &MainWindow::TimerConvertRequested, this, &MainWindow::ConfirmSchedule);
  connect(tmrTimer_, &QTimer::timeout, this, &MainWindow::OnDailyTimerTick);
  connect(tmrAuto_, &QTimer::timeout, this, &MainWindow::OnIntervalTimerTick);
  ConnectFeedback();
}

bool MainWindow::RunInProgress() const { return runner_->IsBusy() || run_.IsActive(); }

void MainWindow::StartConversion(bool scheduled) {
  RunRequest request;
  request.RunSettings = settings_;
  request.SourceDir = txtSrcDir_->text().toStdString();
  request.TargetDir = txtDstDir_->text().toStdString();
  request.LogsDir = places_.LogsDir;
  if (scheduled) request.SettleTime = kScheduledSettleTime;
  runner_->StartConversion(SelectedAction() + 1, std::move(request));
}

void MainWindow::StartPreview() {
  if (!runner_->StartPreview(SelectedAction() + 1, settings_, txtSrcDir_->text().toStdString(),
                             txtDstDir_->text().toStdString())) {
    return;
  }
  // Neither a second preview nor a run may start on top of this one.
  cmdPreview_->setEnabled(false);
  cmdConvert_->setEnabled(false);
}

void MainWindow::OnConversionEnded() {
  EndFeedback();
  OnRunFinished();
  if (run_.QuitRequested() || closeAfterRun_) return;  // the program is ending
  StartDeferredScheduledRun();
}

void MainWindow::OnPreviewEnded() {
  cmdPreview_->setEnabled(true);
  cmdConvert_->setEnabled(true);
  StartDeferredScheduledRun();
}

// A scheduled start that fell while the worker was busy starts now, once.
void MainWindow::StartDeferredScheduledRun() {
  if (scheduler_.OnRunEnded()) StartConversion(true);
  UpdateScheduleState();
}

void MainWindow::AppendWorkRow(const QString& path, int pageCount) {
  const int row = workList_->AppendRow(path, pageCount);
  lvwDocList_->scrollTo(workList_->index(row, WorkListModel::kNumberColumn));
}

void MainWindow::ShowRunMessage(int icon, const QString& text, int focus) {
  ShowNotice(shell_, this, static_cast<MessageIcon>(icon), text);
  if (focus == static_cast<int>(UserMessage::Focus::SourceDirButton)) cmdSrcDir_->setFocus();
  if (focus == static_cast<int>(UserMessage::Focus::TargetDirButton)) cmdDstDir_->setFocus();
}

void MainWindow::ConfirmSchedule() {
  ScheduleChoice choice;
  const int option = SelectedTimerOption();
  if (option == 0) choice.Chosen = ScheduleChoice::Mode::Daily;
  if (option == 1) choice.Chosen = ScheduleChoice::Mode::Interval;
  choice.Hour = SelectedNumber(cboHour_);
  choice.Minute = SelectedNumber(cboMinute_);
  choice.IntervalText = txtInterval_->text().toStdString();
  const ScheduleConfirmation confirmation = zelk::ConfirmSchedule(settings_, choice, scheduler_);
  UpdateScheduleState();
  ShowNotice(shell_, this, MessageIcon::Information,
             QString::fromStdString(confirmation.Message));
}

// Each tick also moves the next start on (an interval run started, a day
// passed).
void MainWindow::OnDailyTimerTick() {
  if (scheduler_.OnDailyTick(settings_, RunInProgress())) StartConversion(true);
  UpdateScheduleState();
}

void MainWindow::OnIntervalTimerTick() {
  if (scheduler_.OnIntervalTick(settings_, RunInProgress())) StartConversion(true);
  UpdateScheduleState();
}

}  // namespace zelk
