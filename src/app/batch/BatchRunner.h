#pragma once
// zelk-batch: runs the stored action once without a window.
//
//   zelk-batch [PATH/ZELK.conf] [--settle SECONDS] [--shard I/N | --shards N | --no-shard]
//   zelk-batch --summary [PATH/ZELK.conf] [--date YYYY-MM-DD]
//
// The settings are read from the file given, and the Logs beside it get the
// result lists; without a file the program's own settings and Logs are
// used (ProgramPlaces.h), as the window uses them.  The run
// goes from [Common] ImageSrcDir to ConvertDstDir with the job of
// [Common] ConvertAction, which must be stored as a plain action number.
// Status line changes go to `out`, messages and failed items to `err`.
// With --settle, leaf directories and files changed within that many
// seconds are left for a later run.  --help (-h) prints BatchHelp()
// (BatchHelp.h) to `out`, --version "zelk-batch <version>".  --summary
// runs nothing: it prints the totals of the day's shard runs from the
// records in Logs (ShardSummary.h) to `out` and exits with 0 when every
// shard is done without a failed item, 1 otherwise, 2 when the settings
// file is not there.
//
// Exit status: the constants below, listed with their meaning in BatchHelp().

#include <iosfwd>
#include <string>
#include <vector>

#include "run/JobRegistry.h"
#include "run/RunControl.h"

namespace zelk {

inline constexpr int kBatchAllDone = 0;
inline constexpr int kBatchSomeFailed = 1;
inline constexpr int kBatchNotStarted = 2;
// A stop request (a signal, or RunControl::RequestCancel) ended the run
// before every item was done; the rest is left for the next run.
inline constexpr int kBatchStopped = 3;

// `args` without the program name.
int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const JobRegistry& registry, RunControl& control);

}  // namespace zelk
