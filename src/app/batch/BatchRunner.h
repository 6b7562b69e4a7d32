#pragma once
// zelk-batch: runs the stored action once without a window.
//
//   zelk-batch PATH/ZELK.conf [--settle SECONDS]
//
// The settings are read from the file; the directory holding it is the
// program directory of the run (its Logs get the result lists).  The run
// goes from [Common] ImageSrcDir to ConvertDstDir with the job of
// [Common] ConvertAction.  Status line changes go to `out`, messages and
// failed items to `err`.  With --settle, leaf directories and files changed
// within that many seconds are left for a later run.
//
// Exit status: 0 no item failed, 1 some failed, 2 the run could not start.

#include <iosfwd>
#include <string>
#include <vector>

#include "run/JobRegistry.h"
#include "run/RunControl.h"

namespace zelk {

inline constexpr int kBatchAllDone = 0;
inline constexpr int kBatchSomeFailed = 1;
inline constexpr int kBatchNotStarted = 2;

// `args` without the program name.
int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const JobRegistry& registry, RunControl& control);

}  // namespace zelk
