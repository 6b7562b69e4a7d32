#include "filesafety/DirectoryBeneath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace zelk {
namespace fs = std::filesystem;
namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

std::error_code LastError() { return {errno, std::generic_category()}; }

// The path without "." or ".." parts or a trailing separator.
fs::path Normal(const fs::path& path) {
  fs::path normal = path.lexically_normal();
  if (!normal.has_filename() && normal.has_parent_path() && normal != normal.root_path()) {
    normal = normal.parent_path();
  }
  return normal;
}

// The levels of `directory` below `root`, outermost first.  Throws when
// `directory` does not lie at or below `root`.
std::vector<std::string> LevelsBelow(const fs::path& root, const fs::path& directory) {
  const fs::path relative = Normal(directory).lexically_relative(Normal(root));
  if (relative.empty() || *relative.begin() == "..") {
    throw fs::filesystem_error("cannot create directory outside the destination", directory, root,
                               std::make_error_code(std::errc::invalid_argument));
  }
  std::vector<std::string> levels;
  for (const fs::path& part : relative) {
    if (!part.empty() && part != ".") levels.push_back(part.string());
  }
  return levels;
}

int OpenRoot(const fs::path& root, bool create) {
  int fd = ::open(root.c_str(), kDirectoryFlags);
  if (fd < 0 && errno == ENOENT && create) {
    std::error_code error;
    fs::create_directories(root, error);
    fd = ::open(root.c_str(), kDirectoryFlags);
  }
  if (fd < 0) throw fs::filesystem_error("cannot create directory", root, LastError());
  return fd;
}

// Opens the level `name` in the directory `parent`, never through a link;
// with `create`, makes it when it is missing (another run may make it at
// the same moment: that is as good).
int OpenLevel(int parent, const std::string& name, const fs::path& path, bool create) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = ::openat(parent, name.c_str(), kDirectoryFlags | O_NOFOLLOW);
    if (fd >= 0) return fd;
    const std::error_code error = LastError();
    if (error == std::errc::no_such_file_or_directory && create) {
      if (::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) {
        throw fs::filesystem_error("cannot create directory", path, LastError());
      }
      continue;
    }
    // A link gives ELOOP (ENOTDIR on some systems); so does a file in the way.
    struct stat info {};
    if (::fstatat(parent, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) {
      throw LinkInPathError(path);
    }
    throw fs::filesystem_error("cannot create directory", path, error);
  }
  throw fs::filesystem_error("cannot create directory", path,
                             std::make_error_code(std::errc::no_such_file_or_directory));
}

}  // namespace

LinkInPathError::LinkInPathError(const fs::path& link)
    : KindedError(ErrorKind::LinkRefused, link.string(), ""), link_(link) {}

DirectoryBeneath DirectoryBeneath::Open(const fs::path& root, const fs::path& directory,
                                        bool create) {
  const std::vector<std::string> levels = LevelsBelow(root, directory);
  fs::path path = Normal(root);
  DirectoryBeneath opened(OpenRoot(path, create), path);
  for (const std::string& name : levels) {
    path /= name;
    opened = DirectoryBeneath(OpenLevel(opened.Fd(), name, path, create), path);
  }
  return opened;
}

DirectoryBeneath::DirectoryBeneath(int fd, fs::path path) : fd_(fd), path_(std::move(path)) {}

DirectoryBeneath::DirectoryBeneath(DirectoryBeneath&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

DirectoryBeneath& DirectoryBeneath::operator=(DirectoryBeneath&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
  }
  return *this;
}

DirectoryBeneath::~DirectoryBeneath() {
  if (fd_ >= 0) ::close(fd_);
}

void DirectoryBeneath::Sync() const {
  // Some file systems cannot sync a directory; that is no failure of ours.
  if (::fsync(fd_) != 0 && errno != EINVAL) {
    throw fs::filesystem_error("cannot flush the directory", path_, LastError());
  }
}

}  // namespace zelk
