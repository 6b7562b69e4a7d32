#pragma once
// An exclusive lock that processes take turns on, held on a directory
// (which, unlike a file in it that is replaced by a rename, stays the same
// object, and leaves no lock file behind).  flock(2): released when the
// holder closes it or dies.

#include <string>

namespace zelk {

class DirectoryLock {
 public:
  // Waits until `directory` is locked by this object.  Where it cannot be
  // locked (missing, or a file system without such locks, as NFS is for a
  // directory) nothing is held and Held() is false: the caller goes on as
  // it would have without one.
  explicit DirectoryLock(const std::string& directory);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace zelk
