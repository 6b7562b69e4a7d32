#include "run/ShardRecord.h"

#include <array>
#include <chrono>
#include <map>
#include <utility>

#include "platform/DecimalInteger.h"
#include "run/ResultLog.h"

namespace zelk {
namespace {

constexpr const char* kStartKind = "开始";
constexpr const char* kEndKind = "结束";
constexpr const char* kRecordListName = "-汇总.txt";

constexpr std::array<std::pair<ShardRunOutcome, const char*>, 4> kOutcomeWords{{
    {ShardRunOutcome::Finished, "完成"},
    {ShardRunOutcome::NothingFound, "无项目"},
    {ShardRunOutcome::Cancelled, "已取消"},
    {ShardRunOutcome::NotPrepared, "未能准备"},
}};

std::string Field(const char* name, const std::string& value) {
  return std::string("\t") + name + "=" + value;
}

// The largest count a record may hold (items, pages, a process id): far
// beyond any real run, and small enough that the day's totals of any
// number of records cannot overflow.
constexpr long long kLargestCount = 1'000'000'000'000LL;
// The latest moment a record may name: the last second the system clock
// holds (in 2262), so that a line read back can be written again.
constexpr long long kLatestMoment =
    std::chrono::duration_cast<std::chrono::seconds>(TimePoint::max().time_since_epoch()).count();

std::optional<long long> WithinRange(std::string_view text, long long largest) {
  if (text.empty() || text.front() == '-') return std::nullopt;
  const std::optional<long long> value = DecimalInteger(text);
  if (!value || *value > largest) return std::nullopt;
  return value;
}

// The "name=value" fields after the kind, by name.
std::map<std::string, std::string, std::less<>> FieldsOf(std::string_view text) {
  std::map<std::string, std::string, std::less<>> fields;
  while (!text.empty()) {
    const std::size_t tab = text.find('\t');
    const std::string_view field = text.substr(0, tab);
    const std::size_t equals = field.find('=');
    if (equals != std::string_view::npos) {
      fields.emplace(std::string(field.substr(0, equals)), std::string(field.substr(equals + 1)));
    }
    if (tab == std::string_view::npos) break;
    text.remove_prefix(tab + 1);
  }
  return fields;
}

}  // namespace

std::string ShardRecordName(const LocalDateTime& now, const Shard& shard) {
  return ShardListName(TodayStamp(now) + kRecordListName, shard);
}

std::optional<Shard> ShardOfRecordName(std::string_view name, const std::string& stamp) {
  const std::optional<ShardListParts> parts = ParseShardListName(name);
  if (!parts || parts->ListName != stamp + kRecordListName) return std::nullopt;
  return parts->Which;
}

long long EpochSeconds(TimePoint moment) {
  return std::chrono::duration_cast<std::chrono::seconds>(moment.time_since_epoch()).count();
}

std::string ShardRecordLine(const ShardRunLine& line) {
  const long long now = line.End ? line.End->Ended : line.Started;
  std::string text = std::string(line.End ? kEndKind : kStartKind) +
                     Field("时间", LocalTimeText(TimePoint(std::chrono::seconds(now)))) +
                     Field("开始时刻", std::to_string(line.Started));
  if (line.End) text += Field("结束时刻", std::to_string(line.End->Ended));
  text += Field("主机", ListItemText(line.Host)) + Field("进程", std::to_string(line.Pid)) +
          Field("作业", ListItemText(line.Job));
  if (!line.End) return text;
  for (const auto& [outcome, word] : kOutcomeWords) {
    if (outcome == line.End->Outcome) text += Field("结果", word);
  }
  return text + Field("成功", std::to_string(line.End->Successes)) +
         Field("失败", std::to_string(line.End->Failures)) +
         Field("页数", std::to_string(line.End->Pages)) +
         Field("用时", FormatElapsedSeconds(line.End->Ended - line.Started));
}

std::optional<ShardRunLine> ParseShardRecordLine(std::string_view text) {
  if (text.ends_with('\r')) text.remove_suffix(1);
  const std::size_t tab = text.find('\t');
  if (tab == std::string_view::npos) return std::nullopt;
  const std::string_view kind = text.substr(0, tab);
  if (kind != kStartKind && kind != kEndKind) return std::nullopt;
  const auto fields = FieldsOf(text.substr(tab + 1));
  const auto field = [&fields](const char* name) -> std::optional<std::string_view> {
    const auto found = fields.find(name);
    if (found == fields.end()) return std::nullopt;
    return std::string_view(found->second);
  };
  // A value out of range makes the line unreadable, as damage does.
  const auto number = [&field](const char* name, long long largest) -> std::optional<long long> {
    const std::optional<std::string_view> value = field(name);
    return value ? WithinRange(*value, largest) : std::nullopt;
  };
  const auto count = [&number](const char* name) { return number(name, kLargestCount); };
  const auto moment = [&number](const char* name) { return number(name, kLatestMoment); };

  ShardRunLine line;
  const std::optional<long long> started = moment("开始时刻");
  const std::optional<long long> pid = count("进程");
  const std::optional<std::string_view> host = field("主机");
  if (!started || !pid || !host) return std::nullopt;
  line.Started = *started;
  line.Pid = *pid;
  line.Host = std::string(*host);
  line.Job = std::string(field("作业").value_or(""));
  if (kind == kStartKind) return line;

  const std::optional<long long> ended = moment("结束时刻");
  const std::optional<long long> successes = count("成功");
  const std::optional<long long> failures = count("失败");
  const std::optional<long long> pages = count("页数");
  const std::optional<std::string_view> outcomeWord = field("结果");
  if (!ended || !successes || !failures || !pages || !outcomeWord) return std::nullopt;
  ShardRunEnd end{*ended, ShardRunOutcome::Finished, *successes, *failures, *pages};
  bool known = false;
  for (const auto& [outcome, word] : kOutcomeWords) {
    if (*outcomeWord == word) {
      end.Outcome = outcome;
      known = true;
    }
  }
  if (!known) return std::nullopt;
  line.End = end;
  return line;
}

}  // namespace zelk
