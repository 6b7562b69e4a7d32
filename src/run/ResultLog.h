#pragma once
// The day's result lists in Logs beside the program: names, line texts and
// the writer.  Lists are UTF-8 text with CR LF line ends; every line is
// written by opening the file for appending, writing it whole in one write
// call and closing the file again, so each finished item is on disk even if
// a later one brings the process down, and lines of processes appending at
// once do not interleave.
//
// A run that takes one shard of several (zelk-batch --shard) writes lists
// of its own beside the usual ones, "<stamp>-成功.shard-03-of-16.txt" and
// so on: the runs of a shard array share one Logs directory, often over a
// network file system where appends of several machines to one file are
// not safe, so each writes only the files of its own shard.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "scan/Shard.h"

namespace zelk {

// "2026年03月07日": four-digit year, month and day with a leading zero.
std::string TodayStamp(const LocalDateTime& now);
std::string SuccessListName(const LocalDateTime& now);  // TodayStamp & "-成功.txt"
std::string FailureListName(const LocalDateTime& now);  // TodayStamp & "-失败.txt"
// TodayStamp & "-失败原因.txt": why each item failed, one line per failure
// (FailureReasonLine), beside the two lists whose format stays as it is.
std::string FailureReasonListName(const LocalDateTime& now);

// The name of a list of the day as a run of `shard` writes it: `listName`
// itself for the whole tree, else with ".shard-03-of-16" before its ".txt"
// (the index with leading zeros to at least two digits and to the width
// of the count).
std::string ShardListName(const std::string& listName, const Shard& shard);
// The shard's index as those names write it ("03" of 16, "007" of 128).
std::string ShardIndexText(const Shard& shard);

// A name exactly as ShardListName writes it for one shard of several,
// taken apart: the list's usual name and the shard.  Nullopt for any other
// name ("x.shard-3-of-16.txt" included: 3 of 16 is written "03").
struct ShardListParts {
  std::string ListName;
  Shard Which;
};
std::optional<ShardListParts> ParseShardListName(std::string_view name);

// "2026-03-07 09:05:00" in local time.
std::string LocalTimeText(TimePoint moment);

// The long date "2026年3月7日".
std::string LongDate(const LocalDateTime& moment);

// "2026年3月7日 9时5" followed by the job's header suffix ("分 -- 已合并清单").
std::string HeaderLine(const LocalDateTime& start, const std::string& suffix);

// The whole seconds between two moments as "1时2分5秒": hours when there
// are any, minutes when there are any, seconds always.  A negative span
// (the clock was set back) reads as 0秒.
std::string FormatElapsed(TimePoint start, TimePoint end);
std::string FormatElapsedSeconds(long long seconds);

// A path or name as a list writes it: one line of valid UTF-8 that keeps
// the original recoverable.  A name that is valid UTF-8 without control
// characters is written as it is.  Otherwise:
//   line feed, carriage return, tab          -> \n  \r  \t
//   other controls (U+0000..U+001F, U+007F)  -> \xHH (two upper-case hex digits)
//   each byte that is not well-formed UTF-8  -> \xHH (GBK names keep their bytes)
// A backslash of the name itself is doubled only where it would otherwise
// be read as the start of one of these: before "\", "n", "r", "t", "x" or
// before a character that is escaped.  Reading a line back, "\\", "\n",
// "\r", "\t" and "\xHH" stand for what they name and any other backslash
// for itself.
std::string ListItemText(std::string_view name);

// A line of the reasons list: the item's path, a tab and the reason, each
// through ListItemText, so a tab or line break inside either stays escaped
// and the line splits at its one real tab.
std::string FailureReasonLine(std::string_view path, std::string_view reason);

// One result list.
class ResultList {
 public:
  ResultList() = default;
  explicit ResultList(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // Appends `line` as given and CR LF (names in it pass ListItemText
  // first).  Returns false when the file could not be opened or written.
  bool Append(const std::string& line) const;

 private:
  std::string path_;
};

}  // namespace zelk
