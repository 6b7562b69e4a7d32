#pragma once
// Which scan a job runs, with which target type and keep-directory flag.

#include <chrono>
#include <functional>
#include <string>

#include "scan/ScanOptions.h"
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
};

// Runs the requested scan over the source root, appending to `rows`.
void RunScan(const ScanRequest& request, const Settings& settings, const ScanPlace& place,
             WorkList& rows, ScanObserver* observer);

}  // namespace zelk
