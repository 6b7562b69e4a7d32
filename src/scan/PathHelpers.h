#pragma once
// Taking paths and file names apart, and creating output directories.
// Paths are UTF-8 text split and joined at kPathSeparator only; the dot is
// the only extension mark.  Only MakeDirPath looks at the file system.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/PathSeparator.h"

namespace zelk {

// Everything up to and including the last separator; empty when there is none.
std::string GetParentPath(std::string_view path);

// Everything after the last separator; the whole text when there is none.
std::string GetFileNamePart(std::string_view path);

// Everything before the last dot; the whole name when it holds no dot.
std::string GetBaseName(std::string_view fileName);

// Everything after the last dot, case kept; the whole name when it holds no dot.
std::string GetExtName(std::string_view fileName);

// Creates every missing directory along `path`, level by level.  A leading
// separator makes the path absolute; a trailing one changes nothing.
// Throws std::filesystem::filesystem_error naming the level that failed when
// a level exists but is not a directory or cannot be created, and for an
// empty path.
void MakeDirPath(const std::string& path);

}  // namespace zelk
