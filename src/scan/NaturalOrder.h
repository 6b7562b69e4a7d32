#pragma once
// The order in which directory entries are taken: case-insensitive, with
// runs of digits compared by their value, so that scan2 comes before
// scan10 and P2 before p10.  The listing order of the file system is no
// order at all on Linux; this one fixes the page order of every output.

#include <string_view>

namespace zelk {

// Strict weak order over names.  Names that differ only in letter case or
// in leading zeros are ordered by their bytes, so distinct names never
// compare equal.
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace zelk
