#pragma once
// The work list: one row per leaf directory or image file that a run is to
// process, filled by the scans and read by the jobs.

#include <cstddef>
#include <string>
#include <vector>

namespace zelk {

struct WorkRow {
  static constexpr int kUnknownPages = -1;

  int Number = 0;      // "序号": rows before it plus 1
  std::string Path;    // "文档图像": full path of the leaf directory or image file
  int Pages = 0;       // "页数"; kUnknownPages when the file could not be read
  std::string Status;  // "状态": the job's status word

  // The key of the row in the window's list: "D" and the number.
  std::string Key() const { return "D" + std::to_string(Number); }
  // "页数" as shown: the count, or "?" when it could not be read.
  std::string PagesText() const { return Pages == kUnknownPages ? "?" : std::to_string(Pages); }
};

using WorkList = std::vector<WorkRow>;

// What a scan reports while it runs.  Called on the scanning thread.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;
  // A row was appended (the window shows it and scrolls it into view).
  virtual void OnRowAdded(const WorkRow& row) { (void)row; }
  // The total label "总共" changed.
  virtual void OnTotalCount(std::size_t rows) { (void)rows; }
};

}  // namespace zelk
