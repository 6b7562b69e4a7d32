#pragma once
// Putting a failed item's source into the Error tree under the output root.
//
// Nothing in the Error tree is ever replaced: a file there may be a moved
// original, its only copy.  A copy or move takes the first free name of
// "scan.tif", "scan (2).tif", "scan (3).tif" ... (the number goes before the
// last extension; a directory becomes "dir (2)"), claimed by a rename that
// refuses a name already taken, so that runs writing one Error tree at once
// never take the same name.  A copy is not made again when one of those
// names already holds the same content: an item that fails on every run is
// kept once, not once per run.
//
// Copies are built whole under a temporary name beside the final one,
// synced and renamed into place, so a copy that cannot be finished (a full
// disk) leaves nothing behind.  Symbolic links are copied as links and
// never followed.
//
// The Error tree lies below the destination root, passed as `root`; its
// directories are reached from the root without following links
// (filesafety/DirectoryBeneath.h), so a link planted in the destination
// ("Error -> /elsewhere") refuses the copy with LinkInPathError instead of
// writing elsewhere.
//
// Each function creates the missing directories, returns where the source
// now lies in the Error tree, and throws std::filesystem::filesystem_error
// (or LinkInPathError) when it cannot finish.

#include <exception>
#include <filesystem>
#include <string>

namespace zelk {

// Copies the directory `source` with everything below it to `target`, or
// to the first free numbered name beside it.
std::filesystem::path CopyDirectoryInto(const std::string& root, const std::string& source,
                                        const std::string& target);

// Copies the file (or link) into `directory` under its own name, or the
// first free numbered one.
std::filesystem::path CopyFileInto(const std::string& root, const std::string& file,
                                   const std::string& directory);

// Moves the file (or link) into `directory` under its own name, or the
// first free numbered one.  On one file system this is a rename; across
// file systems the file is copied whole first and removed from the source
// only once the copy is in place.
std::filesystem::path MoveFileInto(const std::string& root, const std::string& file,
                                   const std::string& directory);

// Name number `number` of the family of `path` (1: the path itself):
// "scan (2).tif", or "dir (2)" for a directory.
std::filesystem::path NumberedErrorName(const std::filesystem::path& path, int number,
                                        bool directory);

// Why an Error-tree copy failed, for the status line: the system's reason
// ("磁盘空间不足" for a full disk), and the entry it concerns when that is
// not `item` itself.
std::string ErrorTreeFailureReason(const std::exception& error, const std::string& item);

}  // namespace zelk
