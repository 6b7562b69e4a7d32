#pragma once
// The checks of the two roots a run makes before it writes anything.
//
// The source root must be a directory the run can list and enter: a
// missing or unreadable root would otherwise scan as empty and the run
// would report "nothing found".  The output root must not be the source
// root or lie inside it, compared on the real locations (links resolved,
// trailing separators ignored, an output root not created yet through its
// nearest existing parent): the outputs would become sources of the next
// scan and the Error tree a copy inside what it copies.  An empty output
// root (renaming in place) is not compared.

#include <optional>
#include <string>

#include "platform/UserMessage.h"

namespace zelk {

// The message refusing the run, or nothing when both roots are fit.
std::optional<UserMessage> CheckRoots(const std::string& sourceRoot,
                                      const std::string& targetRoot);

}  // namespace zelk
