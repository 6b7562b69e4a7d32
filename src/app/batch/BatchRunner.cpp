#include "app/batch/BatchRunner.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>

#include "app/batch/BatchHelp.h"
#include "app/batch/BatchShard.h"
#include "app/batch/PrintingObserver.h"
#include "filesafety/UserFiles.h"
#include "jobs/Dispatch.h"
#include "jobs/JobActions.h"
#include "platform/DecimalInteger.h"
#include "platform/ProgramPlaces.h"
#include "platform/ProgramVersion.h"
#include "platform/Quoting.h"
#include "run/ShardSummary.h"
#include "settings/SettingsFile.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

struct BatchArguments {
  // The settings file given, absolute; none: the program's own.
  std::optional<std::string> SettingsFile;
  std::chrono::seconds SettleTime{0};
  ShardOptions Shards;
  bool Help = false;
  bool Version = false;
  // --summary: the day's shard runs are totalled instead of running; the
  // day of --date, else today.
  bool Summary = false;
  std::optional<LocalDateTime> SummaryDay;
  bool RunOptionsGiven = false;  // --settle or a shard option
};

// The value of option `name` at args[i], given as "--name VALUE" (moving i
// past it) or "--name=VALUE"; nothing when args[i] is another argument.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       const std::string& name) {
  if (args[i] == name && i + 1 < args.size()) return args[++i];
  if (args[i].starts_with(name + "=")) return args[i].substr(name.size() + 1);
  return std::nullopt;
}

// A whole number of plain decimal digits, nothing before or after them.
std::optional<long long> WholeNumber(const std::string& text) {
  const std::optional<long long> value = DecimalInteger(text);
  if (!value || *value < 0) return std::nullopt;
  return value;
}

// "YYYY-MM-DD" as a date of the calendar.
std::optional<LocalDateTime> CalendarDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const std::optional<long long> year = WholeNumber(text.substr(0, 4));
  const std::optional<long long> month = WholeNumber(text.substr(5, 2));
  const std::optional<long long> day = WholeNumber(text.substr(8, 2));
  if (!year || !month || !day) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(*year)),
                                         std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok()) return std::nullopt;
  return LocalDateTime{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day),
                       0, 0, 0};
}

// Reads the arguments; on a mistake writes to `err` and returns nullopt.
std::optional<BatchArguments> ParseArguments(const std::vector<std::string>& args,
                                             std::ostream& err) {
  BatchArguments parsed;
  std::optional<std::string> settingsPath;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      parsed.Help = true;
      return parsed;
    }
    if (args[i] == "--version") {
      parsed.Version = true;
      return parsed;
    }
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (const std::optional<std::string> settle = OptionValue(args, i, "--settle")) {
      const std::optional<long long> seconds = WholeNumber(*settle);
      if (!seconds) {
        err << "--settle 需要一个不小于 0 的整数秒数\n" << kBatchUsage << '\n';
        return std::nullopt;
      }
      parsed.SettleTime = std::chrono::seconds(*seconds);
      parsed.RunOptionsGiven = true;
    } else if (const std::optional<std::string> shard = OptionValue(args, i, "--shard")) {
      parsed.Shards.Shard = *shard;
      parsed.RunOptionsGiven = true;
    } else if (const std::optional<std::string> shards = OptionValue(args, i, "--shards")) {
      parsed.Shards.Shards = *shards;
      parsed.RunOptionsGiven = true;
    } else if (args[i] == "--no-shard") {
      parsed.Shards.NoShard = true;
      parsed.RunOptionsGiven = true;
    } else if (args[i] == "--summary") {
      parsed.Summary = true;
    } else if (const std::optional<std::string> date = OptionValue(args, i, "--date")) {
      parsed.SummaryDay = CalendarDate(*date);
      if (!parsed.SummaryDay) {
        err << "--date 须为 YYYY-MM-DD 形式的日期：" << *date << '\n';
        return std::nullopt;
      }
    } else if (!args[i].starts_with("--") && !settingsPath) {
      settingsPath = args[i];
    } else {
      err << kBatchUsage << '\n';
      return std::nullopt;
    }
  }
  // The summary runs nothing, and a date belongs to it alone.
  if ((parsed.Summary && parsed.RunOptionsGiven) || (parsed.SummaryDay && !parsed.Summary)) {
    err << kBatchUsage << '\n';
    return std::nullopt;
  }
  if (!settingsPath) return parsed;
  const fs::path path = fs::absolute(*settingsPath);
  if (path.filename() != kSettingsFileName) {
    err << "配置文件须名为 " << kSettingsFileName << "：" << *settingsPath << '\n';
    return std::nullopt;
  }
  parsed.SettingsFile = path.string();
  return parsed;
}

// Where the run reads its settings and writes its lists: beside the given
// settings file, else the program's own places; there an installed
// program's user gets the shipped settings on first use (when that fails,
// the settings file is reported missing).
ProgramPlaces PlacesOfRun(const BatchArguments& arguments) {
  if (arguments.SettingsFile) return PlacesForSettingsFile(*arguments.SettingsFile);
  const ProgramPlaces places = ThisProgramsPlaces();
  PrepareUserSettings(places);
  return places;
}

// The action stored in [Common] ConvertAction, read from the file's own
// text: the record reads numbers leniently ("abc" and "1.9" become an
// action), and a damaged value must not start some job.  Writes why to
// `err` and returns nullopt when the text is not an action number.
std::optional<int> StoredAction(const std::string& iniPath, std::ostream& err) {
  const std::string text = ReadIniString(iniPath, "Common", "ConvertAction");
  const std::optional<long long> number = WholeNumber(text);
  if (!number || *number < 1 || *number > static_cast<long long>(kActionCount)) {
    err << "[Common] ConvertAction 须为 1 到 " << kActionCount << " 的整数：" << Quoted(text)
        << '\n';
    return std::nullopt;
  }
  return static_cast<int>(*number);
}

// zelk-batch --summary: the day's shard records in the run's Logs,
// totalled and printed; 0 when every shard is done without a failed item.
int PrintShardSummary(const BatchArguments& arguments, const ProgramPlaces& places,
                      std::ostream& out, std::ostream& err) {
  const std::string settingsFile = places.SettingsFile();
  std::error_code error;
  if (!fs::is_regular_file(settingsFile, error)) {
    err << "找不到配置文件：" << settingsFile << '\n';
    return kBatchNotStarted;
  }
  const LocalDateTime day =
      arguments.SummaryDay.value_or(ToLocalDateTime(std::chrono::system_clock::now()));
  const ShardDaySummary summary = SummarizeShards(places.LogsDir, day);
  for (const std::string& line : ShardSummaryText(summary)) out << line << '\n';
  return summary.AllDone() ? kBatchAllDone : kBatchSomeFailed;
}

int ExitStatusOf(const RunResult& result) {
  switch (result.End) {
    case RunEnd::NotStarted:
    case RunEnd::PreparationFailed:
      return kBatchNotStarted;
    case RunEnd::CancelledDuringScan:
    case RunEnd::Cancelled:
      return kBatchStopped;
    case RunEnd::NothingFound:
    case RunEnd::Finished:
      break;
  }
  return result.Failures > 0 ? kBatchSomeFailed : kBatchAllDone;
}

}  // namespace

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const JobRegistry& registry, RunControl& control) {
  const std::optional<BatchArguments> arguments = ParseArguments(args, err);
  if (!arguments) return kBatchNotStarted;
  if (arguments->Help) {
    out << BatchHelp();
    return kBatchAllDone;
  }
  if (arguments->Version) {
    out << "zelk-batch " << ProgramVersion() << '\n';
    return kBatchAllDone;
  }
  const ProgramPlaces places = PlacesOfRun(*arguments);
  if (arguments->Summary) return PrintShardSummary(*arguments, places, out, err);

  const ShardChoice shard =
      ChooseShard(arguments->Shards, [](const char* name) { return std::getenv(name); });
  if (!shard.Error.empty()) {
    err << shard.Error << '\n';
    return kBatchNotStarted;
  }

  RunRequest request;
  request.WorkShard = shard.Chosen;
  if (!LoadSettings(places.SettingsDir, request.RunSettings)) {
    err << "配置文件已被破坏，请联系软件开发商！" << "：" << request.RunSettings.IniPath << '\n';
    return kBatchNotStarted;
  }
  request.SourceDir = request.RunSettings.Common.ImageSrcDir;
  request.TargetDir = request.RunSettings.Common.ConvertDstDir;
  request.LogsDir = places.LogsDir;
  request.SettleTime = arguments->SettleTime;

  const std::optional<int> action = StoredAction(request.RunSettings.IniPath, err);
  if (!action) return kBatchNotStarted;
  PrintingObserver observer(out, err);
  if (!control.BeginRun()) {
    err << "已有转换正在进行\n";
    return kBatchNotStarted;
  }
  return ExitStatusOf(StartConversion(*action, request, registry, observer, control));
}

}  // namespace zelk
