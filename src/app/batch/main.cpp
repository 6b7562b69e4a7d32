// zelk-batch: the headless runner (see BatchRunner.h).

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch/BatchRunner.h"
#include "jobs/JobCatalog.h"
#include "platform/ThreadLimit.h"
#include "run/JobRegistry.h"
#include "run/RunControl.h"

namespace {

zelk::RunControl* g_control = nullptr;

// Ctrl-C or a termination request ends the run after the item in progress,
// with its summary lines written, as the cancel button does.  A second one
// ends the process at once.
extern "C" void RequestCancel(int signalNumber) {
  if (g_control != nullptr) g_control->RequestCancel();
  std::signal(signalNumber, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
  zelk::EnsureOpenMpThreadLimit(argc, argv);
  zelk::JobRegistry registry;
  zelk::RegisterBuiltInJobs(registry);
  zelk::RunControl control;
  g_control = &control;
  std::signal(SIGINT, RequestCancel);
  std::signal(SIGTERM, RequestCancel);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return zelk::RunBatch(args, std::cout, std::cerr, registry, control);
}
