#pragma once
// Follows the rows of a run and reports how far it is (RunObserver::
// OnProgress): at the start of the rows, after every row, and while a row
// works through its pages at most every kProgressInterval, so that a job
// showing every page does not flood the window.
//
// The time left is estimated once kItemsBeforeEstimate rows are behind the
// run (or kPagesBeforeEstimate pages, when every row's page count is
// known): from the time per page when the page counts are known, else from
// the time per row, both measured from the start of the rows.

#include <chrono>
#include <cstddef>
#include <optional>

#include "platform/Clock.h"
#include "run/RunObserver.h"
#include "run/RunProgress.h"
#include "scan/WorkList.h"

namespace zelk {

inline constexpr std::size_t kItemsBeforeEstimate = 3;
inline constexpr double kPagesBeforeEstimate = 10;
inline constexpr std::chrono::milliseconds kProgressInterval{100};

class ProgressMeter {
 public:
  // `rows` is the run's work list, complete once BeginItems is called; it
  // and the other arguments must outlive the meter.
  ProgressMeter(const Clock& clock, TimePoint runStart, const WorkList& rows,
                RunObserver& observer);

  // The rows begin: reports none of them finished.
  void BeginItems();
  // Row `index` works on page `page` (from 1) of `pageCount`; the pages
  // before it are done.  Reported unless the last report is too recent.
  void PageStarted(std::size_t index, long long page, long long pageCount);
  // Row `index` is behind the run, whatever became of it.  Always reported.
  void ItemEnded(std::size_t index);

 private:
  RunProgress At(TimePoint now) const;
  std::optional<std::chrono::seconds> Estimate(TimePoint now) const;
  void Report(TimePoint now);
  double PagesOf(std::size_t index) const;

  const Clock& clock_;
  TimePoint runStart_;
  const WorkList& rows_;
  RunObserver& observer_;
  TimePoint itemsStart_{};
  bool pagesKnown_ = false;
  double totalPages_ = 0;
  std::size_t finished_ = 0;
  double pagesFinished_ = 0;        // of the rows behind the run
  std::size_t current_ = 0;         // the row in progress
  double currentFraction_ = 0;      // of it
  std::optional<TimePoint> lastReport_;
};

}  // namespace zelk
