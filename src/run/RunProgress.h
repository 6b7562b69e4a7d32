#pragma once
// How far a run is, as the window's progress bar and the headless runner's
// progress lines show it.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace zelk {

struct RunProgress {
  std::size_t ItemsFinished = 0;  // rows behind the run: done, failed or passed by
  std::size_t ItemCount = 0;      // rows of the work list
  double ItemFraction = 0;        // of the row in progress, from its pages (0..1)
  std::chrono::seconds Elapsed{0};                // since the run started
  std::optional<std::chrono::seconds> Remaining;  // once enough rows or pages are done

  // The whole run as a fraction 0..1.
  double Fraction() const;
};

// "约2分", "约1时5分" (minutes rounded up), or "不到1分钟".
std::string RemainingText(std::chrono::seconds remaining);

// "已完成3/10项，已用1分5秒，剩余约2分" (without the estimate while there is
// none).
std::string ProgressText(const RunProgress& progress);

}  // namespace zelk
