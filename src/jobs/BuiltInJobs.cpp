#include "jobs/JobRegistry.h"

namespace zelk {

// One line per job unit, for example:
//   registry.Register(JobId::MergeFiles, [] { return std::make_unique<MergeFilesJob>(); });
void RegisterBuiltInJobs(JobRegistry& registry) { (void)registry; }

}  // namespace zelk
