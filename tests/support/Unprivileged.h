#pragma once
// Running test code where permission bits bind.  Tests run as root in CI,
// and root reads and searches any directory whatever its mode; an ordinary
// user does not.  As root the code runs in a forked child that has become
// the user nobody; as any other user it runs in place.

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace zelk::test {

inline constexpr uid_t kNobodyId = 65534;

// Turns the calling process into nobody (group nobody/nogroup, no
// supplementary groups).  Only for a forked child: there is no way back.
inline bool BecomeNobody() {
  return setgroups(0, nullptr) == 0 && setgid(kNobodyId) == 0 && setuid(kNobodyId) == 0 &&
         geteuid() == kNobodyId;
}

// Runs `body` unprivileged and returns what it returns; nullopt when the
// child could not give up root or `body` threw.
inline std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body) {
  if (geteuid() != 0) return body();
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    close(channel[0]);
    if (!BecomeNobody()) _exit(2);
    std::string result;
    try {
      result = body();
    } catch (...) {
      _exit(3);
    }
    for (std::size_t at = 0; at < result.size();) {
      const ssize_t written = write(channel[1], result.data() + at, result.size() - at);
      if (written <= 0) _exit(4);
      at += static_cast<std::size_t>(written);
    }
    _exit(0);
  }
  close(channel[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    result.append(buffer, static_cast<std::size_t>(got));
  }
  close(channel[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return result;
}

// Gives everyone full access to `root` and everything below it, so that
// the unprivileged side of a test can read and write there.
inline void OpenToEveryone(const std::filesystem::path& root) {
  namespace fs = std::filesystem;
  fs::permissions(root, fs::perms::all);
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_symlink()) fs::permissions(entry.path(), fs::perms::all);
  }
}

}  // namespace zelk::test
