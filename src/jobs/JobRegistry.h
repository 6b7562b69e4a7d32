#pragma once
// The jobs this build offers.  Each job registers a factory as its unit
// lands (RegisterBuiltInJobs); a job without one is "not available yet".
// Filled once at start-up, read-only afterwards (safe to read from any
// thread).

#include <functional>
#include <map>
#include <memory>

#include "jobs/Job.h"
#include "jobs/JobId.h"

namespace zelk {

class JobRegistry {
 public:
  using Factory = std::function<std::unique_ptr<Job>()>;

  // Replaces an earlier factory of the same job.
  void Register(JobId id, Factory factory);
  bool IsRegistered(JobId id) const;
  // A fresh job object for one run; null when the job is not registered.
  std::unique_ptr<Job> Create(JobId id) const;

 private:
  std::map<JobId, Factory> factories_;
};

// Registers every job built so far (each job unit adds its line).
void RegisterBuiltInJobs(JobRegistry& registry);

}  // namespace zelk
