#include "jobs/JobRegistry.h"

#include "jobs/ConvertFiles2PdfJob.h"
#include "jobs/MergeFiles2PdfJob.h"

namespace zelk {

// One line per job unit, for example:
//   registry.Register(JobId::MergeFiles, [] { return std::make_unique<MergeFilesJob>(); });
void RegisterBuiltInJobs(JobRegistry& registry) {
  registry.Register(JobId::MergeFiles2PDF, [] { return std::make_unique<MergeFiles2PdfJob>(); });
  registry.Register(JobId::ConvertFiles2PDF,
                    [] { return std::make_unique<ConvertFiles2PdfJob>(); });
}

}  // namespace zelk
