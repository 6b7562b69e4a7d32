#pragma once
// Running one benchmark scenario in a child process, so that its peak
// memory (getrusage of the child) is its own and not the corpus builder's.

#include <functional>
#include <string>
#include <vector>

namespace zelk::bench {

struct RunFigures {
  double seconds = 0;     // wall clock
  double cpuSeconds = 0;  // user + system time of the child
  double peakMegabytes = 0;
  bool ok = false;
};

// Runs `body` in a forked child; the child's exit code 0 means success.
RunFigures RunInChild(const std::function<int()>& body);

// Runs a program with arguments and waits for it.
RunFigures RunProgram(const std::vector<std::string>& argv);

// User and system time of this process (all threads) and of the child
// processes it has waited for, in seconds.
double CpuSecondsSoFar();

// Peak resident memory of this process so far, in MiB.
double OwnPeakMegabytes();

void PrintFigures(const std::string& name, int pages, const RunFigures& figures,
                  const std::string& output);

}  // namespace zelk::bench
