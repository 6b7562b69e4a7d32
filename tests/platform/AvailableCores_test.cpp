#include "platform/AvailableCores.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace zelk {
namespace {

TEST(AvailableCoresTest, SlurmsCountWinsWhenItIsAPositiveWholeNumber) {
  EXPECT_EQ(AvailableCoresFrom("3", 8u, 16), 3u);
  EXPECT_EQ(AvailableCoresFrom("64", 2u, 2), 64u) << "the scheduler's word, not the mask's";
  // Anything else is not a count Slurm would set: the mask decides.
  for (const char* text : {"", "0", "-2", "+2", " 2", "2 ", "2.5", "two", "3x", "99999999999"}) {
    EXPECT_EQ(AvailableCoresFrom(text, 6u, 16), 6u) << '"' << text << '"';
  }
}

TEST(AvailableCoresTest, WithoutSlurmTheMaskThenTheHardwareThenOne) {
  EXPECT_EQ(AvailableCoresFrom(nullptr, 5u, 16), 5u);
  EXPECT_EQ(AvailableCoresFrom(nullptr, std::nullopt, 16), 16u);
  EXPECT_EQ(AvailableCoresFrom(nullptr, 0u, 16), 16u);
  EXPECT_EQ(AvailableCoresFrom(nullptr, std::nullopt, 0), 1u) << "hardware count unknown";
}

TEST(AvailableCoresTest, ThisProcessSeesItsAffinityMask) {
  const auto cores = AffinityCores();
  ASSERT_TRUE(cores.has_value());
  EXPECT_GE(*cores, 1u);
  EXPECT_LE(*cores, std::max(1u, std::thread::hardware_concurrency()));
}

// In a child pinned to one CPU: the mask counts unless SLURM_CPUS_PER_TASK
// says otherwise.  The child's exit status carries what it found.
int CoresInChildPinnedToOneCpu(const char* slurmCpusPerTask) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu() >= 0 ? sched_getcpu() : 0, &one);
    if (sched_setaffinity(0, sizeof one, &one) != 0) _exit(100);
    if (slurmCpusPerTask == nullptr) {
      unsetenv("SLURM_CPUS_PER_TASK");
    } else {
      setenv("SLURM_CPUS_PER_TASK", slurmCpusPerTask, 1);
    }
    _exit(static_cast<int>(AvailableCores()));
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(AvailableCoresTest, AProcessReadsTheEnvironmentAndItsOwnMask) {
  EXPECT_EQ(CoresInChildPinnedToOneCpu(nullptr), 1);
  EXPECT_EQ(CoresInChildPinnedToOneCpu("7"), 7);
  EXPECT_EQ(CoresInChildPinnedToOneCpu("none"), 1);
}

}  // namespace
}  // namespace zelk
