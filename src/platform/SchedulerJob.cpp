#include "platform/SchedulerJob.h"

#include <cstdlib>

namespace zelk {

std::string SchedulerJobName() {
  const char* arrayJob = std::getenv("SLURM_ARRAY_JOB_ID");
  const char* task = std::getenv("SLURM_ARRAY_TASK_ID");
  if (arrayJob != nullptr && task != nullptr) return std::string(arrayJob) + "_" + task;
  const char* job = std::getenv("SLURM_JOB_ID");
  return job != nullptr ? job : "";
}

}  // namespace zelk
