#include "filesafety/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <vector>

#include "filesafety/DurableFiles.h"

namespace zelk {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

bool WriteAll(int fd, std::string_view data, std::error_code& error) {
  if (WriteAllBytes(fd, data)) return true;
  error = LastError();
  return false;
}

bool RewriteInPlace(const std::string& path, std::string_view data, std::error_code& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = LastError();
    return false;
  }
  bool ok = WriteAll(fd, data, error);
  if (::close(fd) != 0 && ok) {
    error = LastError();
    ok = false;
  }
  return ok;
}

// The file a write to `path` really changes: the end of a chain of links.
// Nothing when that file lies outside the directory of `path`: whoever may
// write in that directory could otherwise plant a link there and point the
// write at any file the process may write.
std::optional<std::string> ResolveTarget(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::is_symlink(path, error)) return path;
  const fs::path target = fs::weakly_canonical(path, error);
  if (error) return path;
  const fs::path home = fs::weakly_canonical(fs::absolute(path).parent_path(), error);
  const fs::path relative = target.lexically_relative(home);
  if (error || relative.empty() || *relative.begin() == "..") return std::nullopt;
  return target.string();
}

}  // namespace

bool ReplaceFileContents(const std::string& requestedPath, std::string_view data,
                         std::error_code& error) {
  error.clear();
  const std::optional<std::string> resolved = ResolveTarget(requestedPath);
  if (!resolved) {
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return false;
  }
  const std::string& path = *resolved;

  mode_t mode = 0644;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

  std::string pattern = path + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM) return RewriteInPlace(path, data, error);
    error = LastError();
    return false;
  }

  bool ok = WriteAll(fd, data, error);
  if (ok && ::fchmod(fd, mode) != 0) {
    error = LastError();
    ok = false;
  }
  if (ok && ::fsync(fd) != 0) {
    error = LastError();
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error = LastError();
    ok = false;
  }
  if (ok && ::rename(name.data(), path.c_str()) != 0) {
    error = LastError();
    ok = false;
  }
  if (!ok) {
    ::unlink(name.data());
    return false;
  }
  // The new name reaches the disk with its directory.  The file is in
  // place either way, so a directory that cannot be flushed is no failure
  // of the replacement.
  try {
    SyncDirectory(std::filesystem::path(path).parent_path());
  } catch (const std::filesystem::filesystem_error&) {
  }
  return true;
}

}  // namespace zelk
