#include "jobs/JobCatalog.h"
#include "run/JobRegistry.h"

namespace zelk {

void RegisterBuiltInJobs(JobRegistry& registry) {
  for (const JobDescriptor& job : JobCatalog()) registry.Register(job.Id, job.Create);
}

}  // namespace zelk
