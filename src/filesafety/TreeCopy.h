#pragma once
// Copying a file or a directory tree as it is, and comparing two trees,
// without ever following a symbolic link: a link is copied and compared as
// the link it is, never as the data it points to.  A file that only the
// source directory's permissions kept private is never read through a link.

#include <filesystem>

namespace zelk {

// Copies `from` (a file, a link, or a directory with everything below it)
// to the new path `to`, which must not exist.  Files are copied with their
// data synced (CopyFileSynced); directories are not synced here (SyncTree
// does that).  Devices, pipes and sockets are refused.  Throws
// std::filesystem::filesystem_error naming the entry that could not be
// copied; what was made before it stays, for the caller to remove.
void CopyTree(const std::filesystem::path& from, const std::filesystem::path& to);

// True when `a` and `b` are the same kind of entry holding the same: files
// with the same bytes, links with the same target text, directories with
// the same names, each the same in turn.  Anything that cannot be read
// makes them differ.
bool SameTree(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace zelk
