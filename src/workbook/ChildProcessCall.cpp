#include "workbook/ChildProcessCall.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>

namespace zelk {
namespace {

// The first byte the child writes says how the rest is to be read.
constexpr char kResult = 'R';
constexpr char kFailure = 'E';

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

[[noreturn]] void RunChild(int fd, const std::function<std::string()>& work) {
  std::string message;
  int code = 0;
  try {
    message = kResult + work();
  } catch (const std::exception& error) {
    message = kFailure + std::string(error.what());
    code = 1;
  } catch (...) {
    message = std::string(1, kFailure);
    code = 1;
  }
  WriteAll(fd, message);
  // No exit handlers or destructors of the parent's objects run here.
  _exit(code);
}

// Reads until the child closes its end; false when the time ran out.
bool ReadUntilClosed(int fd, std::string& out, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  char buffer[65536];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd request{fd, POLLIN, 0};
    const int ready = poll(&request, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return true;
    out.append(buffer, static_cast<std::size_t>(got));
  }
}

int WaitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

std::string CallInChildProcess(const std::function<std::string()>& work,
                               std::chrono::milliseconds timeout) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    throw ChildProcessError(std::string("cannot create a pipe: ") + std::strerror(errno));
  }
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(fds[0]);
    close(fds[1]);
    throw ChildProcessError(std::string("cannot start a child process: ") + std::strerror(error));
  }
  if (child == 0) {
    close(fds[0]);
    RunChild(fds[1], work);
  }
  close(fds[1]);
  std::string message;
  const bool finished = ReadUntilClosed(fds[0], message, timeout);
  close(fds[0]);
  if (!finished) kill(child, SIGKILL);
  const int status = WaitFor(child);

  if (!finished) throw ChildProcessError("the child process took too long and was stopped");
  if (WIFSIGNALED(status)) {
    throw ChildProcessError(std::string("the child process crashed: ") +
                            strsignal(WTERMSIG(status)));
  }
  if (message.empty()) throw ChildProcessError("the child process ended without a result");
  if (message.front() == kFailure) throw ChildProcessError(message.substr(1));
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw ChildProcessError("the child process failed");
  }
  return message.substr(1);
}

}  // namespace zelk
