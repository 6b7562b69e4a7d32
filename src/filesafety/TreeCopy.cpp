#include "filesafety/TreeCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include "filesafety/DurableFiles.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

// Reads until `buffer` is full or the file ends; -1 on a read error.
ssize_t ReadFull(int fd, char* buffer, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, buffer + got, size - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

bool SameBytes(const fs::path& a, const fs::path& b) {
  const int first = ::open(a.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (first < 0) return false;
  const int second = ::open(b.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (second < 0) {
    ::close(first);
    return false;
  }
  static constexpr std::size_t kChunk = 1 << 16;
  std::vector<char> one(kChunk);
  std::vector<char> two(kChunk);
  bool same = true;
  for (;;) {
    const ssize_t got = ReadFull(first, one.data(), kChunk);
    if (got < 0 || ReadFull(second, two.data(), kChunk) != got ||
        std::memcmp(one.data(), two.data(), static_cast<std::size_t>(got)) != 0) {
      same = false;
      break;
    }
    if (got == 0) break;
  }
  ::close(first);
  ::close(second);
  return same;
}

// The names in a directory, sorted; false when it cannot be listed.
bool SortedNames(const fs::path& directory, std::vector<fs::path>& names) {
  std::error_code error;
  fs::directory_iterator it(directory, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    names.push_back(it->path().filename());
  }
  std::sort(names.begin(), names.end());
  return !error;
}

}  // namespace

void CopyTree(const fs::path& from, const fs::path& to) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(from, error);
  if (error) throw fs::filesystem_error("cannot copy", from, error);
  if (fs::is_directory(status)) {
    if (!fs::create_directory(to)) {
      throw fs::filesystem_error("cannot copy", from, to,
                                 std::make_error_code(std::errc::file_exists));
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
      CopyTree(entry.path(), to / entry.path().filename());
    }
    return;
  }
  if (!fs::is_regular_file(status) && !fs::is_symlink(status)) {
    throw fs::filesystem_error("cannot copy a device, pipe or socket", from,
                               std::make_error_code(std::errc::not_supported));
  }
  error = CopyFileSynced(from, to);
  if (error) throw fs::filesystem_error("cannot copy", from, to, error);
}

bool SameTree(const fs::path& a, const fs::path& b) {
  struct stat first {};
  struct stat second {};
  if (::lstat(a.c_str(), &first) != 0 || ::lstat(b.c_str(), &second) != 0) return false;
  if ((first.st_mode & S_IFMT) != (second.st_mode & S_IFMT)) return false;
  if (S_ISREG(first.st_mode)) return first.st_size == second.st_size && SameBytes(a, b);
  if (S_ISLNK(first.st_mode)) {
    std::error_code oneError;
    std::error_code twoError;
    const fs::path one = fs::read_symlink(a, oneError);
    const fs::path two = fs::read_symlink(b, twoError);
    return !oneError && !twoError && one == two;
  }
  if (!S_ISDIR(first.st_mode)) return false;
  std::vector<fs::path> names;
  std::vector<fs::path> otherNames;
  if (!SortedNames(a, names) || !SortedNames(b, otherNames) || names != otherNames) return false;
  return std::all_of(names.begin(), names.end(),
                     [&](const fs::path& name) { return SameTree(a / name, b / name); });
}

}  // namespace zelk
