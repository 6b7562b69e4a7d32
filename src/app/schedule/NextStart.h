#pragma once
// When the armed schedule starts its next run, and the line the window
// shows for it ("下次转换：12月8日 02:00").

#include <string>

#include "platform/Clock.h"

namespace zelk {

struct NextStart {
  enum class Kind {
    None,      // no schedule armed ([Common] TimerType 0)
    At,        // at `At`
    AfterRun,  // when the run in progress ends, `MinutesAfter` minutes later
    Never,     // armed, but its time or interval can never be reached
  };
  Kind When = Kind::None;
  LocalDateTime At;
  bool WithSeconds = false;  // interval starts fall on any second
  long long MinutesAfter = 0;
};

// "下次转换：3月7日 08:30" (seconds added for interval starts),
// "下次转换：本次转换结束后5分钟", "下次转换：本次转换结束后",
// "下次转换：无（定时设置无效）"; empty without a schedule.
std::string NextStartText(const NextStart& next);

}  // namespace zelk
