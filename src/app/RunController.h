#pragma once
// Runs the engine's work for the window on one worker thread: a conversion
// ("立即转换" and the schedule) or a preview scan, one at a time.
//
// The window stays responsive because it never waits for the work: the
// engine reports through Observer(), whose signals reach the window through
// queued connections, and cancel, Esc and close only set the RunControl
// flags the engine tests at its cancel points.  When the work is over the
// worker posts its end to this object's thread; there the thread is joined,
// the settings changes the work hands back are copied into the window's
// record, and ConversionEnded() or PreviewEnded() is emitted, after every
// signal the work sent before.
//
// A conversion works on the copy of the settings in its RunRequest, taken
// when it starts, so the option dialogs stay usable meanwhile; only the
// keys the run reports as changed ([Common] ImageSrcDir, ConvertDstDir,
// ConvertAction, and what a job kept, such as KeepDir after a grouping
// workbook) are written back into the record at the end.

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/QtRunObserver.h"
#include "run/JobRegistry.h"
#include "run/RunControl.h"
#include "run/RunFrame.h"
#include "settings/Settings.h"
#include "settings/SettingsChangeSet.h"

namespace zelk {

class RunController : public QObject {
  Q_OBJECT

 public:
  // `jobs`, `control` and `record` must outlive this object.
  RunController(const JobRegistry& jobs, RunControl& control, Settings& record,
                QObject* parent = nullptr);
  // Stops what runs and waits for the worker thread (Shutdown()).
  ~RunController() override;

  QtRunObserver& Observer() { return observer_; }

  // What the last conversion came to, valid from its ConversionEnded().
  struct ConversionOutcome {
    bool Scheduled = false;  // started by the schedule
    std::size_t Successes = 0;
    std::size_t Failures = 0;
  };
  const ConversionOutcome& LastConversion() const { return lastConversion_; }

  // From a start until its end has been handled on this object's thread.
  bool IsBusy() const { return task_ != Task::None; }
  bool IsConverting() const { return task_ == Task::Conversion; }

  // "立即转换" for action 1..6 (anything else only resets the counters).
  // Begins the run in the RunControl here, so no second run can start, and
  // runs the dispatch on the worker.  False, with nothing started, while
  // busy or while another run is active.
  bool StartConversion(int action, RunRequest request);

  // "转换预览": the action's scan into the work list.  False while busy.
  bool StartPreview(int action, Settings settings, std::string sourceDir, std::string targetDir);

  // Makes a preview scan stop at its next check (the window is closing).
  void StopPreview() { stopPreview_.store(true); }

  // Asks a run or preview to stop and waits for the worker thread.  What
  // it hands back is dropped and no end signal follows.
  void Shutdown();

 signals:
  void ConversionEnded();
  void PreviewEnded();

 private:
  enum class Task { None, Conversion, Preview };
  void Launch(Task task, std::function<SettingsChangeSet()> work);
  void OnWorkerDone();

  const JobRegistry& jobs_;
  RunControl& control_;
  Settings& record_;
  QtRunObserver observer_;
  Task task_ = Task::None;
  std::thread worker_;
  std::atomic<bool> stopPreview_{false};
  // Written by the worker before it posts its end; read after the join.
  SettingsChangeSet handBack_;
  ConversionOutcome workerOutcome_;
  ConversionOutcome lastConversion_;
};

}  // namespace zelk
