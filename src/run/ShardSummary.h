#pragma once
// The day's shard runs totalled from their records (ShardRecord.h), as
// `zelk-batch --summary` prints them: items converted and failed, pages and
// time, per shard and over all shards, and which shards are not done.
//
// A shard is done when the last run of it that left a record (the latest
// start) ended having taken all of its items or finding none.  Its numbers
// add up every run of it that day that ended, so a shard killed half-way
// and run again counts the items of both runs.  The time is given two
// ways: the runs' times added up (machine time) and the span from the
// first start to the last end (wall time of the whole array).
//
// The records name the shard count N; every shard 0 .. N - 1 is expected.
// A day on which runs divided the tree in two ways (N = 4, later N = 16)
// gives one division per count.

#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "scan/Shard.h"

namespace zelk {

enum class ShardState {
  Done,         // its last run finished, or found nothing to convert
  Unfinished,   // its last run has no end line: killed, or still running
  Cancelled,    // its last run was stopped before every item was taken
  NotPrepared,  // its last run could not prepare its job
  NoRecord,     // no run of it left a record that day
};

struct ShardTotals {
  long long Successes = 0;
  long long Failures = 0;
  long long Pages = 0;
  long long RunSeconds = 0;             // the ended runs' times added up
  std::optional<long long> FirstStart;  // seconds since the epoch, of any run
  std::optional<long long> LastEnd;     // of the ended runs

  void Add(const ShardTotals& other);
  // From the first start to the last end; 0 without both.
  long long SpanSeconds() const;
};

struct ShardReport {
  Shard Which;
  ShardState State = ShardState::NoRecord;
  ShardTotals Totals;
  std::string Host;  // of its last run
  std::string Job;
};

// The shards of one count N, all N of them in order.
struct ShardDivision {
  int Count = 0;
  std::vector<ShardReport> Shards;
  ShardTotals Totals;
};

struct ShardDaySummary {
  std::string LogsDir;
  std::string Stamp;                     // TodayStamp of the day
  std::vector<ShardDivision> Divisions;  // by count, smallest first
  std::size_t UnreadableLines = 0;       // record lines cut short, damaged or out of range
  std::vector<std::string> UnreadableRecords;  // the names of the files that hold them

  // Records were found, every shard is done and no item failed.
  bool AllDone() const;
};

// Reads the records of the day of `day` in `logsDir`.  A missing or
// unreadable directory gives a summary without divisions.
ShardDaySummary SummarizeShards(const std::string& logsDir, const LocalDateTime& day);

// The summary as the lines the operator reads: a heading, one line per
// shard, a total line per division and what is not done, or that no
// records were found.
std::vector<std::string> ShardSummaryText(const ShardDaySummary& summary);

}  // namespace zelk
