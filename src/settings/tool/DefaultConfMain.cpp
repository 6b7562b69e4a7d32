// zelk-default-conf <path>: writes the shipped settings file to <path> when
// no file is there.  An existing file is never touched, so a build can run
// this every time without losing the user's settings.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "settings/SettingsFile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <path of the settings file>\n", argv[0]);
    return 2;
  }
  const char* path = argv[1];
  // O_EXCL: an existing file (or link) stays exactly as it is.
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return 0;
    std::fprintf(stderr, "cannot create %s: %s\n", path, std::strerror(errno));
    return 1;
  }
  const std::string text = zelk::DefaultSettingsFileText();
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      std::fprintf(stderr, "cannot write %s: %s\n", path, std::strerror(errno));
      ::close(fd);
      ::unlink(path);  // a half-written settings file would be worse than none
      return 1;
    }
    done += static_cast<std::size_t>(written);
  }
  if (::close(fd) != 0) {
    std::fprintf(stderr, "cannot write %s: %s\n", path, std::strerror(errno));
    ::unlink(path);
    return 1;
  }
  return 0;
}
