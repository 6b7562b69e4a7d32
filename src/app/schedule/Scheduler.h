#pragma once
// The two one-second timers of the schedule, without any window: the shell
// calls the tick handlers once a second and starts a run (as "立即转换"
// does, but as a scheduled run) whenever one returns true.
//
//   - Daily ([Common] TimerType 1): a run starts when the clock reaches
//     [Timer] Timer1, once that day.  A time missed while the program was
//     not running (or the computer slept) is not made up.
//   - Interval (TimerType 2): a counter counts the seconds; when it reaches
//     [Timer] Timer2 minutes a run starts, and when that run has ended the
//     counter starts again from 0.  So the first run comes N minutes after
//     confirmation (or program start), each further one N minutes after the
//     previous run ended, and interval runs never overlap.
//
// A scheduled start that falls while a run is in progress waits: it starts
// once, when that run ends (OnRunEnded returns true).

#include <optional>

#include "app/schedule/NextStart.h"
#include "platform/Clock.h"
#include "settings/Settings.h"

namespace zelk {

class Scheduler {
 public:
  explicit Scheduler(const Clock& clock) : clock_(clock) {}

  // tmrTimer.  `runActive`: a run is in progress now.
  bool OnDailyTick(const Settings& settings, bool runActive);
  // tmrAuto.
  bool OnIntervalTick(const Settings& settings, bool runActive);

  // Every run's end, whoever started it (also a start that did not get past
  // its checks).  True: a scheduled start deferred during that run is due.
  bool OnRunEnded();

  // Confirming the interval mode starts the count afresh.
  void RestartInterval() { counter_ = 0; }
  long long IntervalSeconds() const { return counter_; }

  // The schedule was switched off: a start deferred during the run in
  // progress is dropped too.
  void Disarm() { deferred_ = Origin::None; }

  // When the schedule of `settings` starts its next run, as the timers
  // will decide it from now on.
  NextStart Next(const Settings& settings) const;

 private:
  enum class Origin { None, Daily, Interval };
  bool StartOrDefer(bool runActive, Origin origin);

  const Clock& clock_;
  std::optional<LocalDateTime> lastDailyTick_;
  std::optional<LocalDateTime> lastDailyStart_;
  int lastDailyTarget_ = -1;
  long long counter_ = 0;
  Origin running_ = Origin::None;   // the run in progress, when the schedule started it
  Origin deferred_ = Origin::None;  // a start waiting for the run in progress
};

}  // namespace zelk
