#include "filesafety/FileSystemAge.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "filesafety/OutputTransaction.h"

namespace zelk {
namespace fs = std::filesystem;

std::optional<std::chrono::seconds> AgeOnItsFileSystem(const fs::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
  // A temporary name, so that a run killed before the unlink leaves a file
  // the next run clears.
  const fs::path probe = TemporaryPathBeside(path);
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return std::nullopt;
  struct stat now {};
  const bool stamped = ::fstat(fd, &now) == 0;
  ::close(fd);
  ::unlink(probe.c_str());
  if (!stamped) return std::nullopt;
  return std::chrono::seconds(now.st_mtime - info.st_mtime);
}

bool OlderOnItsFileSystem(const fs::path& path, std::chrono::seconds limit) {
  const std::optional<std::chrono::seconds> age = AgeOnItsFileSystem(path);
  return age && *age > limit;
}

}  // namespace zelk
