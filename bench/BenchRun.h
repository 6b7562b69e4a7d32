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

// What a program gets besides its arguments.
struct ProgramSetup {
  // "NAME=value" entries set on top of this process's environment.
  std::vector<std::string> environment;
  // When not empty, the program's standard output and error go to this
  // file (created or truncated) instead of the bench's terminal.
  std::string consoleFile;
};

// Runs a program with arguments and waits for it.  Its peak memory
// includes the memory this process has written to (its heap) when the
// program starts, so a bench that measures programs keeps itself small
// and does its big work in RunInChild.
RunFigures RunProgram(const std::vector<std::string>& argv, const ProgramSetup& setup = {});

// `once` run `runs` times: the median of the wall clock times and, on its
// own, of the CPU times, the highest peak memory; ok when every run was.
RunFigures MedianOfRuns(int runs, const std::function<RunFigures()>& once);

// User and system time of this process (all threads) and of the child
// processes it has waited for, in seconds.
double CpuSecondsSoFar();

// The page count and work directory of a corpus benchmark: its first and
// second arguments, or `pages` and `name` in the temporary directory.
struct BenchArguments {
  int pages = 0;
  std::string work;
};
BenchArguments BenchArgumentsOf(int argc, char** argv, int pages, const char* name);

// Peak resident memory of this process so far, in MiB.
double OwnPeakMegabytes();

// Size of a file, or of all files below a directory, in MiB.
double MegabytesBelow(const std::string& path);

// `output` (a file or a directory) is measured for its size.
void PrintFigures(const std::string& name, int pages, const RunFigures& figures,
                  const std::string& output);

}  // namespace zelk::bench
