#pragma once
// Directory-mode scan: one work-list row per leaf directory (a plain,
// visible directory without such a directory inside) whose result does not
// exist yet.  Within a directory its own leaves come first, in natural
// order; then the tree below each further subdirectory in turn.  The
// starting directory itself is never a row.  A directory that cannot be
// listed counts as a leaf without pages, so its job reports why it failed.

#include <string>
#include <vector>

#include "scan/DirectoryListing.h"
#include "scan/ScanOptions.h"
#include "scan/WorkList.h"

namespace zelk {

// Appends the rows found below `directory` (the first call passes the
// source root).  The list is never cleared here.
void DirTraversal(const std::string& directory, const ScanOptions& options, WorkList& rows,
                  ScanObserver* observer = nullptr);

// The standard test whether a leaf's result exists, from its mirrored path:
// with an empty target type a directory or file of that path; otherwise the
// file <mirrored>/<last part>.<type> (KeepDir) or <mirrored>.<type>.
bool DirResultExists(const std::string& mirrored, const ScanOptions& options);

// Whether the result of the leaf directory `leaf` exists: the job's own
// test (ScanOptions::ResultExists) or the standard one.
bool LeafIsDone(const std::string& leaf, const ScanOptions& options);

// The pages of the page files among the entries of the leaf directory
// `leaf`: visible files whose lower-cased name contains ".tif" (CountTif)
// or ".jpg" (CountJpg), every page of a multi-page file counted
// (PagesOfPageFile with options.PageCount).  WorkRow::kUnknownPages when
// one of them is a link out of the source root, which is never read.
int CountLeafPages(const std::string& leaf, const std::vector<DirEntry>& entries,
                   const ScanOptions& options);

}  // namespace zelk
