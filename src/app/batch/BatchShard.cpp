#include "app/batch/BatchShard.h"

#include <string_view>

#include "platform/DecimalInteger.h"

namespace zelk {
namespace {

ShardChoice Checked(long long index, long long count, const std::string& source) {
  if (count < 1 || count > kMaxShardCount || index < 0 || index >= count) {
    return {{}, source + "：分片序号须在0至分片数减1之间，分片数须为正整数"};
  }
  return {{static_cast<int>(index), static_cast<int>(count)}, {}};
}

ShardChoice Invalid(const std::string& source) { return {{}, source + "：不是整数"}; }

ShardChoice FromOption(const std::string& text) {
  const std::size_t slash = text.find('/');
  const auto index = DecimalInteger(std::string_view(text).substr(0, slash));
  const auto count = slash == std::string::npos
                         ? std::nullopt
                         : DecimalInteger(std::string_view(text).substr(slash + 1));
  if (!index || !count) return {{}, "--shard " + text + "：应为 I/N，例如 3/16"};
  return Checked(*index, *count, "--shard " + text);
}

ShardChoice FromSlurm(const EnvironmentLookup& env, const char* taskId) {
  const auto id = DecimalInteger(taskId);
  if (!id) return Invalid(std::string("SLURM_ARRAY_TASK_ID=") + taskId);
  long long first = 0;
  if (const char* min = env("SLURM_ARRAY_TASK_MIN")) {
    const auto value = DecimalInteger(min);
    if (!value) return Invalid(std::string("SLURM_ARRAY_TASK_MIN=") + min);
    first = *value;
  }
  if (const char* count = env("SLURM_ARRAY_TASK_COUNT")) {
    const auto value = DecimalInteger(count);
    if (!value) return Invalid(std::string("SLURM_ARRAY_TASK_COUNT=") + count);
    return Checked(*id - first, *value, "SLURM_ARRAY_TASK_ID");
  }
  if (const char* max = env("SLURM_ARRAY_TASK_MAX")) {
    const auto value = DecimalInteger(max);
    if (!value) return Invalid(std::string("SLURM_ARRAY_TASK_MAX=") + max);
    return Checked(*id - first, *value - first + 1, "SLURM_ARRAY_TASK_ID");
  }
  return {{}, "SLURM_ARRAY_TASK_ID 已设置，但没有 SLURM_ARRAY_TASK_COUNT 或 SLURM_ARRAY_TASK_MAX"};
}

ShardChoice FromIndexedJob(const ShardOptions& options, const char* completionIndex) {
  if (!options.Shards) return {{}, "JOB_COMPLETION_INDEX 已设置，须同时给出 --shards N"};
  const auto index = DecimalInteger(completionIndex);
  const auto count = DecimalInteger(*options.Shards);
  if (!index) return Invalid(std::string("JOB_COMPLETION_INDEX=") + completionIndex);
  if (!count) return Invalid("--shards " + *options.Shards);
  return Checked(*index, *count, "JOB_COMPLETION_INDEX");
}

}  // namespace

ShardChoice ChooseShard(const ShardOptions& options, const EnvironmentLookup& environment) {
  if (options.NoShard) return {};
  if (options.Shard) return FromOption(*options.Shard);
  if (const char* taskId = environment("SLURM_ARRAY_TASK_ID")) return FromSlurm(environment, taskId);
  if (const char* index = environment("JOB_COMPLETION_INDEX")) {
    return FromIndexedJob(options, index);
  }
  return {};
}

}  // namespace zelk
