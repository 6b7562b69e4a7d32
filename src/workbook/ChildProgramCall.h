#pragma once
// Runs work that may crash in a program of its own, so that a library fault
// on bad input (a damaged workbook) fails that one call instead of ending
// the program.
//
// The parent starts the child program with posix_spawn, which is safe from
// a process with many threads, and reads the child's answer from its
// standard output.  The child answers through AnswerParent: one byte saying
// whether a result or a failure follows, then its text.

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelk {

// The child process failed: its work threw, it crashed or was killed, it
// ran past its time, or it could not be started.  what() says which.
class ChildProcessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Starts the program at path `program` with `arguments` and returns the
// text it answered with.  When the child's work threw, raises that
// exception's text.  A child still running after `timeout` is killed.
std::string CallChildProgram(const std::string& program, const std::vector<std::string>& arguments,
                             std::chrono::milliseconds timeout);

// In the child program: runs `work` and writes its result, or the text of
// what it threw, to standard output for CallChildProgram.  Returns the
// child's exit status.
int AnswerParent(const std::function<std::string()>& work);

}  // namespace zelk
