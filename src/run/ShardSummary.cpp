#include "run/ShardSummary.h"

#include <algorithm>
#include <map>

#include "platform/FileText.h"
#include "run/ResultLog.h"
#include "run/ShardRecord.h"
#include "scan/DirectoryListing.h"

namespace zelk {
namespace {

// The whole lines of a record file: a last piece without its line feed is
// a line a run was writing when it stopped, and is left out.
std::vector<std::string> WholeLines(const std::string& path) {
  const std::string text = ReadFileText(path).value_or("");
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos;
       start = end + 1, end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The runs of one shard from its record lines, in the order they started
// writing: an end line completes the run its start line opened.
std::vector<ShardRunLine> RunsOf(const std::vector<std::string>& lines, std::size_t& unreadable) {
  std::vector<ShardRunLine> runs;
  for (const std::string& text : lines) {
    std::optional<ShardRunLine> line = ParseShardRecordLine(text);
    if (!line) {
      // An empty line is no damage; anything else that does not read is.
      if (!text.empty() && text != "\r") ++unreadable;
      continue;
    }
    const auto same = std::find_if(runs.begin(), runs.end(),
                                   [&line](const ShardRunLine& run) { return run.SameRun(*line); });
    if (same == runs.end()) {
      runs.push_back(std::move(*line));
    } else if (line->End) {
      same->End = line->End;
    }
  }
  return runs;
}

ShardState StateOfLastRun(const ShardRunLine& last) {
  if (!last.End) return ShardState::Unfinished;
  switch (last.End->Outcome) {
    case ShardRunOutcome::Finished:
    case ShardRunOutcome::NothingFound: return ShardState::Done;
    case ShardRunOutcome::Cancelled: return ShardState::Cancelled;
    case ShardRunOutcome::NotPrepared: return ShardState::NotPrepared;
  }
  return ShardState::Unfinished;
}

ShardReport ReportOf(const Shard& shard, const std::vector<ShardRunLine>& runs) {
  ShardReport report{shard, ShardState::NoRecord, {}, {}, {}};
  const ShardRunLine* last = nullptr;
  for (const ShardRunLine& run : runs) {
    // The latest start is the last run; of two with one start, the one
    // recorded later.
    if (last == nullptr || run.Started >= last->Started) last = &run;
    ShardTotals totals;
    totals.FirstStart = run.Started;
    if (run.End) {
      totals.Successes = run.End->Successes;
      totals.Failures = run.End->Failures;
      totals.Pages = run.End->Pages;
      totals.RunSeconds = std::max(0LL, run.End->Ended - run.Started);
      totals.LastEnd = run.End->Ended;
    }
    report.Totals.Add(totals);
  }
  if (last != nullptr) {
    report.State = StateOfLastRun(*last);
    report.Host = last->Host;
    report.Job = last->Job;
  }
  return report;
}

// "分片 03/16".
std::string ShardLabel(const Shard& shard) {
  return "分片 " + ShardIndexText(shard) + "/" + std::to_string(shard.Count);
}

const char* StateText(ShardState state) {
  switch (state) {
    case ShardState::Done: return "完成";
    case ShardState::Unfinished: return "未结束（最后一次运行没有结束记录：被中断或仍在运行）";
    case ShardState::Cancelled: return "已取消（最后一次运行提前停止，余下的项目留待下次运行）";
    case ShardState::NotPrepared: return "未能准备（最后一次运行未能开始转换）";
    case ShardState::NoRecord: return "没有记录（未运行，或未能开始）";
  }
  return "";
}

std::string CountsText(const ShardTotals& totals) {
  return "成功" + std::to_string(totals.Successes) + "项  失败" +
         std::to_string(totals.Failures) + "项  页数" + std::to_string(totals.Pages);
}

std::string ShardLine(const ShardReport& report) {
  std::string line = ShardLabel(report.Which) + "  " + StateText(report.State);
  if (report.State == ShardState::NoRecord) return line;
  line += "  " + CountsText(report.Totals) + "  用时" +
          FormatElapsedSeconds(report.Totals.RunSeconds);
  if (!report.Host.empty()) line += "  主机" + report.Host;
  if (!report.Job.empty()) line += "  作业" + report.Job;
  return line;
}

void AddDivisionText(const ShardDivision& division, std::vector<std::string>& lines) {
  std::vector<std::string> notDone;
  for (const ShardReport& report : division.Shards) {
    lines.push_back(ShardLine(report));
    if (report.State != ShardState::Done) notDone.push_back(ShardLabel(report.Which));
  }
  const ShardTotals& totals = division.Totals;
  lines.push_back("合计  " + std::to_string(division.Count) + "个分片中" +
                  std::to_string(division.Count - static_cast<int>(notDone.size())) +
                  "个完成  " + CountsText(totals) + "  用时合计" +
                  FormatElapsedSeconds(totals.RunSeconds) + "（各次运行用时之和）  历时" +
                  FormatElapsedSeconds(totals.SpanSeconds()) + "（最早开始至最晚结束）");
  if (!notDone.empty()) {
    std::string line = "未完成的分片：";
    for (std::size_t i = 0; i < notDone.size(); ++i) line += (i > 0 ? "、" : "") + notDone[i];
    lines.push_back(line);
  }
  if (totals.Failures > 0) {
    lines.push_back("有" + std::to_string(totals.Failures) +
                    "项转换失败，见当天各分片的失败清单和失败原因清单");
  }
}

}  // namespace

void ShardTotals::Add(const ShardTotals& other) {
  Successes += other.Successes;
  Failures += other.Failures;
  Pages += other.Pages;
  RunSeconds += other.RunSeconds;
  if (other.FirstStart && (!FirstStart || *other.FirstStart < *FirstStart)) {
    FirstStart = other.FirstStart;
  }
  if (other.LastEnd && (!LastEnd || *other.LastEnd > *LastEnd)) LastEnd = other.LastEnd;
}

long long ShardTotals::SpanSeconds() const {
  if (!FirstStart || !LastEnd) return 0;
  return std::max(0LL, *LastEnd - *FirstStart);
}

bool ShardDaySummary::AllDone() const {
  if (Divisions.empty()) return false;
  for (const ShardDivision& division : Divisions) {
    if (division.Totals.Failures > 0) return false;
    for (const ShardReport& report : division.Shards) {
      if (report.State != ShardState::Done) return false;
    }
  }
  return true;
}

ShardDaySummary SummarizeShards(const std::string& logsDir, const LocalDateTime& day) {
  ShardDaySummary summary;
  summary.LogsDir = logsDir;
  summary.Stamp = TodayStamp(day);
  // count -> index -> the runs of that shard
  std::map<int, std::map<int, std::vector<ShardRunLine>>> records;
  for (const DirEntry& entry : ListDirectory(logsDir)) {
    const std::optional<Shard> shard = ShardOfRecordName(entry.Name, summary.Stamp);
    if (!entry.IsFile() || !shard) continue;
    std::size_t unreadable = 0;
    records[shard->Count][shard->Index] =
        RunsOf(WholeLines(JoinPath(logsDir, entry.Name)), unreadable);
    if (unreadable > 0) summary.UnreadableRecords.push_back(entry.Name);
    summary.UnreadableLines += unreadable;
  }
  for (const auto& [count, shards] : records) {
    ShardDivision division;
    division.Count = count;
    for (int index = 0; index < count; ++index) {
      const auto found = shards.find(index);
      division.Shards.push_back(ReportOf(
          {index, count}, found == shards.end() ? std::vector<ShardRunLine>{} : found->second));
      division.Totals.Add(division.Shards.back().Totals);
    }
    summary.Divisions.push_back(std::move(division));
  }
  return summary;
}

std::vector<std::string> ShardSummaryText(const ShardDaySummary& summary) {
  std::vector<std::string> lines;
  if (summary.Divisions.empty()) {
    lines.push_back(summary.Stamp + "没有分片运行的记录：" + summary.LogsDir);
    return lines;
  }
  lines.push_back(summary.Stamp + "的分片运行：" + summary.LogsDir);
  for (const ShardDivision& division : summary.Divisions) AddDivisionText(division, lines);
  if (summary.UnreadableLines > 0) {
    std::string line =
        "有" + std::to_string(summary.UnreadableLines) + "行记录无法读取，未计入：";
    for (std::size_t i = 0; i < summary.UnreadableRecords.size(); ++i) {
      line += (i > 0 ? "、" : "") + summary.UnreadableRecords[i];
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace zelk
