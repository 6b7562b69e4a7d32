#pragma once
// The source file of a file row, as the per-file jobs read it.

#include <cstddef>
#include <string>

namespace zelk {

class RunContext;

// The start of the reason an item fails with when its source is a
// symbolic link that leads out of the source root.
inline constexpr const char* kLinkLeavesSource = "链接指向源目录之外：";

// The path of row `index`, to read its pages from.  A symbolic link whose
// target lies outside the source root is never read through: it could hand
// out a file that only its own directory's permissions kept private.  For
// such a row this throws std::runtime_error with kLinkLeavesSource and the
// path, and the item fails; links that stay inside the root are read.
const std::string& PageSourceFile(const RunContext& context, std::size_t index);

}  // namespace zelk
