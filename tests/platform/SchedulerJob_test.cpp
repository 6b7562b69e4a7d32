#include "platform/SchedulerJob.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zelk {
namespace {

// Sets the Slurm variables for one case and clears them again.
class SlurmEnvironment {
 public:
  SlurmEnvironment(const char* job, const char* arrayJob, const char* task) {
    Set("SLURM_JOB_ID", job);
    Set("SLURM_ARRAY_JOB_ID", arrayJob);
    Set("SLURM_ARRAY_TASK_ID", task);
  }
  ~SlurmEnvironment() {
    for (const char* name : {"SLURM_JOB_ID", "SLURM_ARRAY_JOB_ID", "SLURM_ARRAY_TASK_ID"}) {
      unsetenv(name);
    }
  }

 private:
  static void Set(const char* name, const char* value) {
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
};

TEST(SchedulerJobTest, AnArrayTaskIsNamedByArrayJobAndTaskElseTheJobIdIsTaken) {
  {
    const SlurmEnvironment none(nullptr, nullptr, nullptr);
    EXPECT_EQ(SchedulerJobName(), "");
  }
  {
    const SlurmEnvironment plain("1240", nullptr, nullptr);
    EXPECT_EQ(SchedulerJobName(), "1240");
  }
  {
    // Each task of an array has a job id of its own; the array's id and the
    // task number say which array and shard it is.
    const SlurmEnvironment array("1240", "1234", "6");
    EXPECT_EQ(SchedulerJobName(), "1234_6");
  }
}

}  // namespace
}  // namespace zelk
