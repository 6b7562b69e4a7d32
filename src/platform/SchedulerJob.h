#pragma once
// Which batch-scheduler job this process runs in, for the record a shard
// keeps of its runs.

#include <string>

namespace zelk {

// Slurm's array job and task ("1234_7"), else its job id ("1240"), from
// the environment; empty outside Slurm (a Kubernetes pod is named by its
// host name already).
std::string SchedulerJobName();

}  // namespace zelk
