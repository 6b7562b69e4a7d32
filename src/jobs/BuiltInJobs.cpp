#include "jobs/JobRegistry.h"

#include "jobs/BatchRenameJob.h"
#include "jobs/ConvertFiles22PdfJob.h"
#include "jobs/ConvertFiles2PdfJob.h"
#include "jobs/ConvertFiles2WordJob.h"
#include "jobs/MergeFiles22PdfJob.h"
#include "jobs/MergeFiles2PdfJob.h"
#include "jobs/MergeFiles2WordJob.h"
#include "jobs/MergeFilesJob.h"
#include "jobs/SplitFilesJob.h"

namespace zelk {

// One line per job unit, for example:
//   registry.Register(JobId::MergeFiles, [] { return std::make_unique<MergeFilesJob>(); });
void RegisterBuiltInJobs(JobRegistry& registry) {
  registry.Register(JobId::MergeFiles, [] { return std::make_unique<MergeFilesJob>(); });
  registry.Register(JobId::SplitFiles, [] { return std::make_unique<SplitFilesJob>(); });
  registry.Register(JobId::BatchRename, [] { return std::make_unique<BatchRenameJob>(); });
  registry.Register(JobId::MergeFiles2PDF, [] { return std::make_unique<MergeFiles2PdfJob>(); });
  registry.Register(JobId::ConvertFiles2PDF,
                    [] { return std::make_unique<ConvertFiles2PdfJob>(); });
  registry.Register(JobId::MergeFiles22PDF, [] { return std::make_unique<MergeFiles22PdfJob>(); });
  registry.Register(JobId::ConvertFiles22PDF,
                    [] { return std::make_unique<ConvertFiles22PdfJob>(); });
  registry.Register(JobId::MergeFiles2Word, [] { return std::make_unique<MergeFiles2WordJob>(); });
  registry.Register(JobId::ConvertFiles2Word,
                    [] { return std::make_unique<ConvertFiles2WordJob>(); });
}

}  // namespace zelk
