#pragma once
// BatchRename: the files of each leaf directory get new names made of a
// running number and the [Rename] settings, keeping their extensions.
// With an output directory the renamed files are copies in the mirrored
// tree; without one the files are renamed where they are.
//
// A directory's listing is read completely before the first name changes.
// Renaming in place goes through temporary names under a journal and never
// overwrites a file; a directory that cannot be renamed completely is put
// back as it was, and one whose run was killed midway is finished or put
// back by the next run, before its scan.  The copies are made in a
// temporary directory that takes the target directory's name once they are
// all there, so a failed or killed item leaves no target directory.

#include "jobs/JobCatalog.h"
#include "run/Job.h"

namespace zelk {

class BatchRenameJob : public Job {
 public:
  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::BatchRename); }
  void RecoverInterruptedWork(const Settings& settings) override;
  ScanRequest DescribeScan(const Settings& settings) override;
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;
};

}  // namespace zelk
