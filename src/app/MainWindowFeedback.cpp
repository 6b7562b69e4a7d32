// What the main window shows of a run and of the schedule beyond the
// program's own controls: why a failed row failed, how far a conversion
// is, that a stop was asked for, and when an armed schedule starts next,
// with the button that switches it off.

#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QTreeView>
#include <filesystem>
#include <system_error>

#include "app/ElidingLabel.h"
#include "app/MainWindow.h"
#include "app/RunController.h"
#include "app/RunProgressPanel.h"
#include "app/ShellServices.h"
#include "app/WorkListModel.h"
#include "app/schedule/NextStart.h"
#include "app/schedule/ScheduleConfirm.h"
#include "jobs/DirectoryPages.h"
#include "settings/Settings.h"

namespace zelk {

namespace {

constexpr const char* kFailureReasonLead = "失败原因：";

}  // namespace

void MainWindow::AddRunFeedback(QBoxLayout* layout, QWidget* parent) {
  lblFailureReason_ = new ElidingLabel(parent);
  lblFailureReason_->setObjectName("lblFailureReason");
  lblFailureReason_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblFailureReason_->hide();
  progress_ = new RunProgressPanel(parent);
  layout->addWidget(lblFailureReason_);
  layout->addWidget(progress_);
}

void MainWindow::AddScheduleState(QBoxLayout* layout, QWidget* parent) {
  lblNextStart_ = new QLabel(parent);
  lblNextStart_->setObjectName("lblNextStart");
  lblNextStart_->hide();
  cmdStopTimer_ = new QPushButton("停止定时", parent);
  cmdStopTimer_->setObjectName("cmdStopTimer");
  cmdStopTimer_->setAutoDefault(false);
  cmdStopTimer_->hide();
  layout->addWidget(lblNextStart_);
  layout->addWidget(cmdStopTimer_);
  connect(cmdStopTimer_, &QPushButton::clicked, this, &MainWindow::SwitchScheduleOff);
}

void MainWindow::ConnectFeedback() {
  constexpr auto kQueued = Qt::QueuedConnection;
  QtRunObserver* observer = &runner_->Observer();
  connect(observer, &QtRunObserver::ItemFailed, this, &MainWindow::ShowFailureReason, kQueued);
  connect(observer, &QtRunObserver::ProgressChanged, progress_, &RunProgressPanel::Show, kQueued);
  connect(
      observer, &QtRunObserver::BusyChanged, this,
      [this](bool busy) {
        if (busy) progress_->Begin();
      },
      kQueued);
  connect(lvwDocList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &MainWindow::ShowDetailsOfCurrentRow);
  connect(lvwDocList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &MainWindow::ShowPagesOfCurrentRow);
  connect(workList_, &WorkListModel::modelReset, this, &MainWindow::ShowDetailsOfCurrentRow);
}

void MainWindow::ShowFailureReason(int row, const QString& reason) {
  workList_->SetFailureReason(row, reason);
  ShowDetailsOfCurrentRow();
}

void MainWindow::ShowDetailsOfCurrentRow() {
  const QModelIndex current = lvwDocList_->currentIndex();
  const QString reason = current.isValid() ? workList_->FailureReason(current.row()) : QString();
  lblFailureReason_->SetFullText(reason.isEmpty() ? QString() : kFailureReasonLead + reason);
  lblFailureReason_->setVisible(!reason.isEmpty());
}

void MainWindow::ShowPagesOfCurrentRow() {
  if (selectingForRun_) return;
  const QModelIndex current = lvwDocList_->currentIndex();
  if (!current.isValid()) return;
  const std::string path = workList_->Path(current.row()).toStdString();
  ClearFileList();
  std::error_code error;
  if (!std::filesystem::is_directory(path, error)) return;
  try {
    for (const PageFile& page : ListPageFiles(path, txtSrcDir_->text().trimmed().toStdString())) {
      AddFileListEntry(QString::fromStdString(page.Name));
    }
  } catch (const std::exception&) {
    // A directory that cannot be listed (now) shows no pages; its row's
    // reason says why when its item failed.
  }
}

// Only while a conversion is active: Esc while idle changes nothing.  The
// engine's later texts replace the status line; the progress line keeps
// saying it until the end.
void MainWindow::ShowStopping() {
  if (!run_.IsActive()) return;
  lblStatus_->SetFullText(kStoppingText);
  progress_->ShowStopping();
}

// A stop asked for in the last moment of a run must not outlive it.
void MainWindow::EndFeedback() {
  progress_->End();
  if (lblStatus_->FullText() == kStoppingText) lblStatus_->SetFullText(engineStatus_);
}

void MainWindow::UpdateScheduleState() {
  const NextStart next = scheduler_.Next(settings_);
  const bool armed = next.When != NextStart::Kind::None;
  lblNextStart_->setText(QString::fromStdString(NextStartText(next)));
  lblNextStart_->setVisible(armed);
  cmdStopTimer_->setVisible(armed);
}

void MainWindow::SwitchScheduleOff() {
  const ScheduleConfirmation stopped = StopSchedule(settings_, scheduler_);
  UpdateScheduleState();
  ShowNotice(shell_, this, MessageIcon::Information, QString::fromStdString(stopped.Message));
}

}  // namespace zelk
