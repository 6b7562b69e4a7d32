#pragma once
// The main window (object name "frmMain"): action choice, source and output
// directories, schedule, work list, status line and command buttons.
//
// Child widgets carry the control names of the program as object names
// (optAction0..5, imgSetting0..5, txtSrcDir, cmdConvert, lvwDocList,
// lblResult0, ...), so tests and other modules find them with findChild.
//
// Construction only builds the controls; Load() performs the start-up.
// Runs and previews execute on the worker thread of a RunController: the
// engine's reports arrive through queued signals at the public slots below,
// and cancel, Esc and close only set the RunControl flags.  The two
// one-second timers drive the schedule.
//
// Beyond the program's own controls the window shows why a failed row
// failed (the tooltip of its "状态" cell and the line "lblFailureReason"
// under the list while it is selected), how far a conversion is (the panel
// "framProgress"), that a stop was asked for, and when an armed schedule
// starts next ("lblNextStart", with "cmdStopTimer" to switch it off).

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <string>

#include "app/OptionDialogs.h"
#include "app/schedule/Scheduler.h"
#include "jobs/JobActions.h"
#include "platform/ProgramPlaces.h"
#include "run/RunControl.h"

class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class QTreeView;
class QTreeWidget;

namespace zelk {

class ElidingLabel;
class RunProgressPanel;
struct Settings;
class Clock;
class DesktopIntegration;
class JobRegistry;
class RunController;
class ShellServices;
class WorkListModel;

// The jobs this build offers, registered once.
const JobRegistry& BuiltInJobRegistry();

inline constexpr const char* kMainWindowTitle = "Quillon双层PDF批量转换系统 8.1";
inline constexpr const char* kWebSiteUrl = "https://quillon.example.com/zelk/";

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `places` tell where ZELK.conf, Logs and help.doc lie; `settings` is the
  // process-wide record Load() fills; `shell` shows messages and pickers and
  // opens documents and dialogs; `jobs` are the jobs runs are dispatched to;
  // `clock` is what the schedule reads.  All must outlive the window.
  MainWindow(ProgramPlaces places, Settings& settings, ShellServices& shell,
             const JobRegistry& jobs, const Clock& clock, QWidget* parent = nullptr);
  // The built-in jobs and the system clock.
  MainWindow(ProgramPlaces places, Settings& settings, ShellServices& shell,
             QWidget* parent = nullptr);
  // Waits for a run or preview still on the worker thread.
  ~MainWindow() override;

  // Start-up, in this order: housekeeping (Logo.tif, Logs), the hour and
  // minute lists, the settings file, the controls restored from the
  // settings, the title, then the desktop's part
  // (window placement, autostart entry, tray icon).  Returns false when the
  // settings file is missing; the message has then been shown and the
  // caller ends the program without showing the window.
  bool Load();

  RunControl& Run() { return run_; }
  RunController& Runner() { return *runner_; }
  WorkListModel& WorkList() { return *workList_; }
  const ProgramPlaces& Places() const { return places_; }
  DesktopIntegration& Desktop() { return *desktop_; }

  // Shows the window (also when it was hidden in the tray or minimised),
  // raises it and gives it the focus: a second start asked for it.
  void BringToFront();

  // Index of the checked action option (0..5), or -1.
  int SelectedAction() const;
  // Index of the checked schedule option (0..1), or -1.
  int SelectedTimerOption() const;

 public slots:
  // Busy state of a run: the four command buttons disabled, cmdCancel shown.
  void ShowRunningState();
  // cmdPreview, cmdConvert, cmdTimerConvert and cmdHistory enabled, in this
  // order; cmdCancel is left as it is.
  void EnableCommandButtons();
  // The window's part of a run's end: command buttons enabled, cmdCancel
  // hidden, the run marked as ended in Run(); then, when a close was refused
  // during the run, the window closes, which ends the program.
  void OnRunFinished();

  void SetStatusText(const QString& text);
  void SetFoundCount(int count);  // lblResult0
  void SetDoneCount(int count);   // lblResult1
  // Selects a row of the work list and scrolls it into view.
  void SelectWorkRow(int row);
  // The scratch list of the files of the item in progress.
  void ClearFileList();
  void AddFileListEntry(const QString& fileName);

  // The work list: a row added by a scan, shown and scrolled into view.
  void AppendWorkRow(const QString& path, int pageCount);
  // A message box the engine asked for, then the focus where it says
  // (`icon` and `focus` as UserMessage::Icon and UserMessage::Focus).
  void ShowRunMessage(int icon, const QString& text, int focus);

  // Command buttons.  cmdCancel and Esc ask a running job to stop; the
  // other three are handed over through the signals below, which the
  // window itself connects to StartConversion(), StartPreview() and
  // ConfirmSchedule().
  void OnCancelClicked();

  // "立即转换" (scheduled: a start by the schedule, which leaves out what
  // changed within the last minute).  The run takes a copy of the settings
  // and the two directory boxes as they are now.
  void StartConversion(bool scheduled = false);
  // "转换预览": the scan of the selected action into the work list.
  void StartPreview();
  // "定时转换": stores the chosen schedule mode and says so.
  void ConfirmSchedule();

  // One tick of tmrTimer (daily start) and of tmrAuto (interval start).
  void OnDailyTimerTick();
  void OnIntervalTimerTick();

  // Why row `row` failed: the tooltip of its "状态" cell, and the line
  // under the list while the row is selected.
  void ShowFailureReason(int row, const QString& reason);
  // "停止定时": the armed schedule off ([Common] TimerType 0).
  void SwitchScheduleOff();

 signals:
  void ConvertRequested();       // cmdConvert
  void PreviewRequested();       // cmdPreview
  void TimerConvertRequested();  // cmdTimerConvert

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Sees every key release of the application, to act on Esc anywhere in
  // this window whichever control has the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // MainWindowControls.cpp
  void BuildControls();
  void BuildMenus();
  QWidget* BuildActionFrame();
  QWidget* BuildDirectoryFrame();
  QWidget* BuildTimerFrame();
  QWidget* BuildListsAndStatus();
  QWidget* BuildCommandButtons();
  void SetKeyboardOrder();

  // MainWindow.cpp
  void FillTimeLists();
  void RestoreControls();
  void ApplyTimerOption(int index);
  void BrowseInto(QLineEdit* target);
  void OpenSourceDirectory();
  void OpenDestinationDirectory();
  void OpenHelpDocument();
  void OpenWebSite();
  void OpenDialog(DialogId id);

  // MainWindowFeedback.cpp
  void AddRunFeedback(QBoxLayout* layout, QWidget* parent);
  void AddScheduleState(QBoxLayout* layout, QWidget* parent);
  void ConnectFeedback();
  void ShowDetailsOfCurrentRow();
  // The row the user selected: its page files in "文件名" (a directory's;
  // none for a file).  Rows the run selects get theirs from the run.
  void ShowPagesOfCurrentRow();
  // Esc, cancel or close during a conversion: says at once that it stops.
  void ShowStopping();
  void EndFeedback();
  void UpdateScheduleState();

  // MainWindowRun.cpp
  void ConnectRunner();
  bool RunInProgress() const;
  void OnConversionEnded();
  void OnPreviewEnded();
  void StartDeferredScheduledRun();

  ProgramPlaces places_;
  Settings& settings_;
  ShellServices& shell_;
  const JobRegistry& jobs_;
  RunControl run_;
  Scheduler scheduler_;
  // Declared after everything its worker thread uses, so it is gone first.
  std::unique_ptr<RunController> runner_;
  // Uses the runner and the controls, so it goes before both.
  std::unique_ptr<DesktopIntegration> desktop_;
  // A close came while a conversion was still ending: close when it has.
  bool closeAfterRun_ = false;
  bool selectingForRun_ = false;  // SelectWorkRow is moving the selection
  WorkListModel* workList_ = nullptr;

  std::array<QRadioButton*, kActionCount> optAction_{};
  std::array<QToolButton*, kActionCount> imgSetting_{};
  QLineEdit* txtSrcDir_ = nullptr;
  QLineEdit* txtDstDir_ = nullptr;
  QPushButton* cmdSrcDir_ = nullptr;
  QPushButton* cmdDstDir_ = nullptr;
  QToolButton* cmdOpenSrc_ = nullptr;
  QToolButton* cmdOpenDst_ = nullptr;
  std::array<QRadioButton*, 2> optTimer_{};
  QComboBox* cboHour_ = nullptr;
  QComboBox* cboMinute_ = nullptr;
  QLineEdit* txtInterval_ = nullptr;
  QTimer* tmrTimer_ = nullptr;
  QTimer* tmrAuto_ = nullptr;
  QTreeView* lvwDocList_ = nullptr;
  QTreeWidget* lvwFileList_ = nullptr;
  ElidingLabel* lblStatus_ = nullptr;
  QString engineStatus_;  // the last status the engine showed
  ElidingLabel* lblFailureReason_ = nullptr;
  RunProgressPanel* progress_ = nullptr;
  QLabel* lblNextStart_ = nullptr;
  QPushButton* cmdStopTimer_ = nullptr;
  std::array<QLabel*, 2> lblResult_{};
  QPushButton* cmdPreview_ = nullptr;
  QPushButton* cmdConvert_ = nullptr;
  QPushButton* cmdTimerConvert_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  QPushButton* cmdHistory_ = nullptr;
};

}  // namespace zelk
