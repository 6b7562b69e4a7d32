#include "app/batch/BatchShard.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace zelk {
namespace {

EnvironmentLookup With(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const char* name) -> const char* {
    const auto it = variables.find(name);
    return it == variables.end() ? nullptr : it->second.c_str();
  };
}

void ExpectShard(const ShardChoice& choice, int index, int count, const char* what) {
  EXPECT_EQ(choice.Error, "") << what;
  EXPECT_EQ(choice.Chosen.Index, index) << what;
  EXPECT_EQ(choice.Chosen.Count, count) << what;
}

TEST(BatchShardTest, TheOptionThenSlurmThenAnIndexedJobDecideAndNoShardOverridesThemAll) {
  const auto slurm = With({{"SLURM_ARRAY_TASK_ID", "7"}, {"SLURM_ARRAY_TASK_COUNT", "16"}});
  ExpectShard(ChooseShard({}, With({})), 0, 1, "nothing set: the whole tree");
  ExpectShard(ChooseShard({"3/4", {}, false}, slurm), 3, 4, "the option wins");
  ExpectShard(ChooseShard({}, slurm), 7, 16, "array task and count");
  ExpectShard(ChooseShard({}, With({{"SLURM_ARRAY_TASK_ID", "12"},
                                    {"SLURM_ARRAY_TASK_MIN", "10"},
                                    {"SLURM_ARRAY_TASK_MAX", "13"}})),
              2, 4, "an array numbered 10-13");
  ExpectShard(ChooseShard({{}, "5", false}, With({{"JOB_COMPLETION_INDEX", "4"}})), 4, 5,
              "indexed job");
  ExpectShard(ChooseShard({"1/2", {}, true}, slurm), 0, 1, "--no-shard");
}

TEST(BatchShardTest, WhatCannotBeAShardIsRefusedWithItsName) {
  const auto refused = [](const ShardOptions& options, const EnvironmentLookup& env) {
    return ChooseShard(options, env).Error;
  };
  EXPECT_NE(refused({"4/4", {}, false}, With({})).find("--shard 4/4"), std::string::npos);
  EXPECT_NE(refused({"x/4", {}, false}, With({})).find("I/N"), std::string::npos);
  EXPECT_NE(refused({"1/0", {}, false}, With({})), "");
  EXPECT_NE(refused({}, With({{"SLURM_ARRAY_TASK_ID", "3"}})).find("SLURM_ARRAY_TASK_COUNT"),
            std::string::npos);
  EXPECT_NE(refused({}, With({{"SLURM_ARRAY_TASK_ID", "a"}, {"SLURM_ARRAY_TASK_COUNT", "4"}})),
            "");
  EXPECT_NE(refused({}, With({{"JOB_COMPLETION_INDEX", "2"}})).find("--shards"),
            std::string::npos);
}

}  // namespace
}  // namespace zelk
