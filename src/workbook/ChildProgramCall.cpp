#include "workbook/ChildProgramCall.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>

extern char** environ;

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

// The spawn settings: standard input from /dev/null, standard output into
// the pipe, every signal unblocked and SIGPIPE at its default.
class SpawnSetup {
 public:
  explicit SpawnSetup(int outputFd) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attributes_);
    posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions_, outputFd, STDOUT_FILENO);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes_, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes_, &defaults);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attributes_);
    posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  const posix_spawn_file_actions_t* Actions() const { return &actions_; }
  const posix_spawnattr_t* Attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments, int outputFd) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const SpawnSetup setup(outputFd);
  pid_t child = 0;
  const int error = posix_spawn(&child, program.c_str(), setup.Actions(), setup.Attributes(),
                                argv.data(), environ);
  if (error != 0) {
    throw ChildProcessError("cannot start " + program + ": " + std::strerror(error));
  }
  return child;
}

}  // namespace

std::string CallChildProgram(const std::string& program, const std::vector<std::string>& arguments,
                             std::chrono::milliseconds timeout) {
  int fds[2];
  // Close-on-exec, so that a program another thread starts meanwhile holds
  // no copy of the pipe (which would keep it open past the child's end).
  if (pipe2(fds, O_CLOEXEC) != 0) {
    throw ChildProcessError(std::string("cannot create a pipe: ") + std::strerror(errno));
  }
  pid_t child = 0;
  try {
    child = Spawn(program, arguments, fds[1]);
  } catch (...) {
    close(fds[0]);
    close(fds[1]);
    throw;
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
  if (message.front() != kResult) {
    throw ChildProcessError("the child process gave no readable result");
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw ChildProcessError("the child process failed");
  }
  return message.substr(1);
}

int AnswerParent(const std::function<std::string()>& work) {
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
  WriteAll(STDOUT_FILENO, message);
  return code;
}

}  // namespace zelk
