#include "filesafety/DurableFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace zelk {
namespace fs = std::filesystem;
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

void SyncPath(const fs::path& path, int flags, const char* what) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) throw fs::filesystem_error(what, path, LastError());
  const bool synced = ::fsync(fd) == 0;
  const std::error_code error = LastError();
  ::close(fd);
  // Some file systems cannot sync a directory; that is no failure of ours.
  if (!synced && error != std::errc::invalid_argument) throw fs::filesystem_error(what, path, error);
}

}  // namespace

std::error_code CopyDataSynced(int in, int out) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    if (got == 0) break;
    if (!WriteAllBytes(out, std::string_view(buffer.data(), static_cast<std::size_t>(got)))) {
      return LastError();
    }
  }
  if (::fsync(out) != 0) return LastError();
  return {};
}

bool WriteAllBytes(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool AppendInOneWrite(const std::string& path, std::string_view data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAllBytes(fd, data);
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  if (!written) errno = writeError;
  return written && closed;
}

void SyncFile(const fs::path& file) { SyncPath(file, O_RDONLY, "cannot flush the file"); }

void SyncDirectory(const fs::path& directory) {
  SyncPath(directory.empty() ? fs::path(".") : directory, O_RDONLY | O_DIRECTORY,
           "cannot flush the directory");
}

void SyncTree(const fs::path& directory) {
  std::vector<fs::path> directories{directory};
  for (auto it = fs::recursive_directory_iterator(directory); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->is_symlink()) continue;
    if (it->is_directory()) {
      directories.push_back(it->path());
    } else if (it->is_regular_file()) {
      SyncFile(it->path());
    }
  }
  for (auto it = directories.rbegin(); it != directories.rend(); ++it) SyncDirectory(*it);
}

int RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  // A file system that cannot refuse to replace by itself: a hard link
  // refuses an existing name, for files; directories can only be looked at.
  struct stat info {};
  if (::lstat(from.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
    if (::link(from.c_str(), to.c_str()) == 0) return ::unlink(from.c_str()) == 0 ? 0 : errno;
    if (errno == EEXIST) return EEXIST;
  }
  if (::lstat(to.c_str(), &info) == 0) return EEXIST;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::error_code CopyFileSynced(const fs::path& from, const fs::path& to) {
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0) return LastError();
  if (S_ISLNK(info.st_mode)) {
    std::error_code error;
    fs::copy_symlink(from, to, error);
    return error;
  }
  if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (in < 0) return LastError();
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 0777);
  if (out < 0) {
    const std::error_code error = LastError();
    ::close(in);
    return error;
  }
  std::error_code error = CopyDataSynced(in, out);
  ::close(in);
  if (::close(out) != 0 && !error) error = LastError();
  if (error) ::unlink(to.c_str());
  return error;
}

}  // namespace zelk
