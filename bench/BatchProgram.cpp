#include "BatchProgram.h"

#include "settings/SettingsFile.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>

namespace zelk::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kConsoleLinesShown = 5;

void PrintLastLines(const std::string& file) {
  std::ifstream in(file);
  std::deque<std::string> last;
  for (std::string line; std::getline(in, line);) {
    last.push_back(line);
    if (last.size() > kConsoleLinesShown) last.pop_front();
  }
  for (const std::string& line : last) std::printf("    | %s\n", line.c_str());
}

}  // namespace

std::string FindBatchExecutable(const std::string& given) {
  if (!given.empty()) return given;
  if (const char* fromEnvironment = std::getenv("ZELK_BATCH")) return fromEnvironment;
  std::error_code ec;
  const fs::path bench = fs::read_symlink("/proc/self/exe", ec);
  return (bench.parent_path().parent_path() / "bin" / "zelk-batch").string();
}

BatchProgram::BatchProgram(std::string executable)
    : executable_(std::move(executable)),
      shippedSettings_((fs::path(executable_).parent_path() / kSettingsFileName).string()) {}

bool BatchProgram::Ready() const {
  bool ready = true;
  for (const std::string& needed : {executable_, shippedSettings_}) {
    if (!fs::is_regular_file(needed)) {
      std::printf("! %s is missing (build the zelk-batch target, or give its path)\n",
                  needed.c_str());
      ready = false;
    }
  }
  return ready;
}

std::string BatchProgram::Prepare(const std::string& programDir,
                                  const std::vector<SettingValue>& settings) const {
  fs::remove_all(programDir);
  fs::create_directories(programDir);
  const std::string conf = programDir + "/" + kSettingsFileName;
  fs::copy_file(shippedSettings_, conf);
  for (const SettingValue& setting : settings) {
    if (!WriteIniString(conf, setting.section, setting.key, setting.value)) {
      std::printf("  ! cannot set [%s] %s in %s\n", setting.section.c_str(), setting.key.c_str(),
                  conf.c_str());
      return {};
    }
  }
  return conf;
}

RunFigures BatchProgram::RunOn(const std::string& conf, const std::vector<std::string>& arguments,
                               const std::string& console) const {
  std::vector<std::string> argv = {executable_, conf};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  RunFigures figures = RunProgram(argv, ProgramSetup{{"OMP_THREAD_LIMIT=1"}, console});
  if (!figures.ok) {
    std::printf("  ! zelk-batch did not finish with status 0; the end of %s:\n", console.c_str());
    PrintLastLines(console);
  }
  return figures;
}

RunFigures BatchProgram::Run(const std::string& programDir,
                             const std::vector<SettingValue>& settings) const {
  const std::string conf = Prepare(programDir, settings);
  if (conf.empty()) return {};
  return RunOn(conf, {}, programDir + "/console.txt");
}

}  // namespace zelk::bench
