#include "app/schedule/Scheduler.h"

#include "app/schedule/DailyTime.h"
#include "platform/LenientNumber.h"

namespace zelk {
namespace {

// Ticks may come a little late; a gap up to this long still counts as
// passing the seconds in between.  Longer gaps (a sleeping computer, a
// clock set forward) do not make up a missed time.
constexpr int kLongestTickGap = 2;

bool Reached(const std::optional<LocalDateTime>& previous, const LocalDateTime& now, int target) {
  const int second = now.SecondOfDay();
  if (second == target) return true;
  if (!previous || !previous->SameDate(now)) return false;
  const int before = previous->SecondOfDay();
  return before < target && target < second && second - before <= kLongestTickGap;
}

}  // namespace

bool Scheduler::OnDailyTick(const Settings& settings, bool runActive) {
  const LocalDateTime now = ToLocalDateTime(clock_.Now());
  const std::optional<LocalDateTime> previous = lastDailyTick_;
  lastDailyTick_ = now;
  if (settings.Common.TimerType != 1) return false;
  const std::optional<int> target = ParseDailyTime(settings.Timer.Timer1);
  if (!target || !Reached(previous, now, *target)) return false;
  // Once a day for a given time, even when the clock passes it twice.
  if (lastDailyStart_ && lastDailyStart_->SameDate(now) && lastDailyTarget_ == *target) {
    return false;
  }
  lastDailyStart_ = now;
  lastDailyTarget_ = *target;
  return StartOrDefer(runActive, Origin::Daily);
}

bool Scheduler::OnIntervalTick(const Settings& settings, bool runActive) {
  if (settings.Common.TimerType != 2) return false;
  ++counter_;
  const double target = LeadingNumber(settings.Timer.Timer2) * 60;
  if (static_cast<double>(counter_) != target) return false;
  return StartOrDefer(runActive, Origin::Interval);
}

bool Scheduler::StartOrDefer(bool runActive, Origin origin) {
  if (runActive || running_ != Origin::None) {
    if (deferred_ == Origin::None) deferred_ = origin;
    return false;
  }
  running_ = origin;
  return true;
}

bool Scheduler::OnRunEnded() {
  if (running_ == Origin::Interval) counter_ = 0;
  running_ = Origin::None;
  if (deferred_ == Origin::None) return false;
  running_ = deferred_;
  deferred_ = Origin::None;
  return true;
}

}  // namespace zelk
