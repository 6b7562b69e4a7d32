#pragma once
// A small tmpfs mounted for one test, to run out of disk space for real.
// Mounting needs root (or CAP_SYS_ADMIN); where it is not permitted the
// test skips itself with a message.

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace zelk::test {

class SmallTmpfs {
 public:
  // Creates `where` and mounts a tmpfs of `size` ("2m") there.
  SmallTmpfs(const std::filesystem::path& where, const std::string& size) : where_(where) {
    std::filesystem::create_directories(where_);
    const std::string options = "size=" + size;
    if (::mount("tmpfs", where_.c_str(), "tmpfs", 0, options.c_str()) == 0) {
      mounted_ = true;
    } else {
      why_ = std::strerror(errno);
    }
  }
  ~SmallTmpfs() {
    if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;

  bool Mounted() const { return mounted_; }
  // Why the mount failed, for the skip message.
  std::string SkipReason() const { return "cannot mount a tmpfs here (" + why_ + ")"; }

 private:
  std::filesystem::path where_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace zelk::test
