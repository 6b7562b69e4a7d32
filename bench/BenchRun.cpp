#include "BenchRun.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

extern char** environ;

namespace zelk::bench {
namespace {

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

RunFigures RunProgram(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, args[0], nullptr, nullptr, args.data(), environ) != 0) return {};
  return WaitFor(child, start);
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

void PrintFigures(const std::string& name, int pages, const RunFigures& figures,
                  const std::string& output) {
  std::error_code ec;
  const double outputMegabytes =
      output.empty() ? 0 : std::filesystem::file_size(output, ec) / (1024.0 * 1024.0);
  // Pages per second of CPU time too: the figure that does not depend on
  // what else the machine is doing.
  std::printf("%-40s %5d pages %7.2f s %6.1f pages/s | cpu %7.2f s %6.1f pages/s | peak %6.1f MiB"
              " | output %7.1f MiB%s\n",
              name.c_str(), pages, figures.seconds, pages / figures.seconds, figures.cpuSeconds,
              pages / figures.cpuSeconds, figures.peakMegabytes, outputMegabytes,
              figures.ok ? "" : "  FAILED");
}

}  // namespace zelk::bench
