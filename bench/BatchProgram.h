#pragma once
// zelk-batch measured as a user runs it: a child process on a program
// directory of its own, which holds a copy of the ZELK.conf shipped beside
// the executable with the run's keys set.  Its console output goes to a
// file in that directory.  The run gets OMP_THREAD_LIMIT=1, the limit it
// would otherwise set itself by starting itself once more.

#include "BenchRun.h"

#include <string>
#include <vector>

namespace zelk::bench {

// [Common] ConvertAction: the job a run does.
constexpr int kMergeAction = 1;
constexpr int kSplitAction = 2;
constexpr int kPdfAction = 3;
constexpr int kDualLayerPdfAction = 4;

struct SettingValue {
  std::string section;
  std::string key;
  std::string value;
};

// The zelk-batch to measure: `given` when not empty, else $ZELK_BATCH,
// else <build>/bin/zelk-batch for this bench in <build>/bench.
std::string FindBatchExecutable(const std::string& given);

class BatchProgram {
 public:
  explicit BatchProgram(std::string executable);

  // Whether the executable and the ZELK.conf beside it are there; prints
  // what is missing when not.
  bool Ready() const;

  // One run in `programDir`, made afresh, with `settings` written into its
  // ZELK.conf.  A run that does not exit with status 0 is not ok; the last
  // lines of its console output are printed then.
  RunFigures Run(const std::string& programDir, const std::vector<SettingValue>& settings) const;

  // The two halves of Run(), for several runs on one program directory:
  // the directory made afresh with its ZELK.conf (returns the file's path,
  // empty when a key could not be set), and one run on that file with
  // more arguments, its console output going to `console`.
  std::string Prepare(const std::string& programDir,
                      const std::vector<SettingValue>& settings) const;
  RunFigures RunOn(const std::string& conf, const std::vector<std::string>& arguments,
                   const std::string& console) const;

  const std::string& Executable() const { return executable_; }

 private:
  std::string executable_;
  std::string shippedSettings_;
};

}  // namespace zelk::bench
