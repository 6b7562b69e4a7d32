#pragma once
// The run frame every job runs in: the checks before the start, the busy
// state, the three [Common] keys, the scan, the result lists with their
// header, item and summary lines, the per-item success and failure
// bookkeeping with the Error tree, cancel and close.
//
// A run executes on the thread that calls RunJob.  It reports through the
// observer and tests the RunControl at its cancel points: right after the
// scan and after every successful item; a job may cut the item in progress
// short (ItemCancelled), which then counts neither way.  Cancel and close
// only set the control's flags; the run reaches its end by itself.

#include <chrono>
#include <cstddef>
#include <string>

#include "platform/Clock.h"
#include "run/Job.h"
#include "run/RunControl.h"
#include "run/RunObserver.h"
#include "scan/Shard.h"
#include "scan/WorkList.h"
#include "settings/Settings.h"
#include "settings/SettingsChangeSet.h"

namespace zelk {

// Scheduled runs leave out what changed within this time: a scanner may
// still be writing it, and the next run takes it.
inline constexpr std::chrono::seconds kScheduledSettleTime{60};

struct RunRequest {
  Settings RunSettings;    // the copy of the record taken when the run starts
  std::string SourceDir;   // the source box as typed
  std::string TargetDir;   // the output box as typed
  std::string LogsDir;     // the result lists, made when missing
  std::chrono::seconds SettleTime{0};  // kScheduledSettleTime for scheduled runs
  const Clock* TimeSource = nullptr;   // null: the system clock
  // The share of the items this process converts when several divide the
  // work (zelk-batch --shard); the whole tree by default.  A share writes
  // result lists of its own and a record of its runs (ShardRecord.h).
  Shard WorkShard;
};

enum class RunEnd {
  NotStarted,          // a box was empty, a start check failed or no job
  NothingFound,        // the scan found nothing
  CancelledDuringScan,
  PreparationFailed,   // the job could not prepare (engine start, ...)
  Finished,            // items processed, summary lines written
  Cancelled,           // a stop request ended the items early, summary lines written
};

struct RunResult {
  RunEnd End = RunEnd::NotStarted;
  std::size_t Successes = 0;
  std::size_t Failures = 0;
  // "页数" of the items converted (a count the scan could not read adds 0).
  long long Pages = 0;
  bool ResultListFailed = false;  // a result-list line could not be written
  std::size_t ErrorCopyFailures = 0;
  // Items the settle time left out of the scan; the last status line says
  // how many, and the next run takes them.
  std::size_t HeldBack = 0;
  // Items passed over because another process held their claim; the last
  // status line says how many, so that the operator runs again later.
  std::size_t HeldByOthers = 0;
  // Directories the scan could not list and passed over; each is in the
  // reasons list, and the last status line says how many.
  std::size_t Unreadable = 0;
  // In-memory settings changes for the window's record: the three [Common]
  // keys as stored, and what the job kept (KeepDir after a grouping table).
  SettingsChangeSet SettingsChanges;
  WorkList Rows;
};

// The message for an empty directory box: "请选择目录！" and two U+3000.
UserMessage ChooseDirectoryMessage(UserMessage::Focus focus);

// Runs `job` once.  The caller calls control.BeginRun() before (on the
// thread that decides to start, so no second run can begin); RunJob ends
// the run with control.EndRun() before it returns, whatever the outcome,
// and asks the observer to close the window when a quit was requested.
RunResult RunJob(Job& job, const RunRequest& request, RunObserver& observer, RunControl& control);

// Ends a run that never reached a job (no action chosen, job not
// available) the way RunJob ends one: EndRun() and, when a quit was
// requested meanwhile, the close request.
RunResult EndWithoutRun(RunObserver& observer, RunControl& control);

}  // namespace zelk
