#pragma once
// How many cores this process may keep busy: what a batch scheduler gave
// it, else what the kernel lets it run on, else what the machine has.

#include <optional>

namespace zelk {

// SLURM_CPUS_PER_TASK when it is a positive whole number (Slurm sets it
// for a task started with --cpus-per-task, and without a task plugin that
// pins the task the kernel would still let it run everywhere), else the
// CPUs of the process's affinity mask (taskset, cpusets, container
// limits that pin), else std::thread::hardware_concurrency(); at least 1.
unsigned AvailableCores();

// The CPUs sched_getaffinity reports for this process; nothing when the
// call fails.
std::optional<unsigned> AffinityCores();

// The choice AvailableCores makes, from the variable's text (null when it
// is not set), the affinity count and the hardware count.
unsigned AvailableCoresFrom(const char* slurmCpusPerTask, std::optional<unsigned> affinityCores,
                            unsigned hardwareThreads);

}  // namespace zelk
