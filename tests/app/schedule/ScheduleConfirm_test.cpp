#include "app/schedule/ScheduleConfirm.h"

#include <gtest/gtest.h>

#include "settings/SettingsFile.h"
#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

class ScheduleConfirmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(dir_.File("ZELK.conf"), DefaultSettingsFileText());
    ASSERT_TRUE(LoadSettings(dir_.Path().string(), settings_));
  }
  Settings Reread() const {
    Settings reread;
    LoadSettings(dir_.Path().string(), reread);
    return reread;
  }

  test::TempDir dir_;
  Settings settings_;
  test::FakeClock clock_{test::At(2026, 3, 7, 0, 0, 0)};
  Scheduler scheduler_{clock_};
};

TEST_F(ScheduleConfirmTest, DailyModeStoresTheTimeAndTheMode) {
  ScheduleChoice choice{ScheduleChoice::Mode::Daily, 8, 5, "5"};
  const ScheduleConfirmation done = ConfirmSchedule(settings_, choice, scheduler_);
  EXPECT_TRUE(done.Stored);
  EXPECT_EQ(done.Message, "定时转换策略已启动！\u3000\u3000");
  EXPECT_EQ(settings_.Common.TimerType, 1);
  EXPECT_EQ(settings_.Timer.Timer1, "8:5");
  EXPECT_EQ(Reread().Common.TimerType, 1);
  EXPECT_EQ(Reread().Timer.Timer1, "8:5");
}

TEST_F(ScheduleConfirmTest, DailyModeWithoutHourOrMinuteStoresNothing) {
  const Settings before = Reread();
  const std::string fileBefore = test::ReadBytes(dir_.File("ZELK.conf"));
  for (const ScheduleChoice& choice : {ScheduleChoice{ScheduleChoice::Mode::Daily, {}, 30, ""},
                                       ScheduleChoice{ScheduleChoice::Mode::Daily, 8, {}, ""}}) {
    const ScheduleConfirmation refused = ConfirmSchedule(settings_, choice, scheduler_);
    EXPECT_FALSE(refused.Stored);
    EXPECT_EQ(refused.Message, "请选择定时转换的时间！\u3000\u3000");
  }
  EXPECT_EQ(settings_.Common.TimerType, before.Common.TimerType);
  EXPECT_EQ(test::ReadBytes(dir_.File("ZELK.conf")), fileBefore);
}

TEST_F(ScheduleConfirmTest, IntervalModeStoresTheTextAndRestartsTheCount) {
  settings_.Common.TimerType = 2;
  settings_.Timer.Timer2 = "5";
  for (int i = 0; i < 100; ++i) scheduler_.OnIntervalTick(settings_, false);
  ConfirmSchedule(settings_, {ScheduleChoice::Mode::Interval, {}, {}, "10x"}, scheduler_);
  EXPECT_EQ(scheduler_.IntervalSeconds(), 0);
  EXPECT_EQ(Reread().Common.TimerType, 2);
  EXPECT_EQ(Reread().Timer.Timer2, "10x");
}

TEST_F(ScheduleConfirmTest, NeitherOptionStoresNoScheduleAndStillConfirms) {
  settings_.Common.TimerType = 1;
  const ScheduleConfirmation done =
      ConfirmSchedule(settings_, {ScheduleChoice::Mode::None, {}, {}, ""}, scheduler_);
  EXPECT_TRUE(done.Stored);
  EXPECT_EQ(done.Message, "定时转换策略已启动！\u3000\u3000");
  EXPECT_EQ(Reread().Common.TimerType, 0);
}

TEST_F(ScheduleConfirmTest, SwitchingOffStoresModeZeroAndDropsAStartWaitingForARun) {
  test::UseUtc();
  ScheduleChoice daily;
  daily.Chosen = ScheduleChoice::Mode::Daily;
  daily.Hour = 0;
  daily.Minute = 0;
  ConfirmSchedule(settings_, daily, scheduler_);
  ASSERT_FALSE(scheduler_.OnDailyTick(settings_, true));  // 0:00 falls inside a run: deferred

  const ScheduleConfirmation stopped = StopSchedule(settings_, scheduler_);
  EXPECT_TRUE(stopped.Stored);
  EXPECT_EQ(stopped.Message, "定时转换策略已停止！\u3000\u3000");
  EXPECT_EQ(settings_.Common.TimerType, 0);
  EXPECT_EQ(Reread().Common.TimerType, 0);
  EXPECT_EQ(Reread().Timer.Timer1, "0:0");  // kept for the next confirmation
  EXPECT_FALSE(scheduler_.OnRunEnded());
  EXPECT_EQ(scheduler_.Next(settings_).When, NextStart::Kind::None);
}

}  // namespace
}  // namespace zelk
