#include "app/schedule/NextStart.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/schedule/Scheduler.h"
#include "support/FakeClock.h"

namespace zelk {
namespace {

using std::chrono::seconds;

class NextStartTest : public ::testing::Test {
 protected:
  void SetUp() override { test::UseUtc(); }
  std::string Text() const { return NextStartText(scheduler_.Next(settings_)); }
  void Daily(const char* time) {
    settings_.Common.TimerType = 1;
    settings_.Timer.Timer1 = time;
  }
  void Interval(const char* minutes) {
    settings_.Common.TimerType = 2;
    settings_.Timer.Timer2 = minutes;
  }

  Settings settings_;
  test::FakeClock clock_{test::At(2026, 12, 7, 23, 10, 0)};
  Scheduler scheduler_{clock_};
};

TEST_F(NextStartTest, DailyStartsTodayUntilTheTimeHasComeThenTomorrow) {
  EXPECT_EQ(Text(), "");  // TimerType 0: nothing armed
  Daily("23:45");
  EXPECT_EQ(Text(), "下次转换：12月7日 23:45");
  Daily("2:0");
  EXPECT_EQ(Text(), "下次转换：12月8日 02:00");

  // On the second itself: today until the tick has started it.
  Daily("23:10");
  EXPECT_EQ(Text(), "下次转换：12月7日 23:10");
  ASSERT_TRUE(scheduler_.OnDailyTick(settings_, false));
  EXPECT_EQ(Text(), "下次转换：12月8日 23:10");
  // The clock set back after the start: still tomorrow, as the tick decides.
  clock_.Set(test::At(2026, 12, 7, 23, 0, 0));
  EXPECT_EQ(Text(), "下次转换：12月8日 23:10");
  // Across the year's end.
  clock_.Set(test::At(2026, 12, 31, 23, 30, 0));
  EXPECT_EQ(Text(), "下次转换：1月1日 23:10");
}

TEST_F(NextStartTest, IntervalCountsTheSecondsLeftAndWaitsForItsOwnRun) {
  Interval("5");
  EXPECT_EQ(Text(), "下次转换：12月7日 23:15:00");
  for (int i = 0; i < 100; ++i) {
    scheduler_.OnIntervalTick(settings_, false);
    clock_.Advance(seconds(1));
  }
  EXPECT_EQ(Text(), "下次转换：12月7日 23:15:00");
  for (int i = 0; i < 200; ++i) {
    if (scheduler_.OnIntervalTick(settings_, false)) break;
    clock_.Advance(seconds(1));
  }
  // Its run is in progress: the count starts again when it ends.
  EXPECT_EQ(Text(), "下次转换：本次转换结束后5分钟");
  clock_.Advance(seconds(1));
  scheduler_.OnRunEnded();
  EXPECT_EQ(Text(), "下次转换：12月7日 23:20:00");
  Interval("1.5");
  EXPECT_EQ(Text(), "下次转换：12月7日 23:16:30");
}

TEST_F(NextStartTest, TimesThatCanNeverBeReachedSaySo) {
  for (const char* time : {"", "25:00", "8"}) {
    Daily(time);
    EXPECT_EQ(Text(), "下次转换：无（定时设置无效）") << time;
  }
  for (const char* minutes : {"abc", "0", "0.001", "-5", "1e300"}) {
    Interval(minutes);
    EXPECT_EQ(Text(), "下次转换：无（定时设置无效）") << minutes;
  }
}

}  // namespace
}  // namespace zelk
