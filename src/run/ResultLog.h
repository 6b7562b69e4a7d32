#pragma once
// The day's result lists in Logs beside the program: names, line texts and
// the writer.  Lists are UTF-8 text with CR LF line ends; every line is
// written by opening the file for appending, writing and closing it again,
// so each finished item is on disk even if a later one brings the process
// down.

#include <string>

#include "platform/Clock.h"

namespace zelk {

inline constexpr const char* kLogsDirName = "Logs";

// "2026年03月07日": four-digit year, month and day with a leading zero.
std::string TodayStamp(const LocalDateTime& now);
std::string SuccessListName(const LocalDateTime& now);  // TodayStamp & "-成功.txt"
std::string FailureListName(const LocalDateTime& now);  // TodayStamp & "-失败.txt"

// The long date "2026年3月7日".
std::string LongDate(const LocalDateTime& moment);

// "2026年3月7日 9时5" followed by the job's header suffix ("分 -- 已合并清单").
std::string HeaderLine(const LocalDateTime& start, const std::string& suffix);

// The whole seconds between two moments as "1时2分5秒": hours when there
// are any, minutes when there are any, seconds always.  A negative span
// (the clock was set back) reads as 0秒.
std::string FormatElapsed(TimePoint start, TimePoint end);
std::string FormatElapsedSeconds(long long seconds);

// One result list.
class ResultList {
 public:
  ResultList() = default;
  explicit ResultList(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // Appends `line` and CR LF.  Returns false when the file could not be
  // opened or written.
  bool Append(const std::string& line) const;

 private:
  std::string path_;
};

}  // namespace zelk
