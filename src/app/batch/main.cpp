// zelk-batch: the headless runner (see BatchRunner.h).

#include <signal.h>

#include <atomic>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch/BatchRunner.h"
#include "jobs/JobCatalog.h"
#include "platform/ThreadLimit.h"
#include "run/JobRegistry.h"
#include "run/RunControl.h"

namespace {

// The signals that ask a run to stop: Ctrl-C, a termination request, the
// terminal going away and Ctrl-\.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

zelk::RunControl* g_control = nullptr;
std::atomic<bool> g_stopAsked{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

// The first stop signal during a run ends it after the item in progress,
// with its summary lines written, as the cancel button does (only atomics
// are touched here).  A second one, or one while no run is active, ends
// the process at once with the signal's own default action: every output
// is written under a temporary name first, so nothing half-written stays
// behind, and the next run clears the temporary files.
extern "C" void OnStopSignal(int signalNumber) {
  const bool first = !g_stopAsked.exchange(true);
  if (first && g_control != nullptr && g_control->IsActive()) {
    g_control->RequestCancel();
    return;
  }
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signalNumber, &byDefault, nullptr);
  raise(signalNumber);  // delivered once the handler returns
}

void HandleStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // While one stop signal is handled the others wait, so two at once are
  // still seen as first and second.
  for (const int signalNumber : kStopSignals) sigaddset(&action.sa_mask, signalNumber);
  action.sa_flags = SA_RESTART;
  for (const int signalNumber : kStopSignals) {
    // A signal the caller chose to ignore (nohup, a background job of a
    // script) stays ignored.
    struct sigaction inherited {};
    if (sigaction(signalNumber, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN) {
      continue;
    }
    sigaction(signalNumber, &action, nullptr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  zelk::EnsureOpenMpThreadLimit(argc, argv);
  zelk::JobRegistry registry;
  zelk::RegisterBuiltInJobs(registry);
  zelk::RunControl control;
  g_control = &control;
  HandleStopSignals();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return zelk::RunBatch(args, std::cout, std::cerr, registry, control);
}
