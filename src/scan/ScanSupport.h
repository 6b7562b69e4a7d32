#pragma once
// Steps the directory and file scans share.

#include <chrono>
#include <functional>
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

// How far ahead of this machine's clock a file system's times may run
// before an item counts as dated in the future.
inline constexpr std::chrono::seconds kClockTolerance{2};

// True when the settle rule leaves `path` out of this scan: it changed
// within the settle time, or it is dated in the future and
// options.FutureTimeSettled does not let it pass.  Such a path is reported
// to options.HeldBack.
bool StillSettling(const ScanOptions& options, const std::string& path);

// Reports a directory that cannot be listed (options.Unreadable).
void ReportUnreadable(const ScanOptions& options, const std::string& path);

// The pages of the page file at `path` as `pageCount` counts them: at
// least one, and one when it is unset or cannot count the file (reading
// the file then fails its item with its own reason).
int PagesOfPageFile(const std::function<int(const std::string& path)>& pageCount,
                    const std::string& path);

// Appends a row with the next number and reports it.
void AppendRow(WorkList& rows, const std::string& path, int pages, ScanObserver* observer);

}  // namespace zelk
