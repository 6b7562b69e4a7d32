#pragma once
// The destination tree mirrors the source tree: a source path's target is
// the output root followed by the part of the path below the source root.
//
// Roots are used without trailing separators, so that "/in/" and "/in"
// mirror alike; the file-system root "/" stays as it is.

#include <string>

namespace zelk {

// `root` without trailing separators, except that "/" (or "//") stays "/".
std::string NormalizeRoot(const std::string& root);

// The part of `path` below `root` (both as the scans build them): empty for
// the root itself, else starting with a separator ("/a/b").
std::string RelativePart(const std::string& path, const std::string& sourceRoot);

// `targetRoot` followed by the relative part of `path`.
std::string MirrorPath(const std::string& path, const std::string& sourceRoot,
                       const std::string& targetRoot);

}  // namespace zelk
