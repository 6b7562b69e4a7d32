#pragma once
// Runs work that may crash in a child process, so that a library fault on
// bad input (a damaged workbook) fails that one call instead of ending the
// program.

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

namespace zelk {

// The child process failed: `work` threw, the child crashed or was killed,
// or it ran past its time.  what() says which.
class ChildProcessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Calls `work` in a forked child and returns the text it returned.  When
// `work` throws, the child reports the exception's text.  A child still
// running after `timeout` is killed.  `work` must not rely on other
// threads of this process: the child has only the calling thread.
std::string CallInChildProcess(const std::function<std::string()>& work,
                               std::chrono::milliseconds timeout);

}  // namespace zelk
