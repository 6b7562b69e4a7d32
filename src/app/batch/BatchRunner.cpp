#include "app/batch/BatchRunner.h"

#include <charconv>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>

#include "app/batch/PrintingObserver.h"
#include "jobs/Dispatch.h"
#include "jobs/JobActions.h"
#include "settings/SettingsFile.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

const char* const kUsage = "用法：zelk-batch PATH/ZELK.conf [--settle SECONDS]";

struct BatchArguments {
  std::string ProgramDir;
  std::chrono::seconds SettleTime{0};
};

std::optional<long long> Seconds(const std::string& text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) {
    return std::nullopt;
  }
  return value;
}

// Reads the arguments; on a mistake writes to `err` and returns nullopt.
std::optional<BatchArguments> ParseArguments(const std::vector<std::string>& args,
                                             std::ostream& err) {
  BatchArguments parsed;
  std::optional<std::string> settingsPath;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string settle;
    if (args[i] == "--settle" && i + 1 < args.size()) {
      settle = args[++i];
    } else if (args[i].starts_with("--settle=")) {
      settle = args[i].substr(9);
    } else if (!args[i].starts_with("--") && !settingsPath) {
      settingsPath = args[i];
      continue;
    } else {
      err << kUsage << '\n';
      return std::nullopt;
    }
    const std::optional<long long> seconds = Seconds(settle);
    if (!seconds) {
      err << "--settle 需要一个不小于 0 的整数秒数\n" << kUsage << '\n';
      return std::nullopt;
    }
    parsed.SettleTime = std::chrono::seconds(*seconds);
  }
  if (!settingsPath) {
    err << kUsage << '\n';
    return std::nullopt;
  }
  fs::path path = fs::absolute(*settingsPath);
  if (path.filename() != kSettingsFileName) {
    err << "配置文件须名为 " << kSettingsFileName << "：" << *settingsPath << '\n';
    return std::nullopt;
  }
  parsed.ProgramDir = path.parent_path().string();
  return parsed;
}

}  // namespace

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const JobRegistry& registry, RunControl& control) {
  const std::optional<BatchArguments> arguments = ParseArguments(args, err);
  if (!arguments) return kBatchNotStarted;

  RunRequest request;
  if (!LoadSettings(arguments->ProgramDir, request.RunSettings)) {
    err << "配置文件已被破坏，请联系软件开发商！" << "：" << request.RunSettings.IniPath << '\n';
    return kBatchNotStarted;
  }
  request.SourceDir = request.RunSettings.Common.ImageSrcDir;
  request.TargetDir = request.RunSettings.Common.ConvertDstDir;
  request.ProgramDir = arguments->ProgramDir;
  request.SettleTime = arguments->SettleTime;

  const int action = request.RunSettings.Common.ConvertAction;
  if (!JobForAction(action, request.RunSettings)) {
    err << "[Common] ConvertAction 须为 1 到 " << kActionCount << "：" << action << '\n';
    return kBatchNotStarted;
  }
  PrintingObserver observer(out, err);
  if (!control.BeginRun()) {
    err << "已有转换正在进行\n";
    return kBatchNotStarted;
  }
  const RunResult result = StartConversion(action, request, registry, observer, control);
  if (result.End == RunEnd::NotStarted || result.End == RunEnd::PreparationFailed) {
    return kBatchNotStarted;
  }
  return result.Failures > 0 ? kBatchSomeFailed : kBatchAllDone;
}

}  // namespace zelk
