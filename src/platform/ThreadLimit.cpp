#include "platform/ThreadLimit.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace zelk {

namespace {
constexpr const char* kThreadLimitVariable = "OMP_THREAD_LIMIT";
}

void EnsureOpenMpThreadLimit(int argc, char** argv) {
  const char* current = std::getenv(kThreadLimitVariable);
  if (current != nullptr && *current != '\0') return;
  if (setenv(kThreadLimitVariable, "1", 1) != 0) return;

  // argv[argc] is a null pointer by the language's rules, but a caller may
  // hand in a shortened vector; build a terminated copy to be safe.
  std::vector<char*> arguments(argv, argv + (argc > 0 ? argc : 0));
  if (arguments.empty()) arguments.push_back(const_cast<char*>("zelk"));
  arguments.push_back(nullptr);
  execv("/proc/self/exe", arguments.data());
  // Only reached when execv failed: carry on in this process.
}

}  // namespace zelk
