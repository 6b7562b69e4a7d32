#pragma once
// How old a file in a shared tree is, by the clock of the file system that
// holds it.
//
// Hosts sharing a tree over the network may disagree about the time; the
// stamps the file server puts on its files do not.  So the present is
// taken as the modification time of a file just made in the same
// directory, and the age is measured against that.

#include <chrono>
#include <filesystem>
#include <optional>

namespace zelk {

// How long ago `path` was last modified, or nothing when its time or the
// present of its directory cannot be had (a directory this process may
// not write into).
std::optional<std::chrono::seconds> AgeOnItsFileSystem(const std::filesystem::path& path);

// True when `path` is known to be older than `limit`.
bool OlderOnItsFileSystem(const std::filesystem::path& path, std::chrono::seconds limit);

}  // namespace zelk
