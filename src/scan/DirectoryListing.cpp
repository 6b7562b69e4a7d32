#include "scan/DirectoryListing.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/PathSeparator.h"
#include "platform/Quoting.h"
#include "scan/NaturalOrder.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

// The kind of an entry; `unreadable` is set when the entry itself cannot
// be looked at because the directory cannot be searched (an entry removed
// meanwhile is merely of no kind).
DirEntry::Kind KindOf(const fs::directory_entry& entry, bool& unreadable) {
  std::error_code error;
  const fs::file_status own = entry.symlink_status(error);
  if (error) {
    unreadable = unreadable || error != std::errc::no_such_file_or_directory;
    return DirEntry::Kind::Other;
  }
  if (fs::is_directory(own)) return DirEntry::Kind::Directory;
  if (fs::is_regular_file(own)) return DirEntry::Kind::File;
  if (fs::is_symlink(own) && fs::is_regular_file(entry.status(error)) && !error) {
    return DirEntry::Kind::File;
  }
  return DirEntry::Kind::Other;
}

}  // namespace

std::vector<DirEntry> ListDirectory(const std::string& directory) {
  std::vector<DirEntry> entries;
  ListDirectory(directory, entries);
  return entries;
}

bool ListDirectory(const std::string& directory, std::vector<DirEntry>& entries) {
  entries.clear();
  std::error_code error;
  fs::directory_iterator it(directory, error);
  if (error) return false;
  bool unreadable = false;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    std::string name = it->path().filename().string();
    const bool hidden = !name.empty() && name.front() == '.';
    entries.push_back(DirEntry{std::move(name), KindOf(*it, unreadable), hidden});
  }
  // Names that cannot be looked at, or a listing cut short, are not the
  // directory's contents.
  if (error || unreadable) {
    entries.clear();
    return false;
  }
  std::sort(entries.begin(), entries.end(),
            [](const DirEntry& a, const DirEntry& b) { return NaturalLess(a.Name, b.Name); });
  return true;
}

namespace {

// Whether the resolved `path` is `root` or lies below it.
bool Inside(const fs::path& path, const fs::path& root) {
  return std::mismatch(root.begin(), root.end(), path.begin(), path.end()).first == root.end();
}

bool LeavesResolvedRoot(const std::string& path, const fs::path& resolvedRoot) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error)) || error) return false;
  const fs::path target = fs::canonical(path, error);
  return error || resolvedRoot.empty() || !Inside(target, resolvedRoot);
}

fs::path ResolvedRoot(const std::string& root) {
  std::error_code error;
  fs::path resolved = fs::canonical(root, error);
  return error ? fs::path() : resolved;
}

}  // namespace

bool LinkLeavesRoot(const std::string& path, const std::string& root) {
  return LeavesResolvedRoot(path, ResolvedRoot(root));
}

bool ListDirectoryWithin(const std::string& directory, const std::string& root,
                         std::vector<DirEntry>& entries) {
  if (!ListDirectory(directory, entries)) return false;
  const fs::path resolvedRoot = ResolvedRoot(root);
  for (DirEntry& entry : entries) {
    if (entry.IsFile() && LeavesResolvedRoot(JoinPath(directory, entry.Name), resolvedRoot)) {
      entry.Type = DirEntry::Kind::OutsideLink;
    }
  }
  return true;
}

std::vector<DirEntry> ListDirectoryOrFail(const std::string& directory, const std::string& root) {
  std::vector<DirEntry> entries;
  const bool listed =
      root.empty() ? ListDirectory(directory, entries) : ListDirectoryWithin(directory, root, entries);
  if (!listed) throw std::runtime_error("无法读取目录" + Quoted(directory));
  return entries;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == kPathSeparator) return directory + name;
  return directory + kPathSeparator + name;
}

}  // namespace zelk
