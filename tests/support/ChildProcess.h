#pragma once
// A program run as a child process for tests that start the built
// executables: started with posix_spawn (standard input from /dev/null,
// standard output and error appended to a file), signalled at a chosen
// moment, and waited for with a time limit.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zelk::test {

// How a child ended.
struct ChildEnd {
  bool Exited = false;     // ended through exit(), with ExitStatus
  int ExitStatus = -1;
  bool Signalled = false;  // ended by signal TermSignal
  int TermSignal = 0;
  bool TimedOut = false;   // still running at the time limit, then killed
  std::chrono::duration<double> Elapsed{0};

  bool ExitedWith(int status) const { return Exited && ExitStatus == status; }
  // The exit status, or 128 + the signal, as a shell reports it.
  int ShellStatus() const { return Exited ? ExitStatus : 128 + TermSignal; }
  std::string Describe() const {
    std::string text = TimedOut    ? "still running at the time limit"
                       : Exited    ? "exit status " + std::to_string(ExitStatus)
                       : Signalled ? "signal " + std::to_string(TermSignal)
                                   : "not ended";
    return text + " after " + std::to_string(Elapsed.count()) + " s";
  }
};

class ChildProcess {
 public:
  // Starts `arguments[0]` (a path) with the whole list as its argv and the
  // environment of the test plus `extraEnvironment` ("NAME=value" entries,
  // which replace variables of the same name).  Throws when it cannot start.
  ChildProcess(const std::vector<std::string>& arguments, const std::string& outputFile,
               const std::vector<std::string>& extraEnvironment = {})
      : started_(std::chrono::steady_clock::now()) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> environment = MergedEnvironment(extraEnvironment);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) throw std::runtime_error("cannot start " + arguments[0]);
  }

  // A child still running is killed and reaped, so no test leaves one behind.
  ~ChildProcess() {
    if (!reaped_) {
      ::kill(pid_, SIGKILL);
      Reap(0);
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  std::chrono::steady_clock::time_point Started() const { return started_; }

  // Whether the child has not ended yet (an ended child is reaped here).
  bool Running() { return !reaped_ && !Reap(WNOHANG); }

  // Sends the signal unless the child has been reaped; a child that has
  // ended but is not reaped yet ignores it.
  void Signal(int signalNumber) {
    if (!reaped_) ::kill(pid_, signalNumber);
  }
  void Kill() { Signal(SIGKILL); }

  // Waits for the end, at most `limit`; a child still running then is
  // killed and reported as TimedOut.
  ChildEnd Wait(std::chrono::duration<double> limit = std::chrono::seconds(120)) {
    const auto deadline = started_ + std::chrono::duration_cast<std::chrono::nanoseconds>(limit);
    while (!reaped_ && !Reap(WNOHANG)) {
      if (std::chrono::steady_clock::now() >= deadline) {
        ::kill(pid_, SIGKILL);
        Reap(0);
        end_.TimedOut = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return end_;
  }

 private:
  static std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string text = *entry;
      const std::string name = text.substr(0, text.find('='));
      bool replaced = false;
      for (const std::string& added : extra) replaced = replaced || added.starts_with(name + "=");
      if (!replaced) merged.push_back(text);
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
  }

  // True when the child has ended (and is reaped now).
  bool Reap(int options) {
    int status = 0;
    pid_t got;
    do {
      got = waitpid(pid_, &status, options);
    } while (got < 0 && errno == EINTR);
    if (got == 0) return false;
    reaped_ = true;
    end_.Elapsed = std::chrono::steady_clock::now() - started_;
    if (got < 0) return true;
    end_.Exited = WIFEXITED(status);
    end_.ExitStatus = end_.Exited ? WEXITSTATUS(status) : -1;
    end_.Signalled = WIFSIGNALED(status);
    end_.TermSignal = end_.Signalled ? WTERMSIG(status) : 0;
    return true;
  }

  pid_t pid_ = -1;
  bool reaped_ = false;
  ChildEnd end_;
  std::chrono::steady_clock::time_point started_;
};

}  // namespace zelk::test
