#pragma once
// File-mode scan: one work-list row per image file whose result does not
// exist yet.  Within a directory its files come first, in natural order;
// then the tree below each plain, visible subdirectory in turn.  Files
// directly in the source root are rows too.

#include <string>

#include "scan/ScanOptions.h"
#include "scan/WorkList.h"

namespace zelk {

// Appends the rows found in and below `directory` (the first call passes
// the source root).  The list is never cleared here.
void FileTraversal(const std::string& directory, const ScanOptions& options, WorkList& rows,
                   ScanObserver* observer = nullptr);

}  // namespace zelk
