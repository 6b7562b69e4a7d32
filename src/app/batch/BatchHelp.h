#pragma once
// What `zelk-batch --help` prints: the call, the options, the settings and
// environment variables the runner reads and every exit status.  The exit
// statuses are the constants of BatchRunner.h; the actions and their
// sections come from the action table and the job catalog.

#include <string>

namespace zelk {

inline constexpr const char* kBatchUsage =
    "用法：zelk-batch [PATH/ZELK.conf] [--settle SECONDS] [--shard I/N | --shards N | --no-shard]\n"
    "      zelk-batch --summary [PATH/ZELK.conf] [--date YYYY-MM-DD]";

// The whole --help text.
std::string BatchHelp();

}  // namespace zelk
