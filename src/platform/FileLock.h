#pragma once
// An exclusive lock that processes take turns on, held on a lock file of
// its own (a file that is never replaced, unlike the file it guards, whose
// every rewrite is a new file under the old name).  flock(2): whole-file,
// released when the holder closes it or dies, and carried over NFS by the
// kernel as a byte-range lock.

#include <string>

namespace zelk {

class FileLock {
 public:
  // Waits until `lockPath` (created when missing) is locked by this
  // object.  When the lock file cannot be made or locked (a directory the
  // user may not write to, a file system without locks) nothing is held
  // and Held() is false: the caller goes on as it would have without one.
  explicit FileLock(const std::string& lockPath);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace zelk
