#pragma once
// The jobs a run may make.  RegisterBuiltInJobs (jobs/JobCatalog.h)
// registers every job of the catalog; a job without a factory (a registry a
// test filled) is "not available yet".
// Filled once at start-up, read-only afterwards (safe to read from any
// thread).

#include <functional>
#include <map>
#include <memory>

#include "run/Job.h"
#include "run/JobId.h"

namespace zelk {

class JobRegistry {
 public:
  using Factory = std::function<std::unique_ptr<Job>()>;

  // Replaces an earlier factory of the same job.
  void Register(JobId id, Factory factory);
  // A fresh job object for one run; null when the job is not registered.
  std::unique_ptr<Job> Create(JobId id) const;

 private:
  std::map<JobId, Factory> factories_;
};

}  // namespace zelk
