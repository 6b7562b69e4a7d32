#pragma once
// Which scan a job runs, with which target type and keep-directory flag.

#include <chrono>
#include <functional>
#include <string>

#include "scan/ScanOptions.h"
#include "scan/Shard.h"
#include "scan/WorkList.h"
#include "settings/Settings.h"

namespace zelk {

struct ScanRequest {
  enum class Mode { Directories, Files };
  Mode ScanMode = Mode::Directories;
  std::string TargetType;
  bool KeepDir = false;
  // Directory scans: a job whose outputs are named otherwise than the
  // standard test expects replaces it (see ScanOptions::ResultExists).
  std::function<bool(const std::string& leaf, const std::string& mirrored)> ResultExists;
};

// Where and how to scan; roots as typed (trailing separators are dropped).
struct ScanPlace {
  std::string SourceRoot;
  std::string TargetRoot;
  std::chrono::seconds SettleTime{0};
  std::function<bool()> StopRequested;
  std::function<void(const std::string& path)> HeldBack;  // ScanOptions::HeldBack
  Shard WorkShard;  // this process's share of the items (whole by default)
  std::function<void(const std::string& path)> Unreadable;  // ScanOptions::Unreadable
  // ScanOptions::FutureTimeSettled
  std::function<bool(const std::string& path, const ItemStamp& stamp)> FutureTimeSettled;
};

// The options a scan of `place` runs with.
ScanOptions ScanOptionsFor(const ScanRequest& request, const Settings& settings,
                           const ScanPlace& place);

// The path that stands for a row's result: the mirrored directory of a
// directory row, the mirrored file without its extension of a file row,
// each followed by "." and the job's target type when it has one (b.tif
// and b.jpg both stand for b.pdf); the row's own path when there is no
// output root (renaming in place).  Runs that share a destination claim an
// item under this path.
std::string ResultKeyOf(const ScanRequest& request, const ScanOptions& options,
                        const std::string& rowPath);

// The scan's test whether a row's result exists, asked again now.
bool ResultExistsNow(const ScanRequest& request, const ScanOptions& options,
                     const std::string& rowPath);

// Runs the requested scan over the source root, appending to `rows`.
void RunScan(const ScanRequest& request, const Settings& settings, const ScanPlace& place,
             WorkList& rows, ScanObserver* observer);

}  // namespace zelk
