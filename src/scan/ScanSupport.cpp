#include "scan/ScanSupport.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "scan/DirectoryListing.h"

namespace zelk {

namespace fs = std::filesystem;

bool ScanShouldStop(const ScanOptions& options) {
  return options.StopRequested && options.StopRequested();
}

bool IsTemporaryName(const ScanOptions& options, const std::string& name) {
  return options.IsTemporaryOutput && options.IsTemporaryOutput(name);
}

bool PathExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return !error && fs::exists(status) && !fs::is_directory(status);
}

bool Admitted(const ScanOptions& options, const std::string& path) {
  return !options.Admits || options.Admits(path);
}

bool StillSettling(const ScanOptions& options, const std::string& path) {
  if (options.SettleTime.count() <= 0) return false;
  const std::optional<ItemStamp> stamp = StampOf(path);
  if (!stamp) return false;
  const auto now = std::chrono::system_clock::now();
  bool held = false;
  if (stamp->Newest > now + kClockTolerance) {
    held = !(options.FutureTimeSettled && options.FutureTimeSettled(path, *stamp));
  } else {
    held = stamp->Newest > now - options.SettleTime;
  }
  if (held && options.HeldBack) options.HeldBack(path);
  return held;
}

void ReportUnreadable(const ScanOptions& options, const std::string& path) {
  if (options.Unreadable) options.Unreadable(path);
}

int PagesOfPageFile(const std::function<int(const std::string& path)>& pageCount,
                    const std::string& path) {
  if (!pageCount) return 1;
  try {
    return std::max(pageCount(path), 1);
  } catch (...) {
    return 1;
  }
}

void AppendRow(WorkList& rows, const std::string& path, int pages, ScanObserver* observer) {
  WorkRow row;
  row.Number = static_cast<int>(rows.size()) + 1;
  row.Path = path;
  row.Pages = pages;
  rows.push_back(row);
  if (observer != nullptr) {
    observer->OnRowAdded(rows.back());
    observer->OnTotalCount(rows.size());
  }
}

}  // namespace zelk
