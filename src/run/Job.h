#pragma once
// One kind of run.  The run frame does everything the jobs share (the
// checks, the busy state, the scan, the result lists, counters, failure
// bookkeeping and the Error tree, cancel and close); a job supplies its
// descriptor (its row in the job catalog, jobs/JobCatalog.h), its scan and
// what it does with one item.
//
// A job object lives for one run: the registry makes a fresh one for every
// run, so members hold per-run state (save parameters, a grouping table, an
// engine).  All calls come from the thread that executes the run.

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/ErrorKind.h"
#include "platform/UserMessage.h"
#include "run/JobDescriptor.h"
#include "run/JobId.h"
#include "run/ScanRequest.h"
#include "scan/WorkList.h"
#include "settings/Settings.h"

namespace zelk {

class RunContext;

// Ends a run before its items: a message for the operator and, when not
// empty, the status line to leave behind.
class JobStartError : public std::runtime_error {
 public:
  JobStartError(UserMessage message, std::string status = {})
      : std::runtime_error(message.Text), message_(std::move(message)), status_(std::move(status)) {}
  const UserMessage& Message() const { return message_; }
  const std::string& Status() const { return status_; }

 private:
  UserMessage message_;
  std::string status_;
};

// Thrown from ProcessItem when a stop request cut the item short (a
// recognition run drops the page in progress): the item is neither a
// success nor a failure, leaves no output, and the run ends as cancelled.
// The frame takes it as a failure when no stop was requested.
class ItemCancelled : public KindedError {
 public:
  ItemCancelled() : KindedError(ErrorKind::Cancelled, "", "the item was cancelled") {}
};

// What became of one item when the job returned normally.  Any exception
// thrown from ProcessItem makes the item a failure.
enum class ItemOutcome {
  Done,     // counted as a success and listed
  Skipped,  // neither counted nor listed (the job has set the row's "状态")
};

class Job {
 public:
  virtual ~Job() = default;

  // The job's row of the catalog: its action, texts and standard scan.
  virtual const JobDescriptor& Descriptor() const = 0;
  JobId Id() const { return Descriptor().Id; }

  // Checks beyond the two directory boxes, before anything changes (a
  // grouping workbook that is missing or cannot be read).  A message stops
  // the run.  The settings are the run's copy, roots already set.
  virtual std::optional<UserMessage> CheckBeforeStart(const Settings& settings) {
    (void)settings;
    return std::nullopt;
  }

  // Before the scan, once the frame has cleared the temporary files of
  // killed runs: finishes or undoes what a killed run left half done where
  // the scan would judge it (a rename in place).  Must not throw; what
  // cannot be settled stays for its item to report.  The settings are the
  // run's copy, roots already set.
  virtual void RecoverInterruptedWork(const Settings& settings) { (void)settings; }

  // The scan to run.  The preview calls it too, on a fresh job object that
  // has seen no CheckBeforeStart, so it must stand on its own.  May throw
  // JobStartError (the preview then scans with the descriptor's standard
  // scan).
  virtual ScanRequest DescribeScan(const Settings& settings) {
    return Descriptor().DefaultScan(settings);
  }

  // After the header lines, before the first item: loading a table,
  // starting an engine.  Throws JobStartError to end the run without
  // summary lines.
  virtual void Prepare(RunContext& context) { (void)context; }

  // One row of the work list.  The frame has selected the row and shown
  // the texts' WorkingWord & path in the status line and WorkingCell in
  // its "状态" cell; it records the outcome afterwards.
  virtual ItemOutcome ProcessItem(RunContext& context, std::size_t index) = 0;

  // After the last item (or a cancel), before the summary lines: closing
  // an engine.  Errors are caught and shown in the status line.
  virtual void CleanUp(RunContext& context) { (void)context; }
};

}  // namespace zelk
