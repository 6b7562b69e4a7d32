#include "jobs/KilledChild_helpers.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelk::test {

namespace {

// The signal that ended a child running `work`, or 0.
int EndingSignal(const std::function<void()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    try {
      work();
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return 0;
  return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

}  // namespace

bool KilledAtStep(int killAt, const std::function<void(const std::function<void()>& step)>& work) {
  return EndingSignal([&] {
           int steps = 0;
           work([&] {
             if (++steps == killAt) ::raise(SIGKILL);
           });
         }) == SIGKILL;
}

bool KilledWritingBeyond(long bytes, const std::function<void()>& work) {
  return EndingSignal([&] {
           ::signal(SIGXFSZ, SIG_DFL);
           const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
           ::setrlimit(RLIMIT_FSIZE, &limit);
           work();
         }) == SIGXFSZ;
}

}  // namespace zelk::test
