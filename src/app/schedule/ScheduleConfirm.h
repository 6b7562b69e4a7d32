#pragma once
// The "定时转换" button: stores the chosen schedule mode in the record and
// the settings file.  It starts no run itself.  "停止定时" switches an armed
// schedule off.

#include <optional>
#include <string>

#include "app/schedule/Scheduler.h"
#include "settings/Settings.h"

namespace zelk {

struct ScheduleChoice {
  enum class Mode { None, Daily, Interval };  // which of the two options is selected
  Mode Chosen = Mode::None;
  std::optional<int> Hour;    // the selected item of the hour list, if any
  std::optional<int> Minute;  // the selected item of the minute list, if any
  std::string IntervalText;   // the interval box as typed
};

struct ScheduleConfirmation {
  bool Stored = false;  // false: nothing was changed
  std::string Message;  // for an information message box titled "提示信息"
};

// Daily mode: TimerType 1 and Timer1 "H:M"; interval mode: TimerType 2,
// Timer2 as typed and the interval count restarted; neither option: TimerType
// 0.  Each changed key is written to the settings file.  The daily mode
// without an hour or minute selected stores nothing and asks for the time.
ScheduleConfirmation ConfirmSchedule(Settings& settings, const ScheduleChoice& choice,
                                     Scheduler& scheduler);

// TimerType 0 in the record and the settings file (Timer1 and Timer2 stay
// for the next confirmation); a start deferred during the run in progress
// is dropped.
ScheduleConfirmation StopSchedule(Settings& settings, Scheduler& scheduler);

}  // namespace zelk
