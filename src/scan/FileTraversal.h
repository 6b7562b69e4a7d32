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
// The mirrored location of a source file without its extension: its
// result is this path with the target type as extension (or, with no
// target type, a directory of this path).
std::string FileResultBase(const std::string& file, const ScanOptions& options);

// Whether the result of the source file `file` exists.
bool FileIsDone(const std::string& file, const ScanOptions& options);

void FileTraversal(const std::string& directory, const ScanOptions& options, WorkList& rows,
                   ScanObserver* observer = nullptr);

}  // namespace zelk
