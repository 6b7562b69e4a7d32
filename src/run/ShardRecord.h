#pragma once
// The record a run of one shard keeps beside its result lists, so that the
// day's shards can be totalled (ShardSummary.h) however many machines ran
// them and wherever one was killed.
//
// Each shard has one record file a day, "<stamp>-汇总.shard-03-of-16.txt"
// in Logs, written by the runs of that shard only.  A run appends one line
// when its lists are opened and one when it ends, each line whole in one
// write call; a run killed in between leaves its start line without an end
// line, which the summary reports.  Lines are fields separated by tabs: the
// kind ("开始" or "结束"), then "name=value" pairs.  Times are whole seconds
// since 1970-01-01 UTC, so records of machines in other time zones compare;
// "时间" (local time) and "用时" are there for a person reading the file and
// are not read back.
//
//   开始  时间=2026-03-07 09:05:00  开始时刻=1772874300  主机=node07  进程=4711  作业=1234_3
//   结束  时间=2026-03-07 09:06:05  开始时刻=1772874300  结束时刻=1772874365  主机=node07
//         进程=4711  作业=1234_3  结果=完成  成功=12  失败=1  页数=240  用时=1分5秒
//
// Fields a reader does not know are passed by, so fields can be added.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "scan/Shard.h"

namespace zelk {

// How a run of a shard ended.
enum class ShardRunOutcome {
  Finished,      // every item of the shard was taken: "完成"
  NothingFound,  // the shard had nothing to convert: "无项目"
  Cancelled,     // a stop request ended it early: "已取消"
  NotPrepared,   // the job could not prepare: "未能准备"
};

struct ShardRunEnd {
  long long Ended = 0;  // seconds since the epoch
  ShardRunOutcome Outcome = ShardRunOutcome::Finished;
  long long Successes = 0;
  long long Failures = 0;
  long long Pages = 0;  // "页数" of the items converted
};

// One line of a record: a run's start, or with `End` its end.  A run is
// known by host, process id and start.
struct ShardRunLine {
  long long Started = 0;  // seconds since the epoch
  std::string Host;
  long long Pid = 0;
  std::string Job;  // the batch scheduler's job ("" when none)
  std::optional<ShardRunEnd> End;

  bool SameRun(const ShardRunLine& other) const {
    return Started == other.Started && Host == other.Host && Pid == other.Pid;
  }
};

// "<stamp>-汇总.shard-03-of-16.txt" for the day of `now`.
std::string ShardRecordName(const LocalDateTime& now, const Shard& shard);

// The shard a record file of the day `stamp` (TodayStamp) is named for;
// nullopt for any other name.
std::optional<Shard> ShardOfRecordName(std::string_view name, const std::string& stamp);

long long EpochSeconds(TimePoint moment);

// The line without its line end.  Host and job pass ListItemText, so a tab
// or line break in them stays escaped.
std::string ShardRecordLine(const ShardRunLine& line);

// A line as ShardRecordLine writes it (a CR before the line end is
// allowed); nullopt for a line that is not one, cut short or damaged, or
// with a count above 10^12 or a time before 1970 or beyond what the system
// clock holds (2262).
std::optional<ShardRunLine> ParseShardRecordLine(std::string_view text);

}  // namespace zelk
