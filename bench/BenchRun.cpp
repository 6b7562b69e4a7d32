#include "BenchRun.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <string_view>

extern char** environ;

namespace zelk::bench {
namespace {

namespace fs = std::filesystem;

using Clock = std::chrono::steady_clock;

double CpuSeconds(const rusage& usage) {
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

RunFigures WaitFor(pid_t child, Clock::time_point start) {
  RunFigures figures;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return figures;
  figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  figures.cpuSeconds = CpuSeconds(usage);
  figures.peakMegabytes = usage.ru_maxrss / 1024.0;  // kilobytes on Linux
  figures.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return figures;
}

// Whether one of the "NAME=value" entries sets the variable of `entry`.
bool SetBy(const std::vector<std::string>& entries, const char* entry) {
  const char* equals = std::strchr(entry, '=');
  const std::string_view name(entry, equals == nullptr ? std::strlen(entry) : equals - entry);
  for (const std::string& set : entries) {
    if (set.size() > name.size() && set[name.size()] == '=' && set.starts_with(name)) return true;
  }
  return false;
}

// The middle value; the mean of the two middle ones for an even count.
double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

RunFigures RunInChild(const std::function<int()>& body) {
  std::fflush(stdout);
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int code = body();
    std::fflush(stdout);
    _exit(code);
  }
  if (child < 0) return {};
  return WaitFor(child, start);
}

RunFigures RunProgram(const std::vector<std::string>& argv, const ProgramSetup& setup) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  std::vector<char*> environment;
  for (const std::string& entry : setup.environment) {
    environment.push_back(const_cast<char*>(entry.c_str()));
  }
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!SetBy(setup.environment, *entry)) environment.push_back(*entry);
  }
  environment.push_back(nullptr);
  std::fflush(stdout);
  const Clock::time_point start = Clock::now();
  // fork, not posix_spawn: a child made by posix_spawn shares this
  // process's memory until it execs, and the kernel then counts all that
  // memory ever had resident (shared libraries too) in the child's peak.
  // A forked child starts with only the written pages it was given.
  const pid_t child = fork();
  if (child == 0) {
    if (!setup.consoleFile.empty()) {
      const int console = open(setup.consoleFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (console < 0 || dup2(console, STDOUT_FILENO) < 0 || dup2(console, STDERR_FILENO) < 0) {
        _exit(127);
      }
      close(console);
    }
    execvpe(args[0], args.data(), environment.data());
    _exit(127);
  }
  if (child < 0) return {};
  return WaitFor(child, start);
}

RunFigures MedianOfRuns(int runs, const std::function<RunFigures()>& once) {
  std::vector<double> seconds, cpuSeconds;
  RunFigures figures;
  figures.ok = runs > 0;
  for (int i = 0; i < runs; ++i) {
    const RunFigures run = once();
    seconds.push_back(run.seconds);
    cpuSeconds.push_back(run.cpuSeconds);
    figures.peakMegabytes = std::max(figures.peakMegabytes, run.peakMegabytes);
    figures.ok = figures.ok && run.ok;
  }
  figures.seconds = Median(seconds);
  figures.cpuSeconds = Median(cpuSeconds);
  return figures;
}

double CpuSecondsSoFar() {
  rusage self{}, children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  return CpuSeconds(self) + CpuSeconds(children);
}

double OwnPeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

double MegabytesBelow(const std::string& path) {
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) return fs::file_size(path, ec) / (1024.0 * 1024.0);
  double total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(path, ec)) {
    if (entry.is_regular_file(ec)) total += entry.file_size(ec);
  }
  return total / (1024.0 * 1024.0);
}

void PrintFigures(const std::string& name, int pages, const RunFigures& figures,
                  const std::string& output) {
  const double outputMegabytes = output.empty() ? 0 : MegabytesBelow(output);
  // Pages per second of CPU time too: the figure that does not depend on
  // what else the machine is doing.
  std::printf("%-40s %5d pages %7.2f s %6.1f pages/s | cpu %7.2f s %6.1f pages/s | peak %6.1f MiB"
              " | output %7.1f MiB%s\n",
              name.c_str(), pages, figures.seconds, pages / figures.seconds, figures.cpuSeconds,
              pages / figures.cpuSeconds, figures.peakMegabytes, outputMegabytes,
              figures.ok ? "" : "  FAILED");
}

BenchArguments BenchArgumentsOf(int argc, char** argv, int pages, const char* name) {
  return {argc > 1 ? std::atoi(argv[1]) : pages,
          argc > 2 ? argv[2] : (std::filesystem::temp_directory_path() / name).string()};
}

}  // namespace zelk::bench
