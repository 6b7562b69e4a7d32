#pragma once
#include <string>
#include <string_view>
#include <system_error>

namespace zelk {

// Replaces the contents of `path` with `data` so that a crash or a full disk
// never leaves a truncated file: the data goes to a temporary file beside
// the target, which is then renamed over it.  The target keeps its
// permission bits; a symbolic link is followed and the file it names is
// replaced, as long as that file lies in the link's directory or below it:
// a link leading out of it fails with ELOOP and nothing is written.  Where no temporary file can be made beside the target (a
// directory the user may not write to), the target is rewritten in place.
// Returns false and sets `error` on failure; the target is then unchanged
// unless the in-place fallback failed part-way.
bool ReplaceFileContents(const std::string& path, std::string_view data, std::error_code& error);

}  // namespace zelk
