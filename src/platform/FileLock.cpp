#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace zelk {
namespace {

// A lock file the super-user makes in another account's directory (the
// tests, an administrator editing a user's settings) belongs to that
// account, so that its own processes can go on using it.
void GiveToDirectoryOwner(int fd, const std::string& lockPath) {
  if (::geteuid() != 0) return;
  std::string directory = std::filesystem::path(lockPath).parent_path().string();
  if (directory.empty()) directory = ".";
  struct stat owner {};
  struct stat lock {};
  if (::stat(directory.c_str(), &owner) != 0 || ::fstat(fd, &lock) != 0) return;
  if (lock.st_uid != owner.st_uid || lock.st_gid != owner.st_gid) {
    (void)::fchown(fd, owner.st_uid, owner.st_gid);
  }
}

}  // namespace

FileLock::FileLock(const std::string& lockPath) {
  // Read-only is enough for flock, so a lock file someone else made
  // serves too.
  const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return;
  GiveToDirectoryOwner(fd, lockPath);
  int locked;
  do {
    locked = ::flock(fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace zelk
