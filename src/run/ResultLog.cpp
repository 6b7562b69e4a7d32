#include "run/ResultLog.h"

#include <algorithm>
#include <chrono>

#include "filesafety/DurableFiles.h"
#include "platform/DecimalInteger.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

std::string TwoDigits(int value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

// How the character of `length` bytes at name[pos] is written, or empty
// when it is written as it is; `length` 0 stands for a byte that starts no
// well-formed UTF-8 sequence.
std::string EscapeOf(std::string_view name, std::size_t pos, std::size_t length) {
  const auto byte = static_cast<unsigned char>(name[pos]);
  if (length > 1 || (length == 1 && byte >= 0x20 && byte != 0x7F)) return {};
  switch (byte) {
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: break;
  }
  constexpr const char* kHexDigits = "0123456789ABCDEF";
  return {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
}

// Whether a backslash of the name followed by name[next] would be read as
// the start of an escape.
bool BackslashNeedsDoubling(std::string_view name, std::size_t next) {
  if (next >= name.size()) return false;
  if (std::string_view("\\nrtx").find(name[next]) != std::string_view::npos) return true;
  return !EscapeOf(name, next, WellFormedUtf8Length(name, next)).empty();
}

}  // namespace

std::string ListItemText(std::string_view name) {
  std::string text;
  text.reserve(name.size());
  std::size_t pos = 0;
  while (pos < name.size()) {
    const std::size_t length = WellFormedUtf8Length(name, pos);
    const std::string escape = EscapeOf(name, pos, length);
    if (!escape.empty()) {
      text += escape;
      ++pos;
      continue;
    }
    if (name[pos] == '\\' && BackslashNeedsDoubling(name, pos + 1)) text += '\\';
    text.append(name, pos, length);
    pos += length;
  }
  return text;
}

std::string TodayStamp(const LocalDateTime& now) {
  std::string year = std::to_string(now.Year);
  while (year.size() < 4) year.insert(0, "0");
  return year + "年" + TwoDigits(now.Month) + "月" + TwoDigits(now.Day) + "日";
}

std::string SuccessListName(const LocalDateTime& now) { return TodayStamp(now) + "-成功.txt"; }

std::string FailureListName(const LocalDateTime& now) { return TodayStamp(now) + "-失败.txt"; }

std::string FailureReasonListName(const LocalDateTime& now) {
  return TodayStamp(now) + "-失败原因.txt";
}

std::string ShardIndexText(const Shard& shard) {
  const std::size_t width = std::max<std::size_t>(2, std::to_string(shard.Count).size());
  const std::string index = std::to_string(shard.Index);
  return index.size() < width ? std::string(width - index.size(), '0') + index : index;
}

std::string ShardListName(const std::string& listName, const Shard& shard) {
  if (shard.Whole()) return listName;
  const std::string suffix =
      ".shard-" + ShardIndexText(shard) + "-of-" + std::to_string(shard.Count);
  const std::size_t extension = listName.rfind(".txt");
  if (extension == std::string::npos) return listName + suffix;
  return listName.substr(0, extension) + suffix + listName.substr(extension);
}

std::optional<ShardListParts> ParseShardListName(std::string_view name) {
  const std::size_t marker = name.rfind(".shard-");
  if (marker == std::string_view::npos || !name.ends_with(".txt")) return std::nullopt;
  const std::size_t numbersAt = marker + 7;
  const std::string_view numbers = name.substr(numbersAt, name.size() - 4 - numbersAt);
  const std::size_t of = numbers.find("-of-");
  if (of == std::string_view::npos) return std::nullopt;
  const auto number = [](std::string_view digits) -> std::optional<long long> {
    if (digits.starts_with('-')) return std::nullopt;
    return DecimalInteger(digits);
  };
  const std::optional<long long> index = number(numbers.substr(0, of));
  const std::optional<long long> count = number(numbers.substr(of + 4));
  if (!index || !count || *count < 2 || *count > kMaxShardCount || *index >= *count) {
    return std::nullopt;
  }
  ShardListParts parts{std::string(name.substr(0, marker)) + ".txt",
                       {static_cast<int>(*index), static_cast<int>(*count)}};
  if (ShardListName(parts.ListName, parts.Which) != name) return std::nullopt;
  return parts;
}

std::string FailureReasonLine(std::string_view path, std::string_view reason) {
  return ListItemText(path) + "\t" + ListItemText(reason);
}

std::string LocalTimeText(TimePoint moment) {
  const LocalDateTime local = ToLocalDateTime(moment);
  auto two = [](int value) { return (value < 10 ? "0" : "") + std::to_string(value); };
  return std::to_string(local.Year) + "-" + two(local.Month) + "-" + two(local.Day) + " " +
         two(local.Hour) + ":" + two(local.Minute) + ":" + two(local.Second);
}

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
  return AppendInOneWrite(path_, line + "\r\n");
}

}  // namespace zelk
