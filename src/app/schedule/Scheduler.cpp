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

NextStart Scheduler::Next(const Settings& settings) const {
  NextStart next;
  const int type = settings.Common.TimerType;
  if (type != 1 && type != 2) return next;
  if (deferred_ != Origin::None) {
    next.When = NextStart::Kind::AfterRun;
    return next;
  }
  const TimePoint now = clock_.Now();
  next.When = NextStart::Kind::Never;
  if (type == 1) {
    const std::optional<int> target = ParseDailyTime(settings.Timer.Timer1);
    if (!target) return next;
    const LocalDateTime today = ToLocalDateTime(now);
    const int second = today.SecondOfDay();
    const bool startedToday = lastDailyStart_ && lastDailyStart_->SameDate(today) &&
                              lastDailyTarget_ == *target;
    const bool stillToday = !startedToday && second <= *target;
    const int wait = *target - second + (stillToday ? 0 : 24 * 3600);
    next.When = NextStart::Kind::At;
    next.At = ToLocalDateTime(now + std::chrono::seconds(wait));
    return next;
  }
  // The counter starts a run only on the exact second it reaches (and no
  // counter reaches a trillion seconds).
  const double target = LeadingNumber(settings.Timer.Timer2) * 60;
  if (!(target >= 1 && target <= 1e12)) return next;
  const auto whole = static_cast<long long>(target);
  if (static_cast<double>(whole) != target) return next;
  if (running_ == Origin::Interval) {
    next.When = NextStart::Kind::AfterRun;
    next.MinutesAfter = whole / 60;
    return next;
  }
  if (counter_ >= whole) return next;
  next.When = NextStart::Kind::At;
  next.WithSeconds = true;
  next.At = ToLocalDateTime(now + std::chrono::seconds(whole - counter_));
  return next;
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
