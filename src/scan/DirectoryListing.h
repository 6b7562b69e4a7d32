#pragma once
// One directory's entries, read completely and sorted in natural order.
//
// A directory is entered only when it is a plain, visible directory: names
// that start with a dot are hidden, and a symbolic link is never followed
// as a directory.  Permissions play no part in that choice.  A directory
// that cannot be listed completely (no read permission, or no search
// permission, so its entries cannot be looked at) gives no entries.

#include <chrono>
#include <string>
#include <vector>

namespace zelk {

struct DirEntry {
  enum class Kind {
    Directory,    // a real directory (not a link to one)
    File,         // a regular file, directly or through a symbolic link
    Other,        // a link to a directory, a dangling link, a device, a pipe ...
    OutsideLink,  // a link to a file outside the root (ListDirectoryWithin only)
  };
  std::string Name;
  Kind Type = Kind::Other;
  bool Hidden = false;  // the name starts with a dot

  // A directory the scans walk into and that makes its parent a non-leaf.
  bool IsPlainDirectory() const { return Type == Kind::Directory && !Hidden; }
  bool IsFile() const { return Type == Kind::File; }
  bool LeavesRoot() const { return Type == Kind::OutsideLink; }
};

// The entries of `directory` without "." and "..", in natural order of
// their names.  Empty when the directory cannot be listed.
std::vector<DirEntry> ListDirectory(const std::string& directory);

// The same, telling a directory that cannot be listed (false) from an
// empty one.
bool ListDirectory(const std::string& directory, std::vector<DirEntry>& entries);

// True when `path` is a symbolic link whose target, fully resolved, lies
// outside the directory `root` (also resolved), or cannot be resolved.
// Pages are never read through such a link: it could hand out a file that
// only its own directory's permissions kept private.
bool LinkLeavesRoot(const std::string& path, const std::string& root);

// ListDirectory, with every link to a file that leaves `root`
// (LinkLeavesRoot) as Kind::OutsideLink: no file to read, but one the
// caller can report.  Links that stay inside the root are files as before.
bool ListDirectoryWithin(const std::string& directory, const std::string& root,
                         std::vector<DirEntry>& entries);

// The same for a directory a job works on: throws std::runtime_error
// "无法读取目录“…”" when it cannot be listed, so the item fails.  With a
// `root`, links that leave it are Kind::OutsideLink (ListDirectoryWithin).
std::vector<DirEntry> ListDirectoryOrFail(const std::string& directory,
                                          const std::string& root = {});

// Joins a directory and an entry name with one separator.
std::string JoinPath(const std::string& directory, const std::string& name);

}  // namespace zelk
