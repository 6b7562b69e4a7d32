#pragma once
// The built zelk-batch program as a child process, its standard output and
// error read through pipes, so that tests can watch a real run and send it
// signals.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "support/Unprivileged.h"

namespace zelk::test {

class BatchProcess {
 public:
  // Starts ZELK_BATCH_EXECUTABLE with `args`; as the user nobody when
  // `unprivileged` and the test runs as root (see Unprivileged.h).
  explicit BatchProcess(const std::vector<std::string>& args, bool unprivileged = false) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe failed");
    }
    std::vector<std::string> words{ZELK_BATCH_EXECUTABLE};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      dup2(err[1], STDERR_FILENO);
      if (unprivileged && geteuid() == 0 && !BecomeNobody()) _exit(125);
      execv(argv[0], argv.data());
      _exit(126);
    }
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }

  ~BatchProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      Wait();
    }
    if (out_ >= 0) close(out_);
    if (err_ >= 0) close(err_);
  }

  BatchProcess(const BatchProcess&) = delete;
  BatchProcess& operator=(const BatchProcess&) = delete;

  // Reads the output until standard output holds `text`; false when the
  // program closed its output first or `timeout` passed.
  bool WaitForOutput(std::string_view text, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Out.find(text) == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count()))) return false;
    }
    return true;
  }

  void Signal(int signalNumber) const { kill(pid_, signalNumber); }

  // Reads the rest of the output and reaps the program; its wait status.
  int Wait() {
    while (ReadSome(-1)) {
    }
    if (!exited_) {
      while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
      }
      exited_ = true;
    }
    return status_;
  }

  std::string Out;  // standard output so far
  std::string Err;  // standard error so far

 private:
  // Waits up to `milliseconds` (-1: for ever) for output and reads it;
  // false once both pipes are closed.
  bool ReadSome(int milliseconds) {
    pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    if (out_ < 0 && err_ < 0) return false;
    const int ready = poll(fds, 2, milliseconds);
    if (ready < 0) return errno == EINTR;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      int& fd = i == 0 ? out_ : err_;
      if (got > 0) {
        (i == 0 ? Out : Err).append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        close(fd);
        fd = -1;
      }
    }
    return true;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  int status_ = 0;
  bool exited_ = false;
};

}  // namespace zelk::test
