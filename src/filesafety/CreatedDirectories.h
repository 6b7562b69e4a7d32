#pragma once
// Directories an item creates on its way to its output, and taking them
// away again when the item leaves nothing in them.
//
// Several runs may work in one tree at once: a directory this item made
// may since have received another run's files, so it is only ever removed
// while empty, never with what is inside.

#include <filesystem>

namespace zelk {

// The highest level of `directory` that does not exist yet (a link counts
// as existing), or an empty path when `directory` exists.
std::filesystem::path HighestMissingDirectory(const std::filesystem::path& directory);

// Removes `deepest` and then its parents, up to and including `highest`,
// as long as each is empty.  Nothing happens when `highest` is empty.
void RemoveEmptyDirectories(const std::filesystem::path& deepest,
                            const std::filesystem::path& highest);

}  // namespace zelk
