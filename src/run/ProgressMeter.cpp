#include "run/ProgressMeter.h"

#include <algorithm>

namespace zelk {
namespace {

std::chrono::seconds WholeSeconds(TimePoint from, TimePoint to) {
  return std::max(std::chrono::seconds(0),
                  std::chrono::duration_cast<std::chrono::seconds>(to - from));
}

}  // namespace

ProgressMeter::ProgressMeter(const Clock& clock, TimePoint runStart, const WorkList& rows,
                             RunObserver& observer)
    : clock_(clock), runStart_(runStart), rows_(rows), observer_(observer) {}

void ProgressMeter::BeginItems() {
  itemsStart_ = clock_.Now();
  pagesKnown_ = !rows_.empty();
  totalPages_ = 0;
  for (const WorkRow& row : rows_) {
    if (row.Pages < 0) pagesKnown_ = false;
    totalPages_ += std::max(row.Pages, 0);
  }
  if (totalPages_ <= 0) pagesKnown_ = false;
  Report(itemsStart_);
}

double ProgressMeter::PagesOf(std::size_t index) const {
  return index < rows_.size() ? std::max(rows_[index].Pages, 0) : 0;
}

void ProgressMeter::PageStarted(std::size_t index, long long page, long long pageCount) {
  if (pageCount <= 0) return;
  current_ = index;
  currentFraction_ = std::clamp(static_cast<double>(page - 1) / static_cast<double>(pageCount),
                                0.0, 1.0);
  const TimePoint now = clock_.Now();
  if (lastReport_ && now >= *lastReport_ && now - *lastReport_ < kProgressInterval) return;
  Report(now);
}

void ProgressMeter::ItemEnded(std::size_t index) {
  ++finished_;
  pagesFinished_ += PagesOf(index);
  currentFraction_ = 0;
  Report(clock_.Now());
}


RunProgress ProgressMeter::At(TimePoint now) const {
  RunProgress progress;
  progress.ItemsFinished = std::min(finished_, rows_.size());
  progress.ItemCount = rows_.size();
  progress.ItemFraction = progress.ItemsFinished < progress.ItemCount ? currentFraction_ : 0;
  progress.Elapsed = WholeSeconds(runStart_, now);
  progress.Remaining = Estimate(now);
  return progress;
}

// Time left = time so far × work left ÷ work done, the work counted in
// pages where every row's count is known, else in rows.
std::optional<std::chrono::seconds> ProgressMeter::Estimate(TimePoint now) const {
  const double spent = std::chrono::duration<double>(now - itemsStart_).count();
  if (spent < 0) return std::nullopt;
  double done = 0;
  double total = 0;
  bool enough = finished_ >= kItemsBeforeEstimate;
  if (pagesKnown_) {
    done = pagesFinished_ + currentFraction_ * PagesOf(current_);
    total = totalPages_;
    enough = enough || done >= kPagesBeforeEstimate;
  } else {
    done = static_cast<double>(finished_) + currentFraction_;
    total = static_cast<double>(rows_.size());
  }
  if (!enough || done <= 0) return std::nullopt;
  const double left = std::max(0.0, total - done) * spent / done;
  return std::chrono::seconds(static_cast<long long>(left + 0.5));
}

void ProgressMeter::Report(TimePoint now) {
  lastReport_ = now;
  observer_.OnProgress(At(now));
}

}  // namespace zelk
