#pragma once
// A per-directory job whose settings section names a grouping workbook
// (MergeFiles, MergeFiles2PDF, MergeFiles22PDF): the start check, the scan
// and the preparation that the workbook decides (GroupingRun), from the
// section of the job's catalog row (its Grouping and KeepDir keys).  A job
// derives from it and supplies what it does with one directory, asking
// Grouping() for the directory's groups.

#include <optional>
#include <string>
#include <vector>

#include "jobs/GroupingRun.h"
#include "jobs/PageSequence.h"
#include "run/Job.h"

namespace zelk {

class GroupedDirectoryJob : public Job {
 public:
  std::optional<UserMessage> CheckBeforeStart(const Settings& settings) override;
  ScanRequest DescribeScan(const Settings& settings) override;
  void Prepare(RunContext& context) override;

 protected:
  // The run's grouping, made from `settings` at the first call.
  GroupingRun& Grouping(const Settings& settings);
  // The section's KeepDir in `settings` (a grouped run has set it to 1).
  bool KeepDir(const Settings& settings) const;

  // The pages of row `index` in the order its groups write them.
  std::vector<PageSource> SourcesInWritingOrder(RunContext& context, std::size_t index);

 private:
  const JobSection& Section() const;

  std::optional<GroupingRun> grouping_;
};

}  // namespace zelk
