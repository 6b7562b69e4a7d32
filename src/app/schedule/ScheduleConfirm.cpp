#include "app/schedule/ScheduleConfirm.h"

#include "settings/SettingsFile.h"

namespace zelk {
namespace {

const char* const kTwoIdeographicSpaces = "\u3000\u3000";

}  // namespace

ScheduleConfirmation ConfirmSchedule(Settings& settings, const ScheduleChoice& choice,
                                     Scheduler& scheduler) {
  using Mode = ScheduleChoice::Mode;
  if (choice.Chosen == Mode::Daily && (!choice.Hour || !choice.Minute)) {
    return {false, std::string("请选择定时转换的时间！") + kTwoIdeographicSpaces};
  }
  settings.Common.TimerType = 0;
  if (choice.Chosen == Mode::Daily) {
    settings.Common.TimerType = 1;
    settings.Timer.Timer1 = std::to_string(*choice.Hour) + ":" + std::to_string(*choice.Minute);
    WriteSettingKey(settings, SettingId::Timer_Timer1);
  }
  if (choice.Chosen == Mode::Interval) {
    settings.Common.TimerType = 2;
    settings.Timer.Timer2 = choice.IntervalText;
    WriteSettingKey(settings, SettingId::Timer_Timer2);
    scheduler.RestartInterval();
  }
  WriteSettingKey(settings, SettingId::Common_TimerType);
  return {true, std::string("定时转换策略已启动！") + kTwoIdeographicSpaces};
}

ScheduleConfirmation StopSchedule(Settings& settings, Scheduler& scheduler) {
  settings.Common.TimerType = 0;
  WriteSettingKey(settings, SettingId::Common_TimerType);
  scheduler.Disarm();
  return {true, std::string("定时转换策略已停止！") + kTwoIdeographicSpaces};
}

}  // namespace zelk
