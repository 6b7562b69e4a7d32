#include "run/ResultLog.h"

#include <chrono>
#include <cstdio>

namespace zelk {
namespace {

std::string TwoDigits(int value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

std::string TodayStamp(const LocalDateTime& now) {
  std::string year = std::to_string(now.Year);
  while (year.size() < 4) year.insert(0, "0");
  return year + "年" + TwoDigits(now.Month) + "月" + TwoDigits(now.Day) + "日";
}

std::string SuccessListName(const LocalDateTime& now) { return TodayStamp(now) + "-成功.txt"; }

std::string FailureListName(const LocalDateTime& now) { return TodayStamp(now) + "-失败.txt"; }

std::string LongDate(const LocalDateTime& moment) {
  return std::to_string(moment.Year) + "年" + std::to_string(moment.Month) + "月" +
         std::to_string(moment.Day) + "日";
}

std::string HeaderLine(const LocalDateTime& start, const std::string& suffix) {
  return LongDate(start) + " " + std::to_string(start.Hour) + "时" + std::to_string(start.Minute) +
         suffix;
}

std::string FormatElapsedSeconds(long long seconds) {
  if (seconds < 0) seconds = 0;
  const long long hours = seconds / 3600;
  const long long minutes = seconds % 3600 / 60;
  std::string text;
  if (hours > 0) text += std::to_string(hours) + "时";
  if (minutes > 0) text += std::to_string(minutes) + "分";
  return text + std::to_string(seconds % 60) + "秒";
}

std::string FormatElapsed(TimePoint start, TimePoint end) {
  return FormatElapsedSeconds(
      std::chrono::duration_cast<std::chrono::seconds>(end - start).count());
}

bool ResultList::Append(const std::string& line) const {
  std::FILE* file = std::fopen(path_.c_str(), "ab");
  if (file == nullptr) return false;
  const std::string bytes = line + "\r\n";
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return (std::fclose(file) == 0) && written;
}

}  // namespace zelk
