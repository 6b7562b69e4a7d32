#pragma once
// Steps the directory and file scans share.

#include <string>

#include "scan/ScanOptions.h"
#include "scan/WorkList.h"

namespace zelk {

bool ScanShouldStop(const ScanOptions& options);
bool IsTemporaryName(const ScanOptions& options, const std::string& name);

// A file or directory of that path exists.
bool PathExists(const std::string& path);
// Something other than a directory exists at that path.
bool FileExists(const std::string& path);

// Whether `path` is this process's to convert (options.Admits).
bool Admitted(const ScanOptions& options, const std::string& path);

// True when the settle rule leaves `path` out of this scan; such a path is
// reported to options.HeldBack.
bool StillSettling(const ScanOptions& options, const std::string& path);

// Appends a row with the next number and reports it.
void AppendRow(WorkList& rows, const std::string& path, int pages, ScanObserver* observer);

}  // namespace zelk
