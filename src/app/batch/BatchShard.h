#pragma once
// Which shard of the work a zelk-batch process takes: from --shard I/N,
// else from a batch scheduler's array task (Slurm's SLURM_ARRAY_TASK_ID
// with SLURM_ARRAY_TASK_COUNT, or with SLURM_ARRAY_TASK_MIN and _MAX), else
// from a Kubernetes indexed job (JOB_COMPLETION_INDEX with --shards N);
// --no-shard takes the whole tree whatever the environment says.

#include <functional>
#include <optional>
#include <string>

#include "scan/Shard.h"

namespace zelk {

struct ShardOptions {
  std::optional<std::string> Shard;   // --shard I/N as given
  std::optional<std::string> Shards;  // --shards N as given
  bool NoShard = false;               // --no-shard
};

// The environment variable of `name`, or null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// The shard, or a message for the operator naming what is wrong (a value
// that is not a number, an index outside 0 .. N - 1, an array task without
// its size, an indexed job without --shards).
struct ShardChoice {
  zelk::Shard Chosen;
  std::string Error;
};
ShardChoice ChooseShard(const ShardOptions& options, const EnvironmentLookup& environment);

}  // namespace zelk
