#include "app/schedule/Scheduler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "app/schedule/DailyTime.h"
#include "support/FakeClock.h"

namespace zelk {
namespace {

using std::chrono::seconds;

class DailyScheduleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::UseUtc();
    settings_.Common.TimerType = 1;
    settings_.Timer.Timer1 = "8:30";
  }

  // Ticks once a second from the first moment to the last, inclusive, and
  // returns the moments at which a run was to start.
  std::vector<TimePoint> TickEverySecond(TimePoint first, TimePoint last, bool runActive = false) {
    std::vector<TimePoint> starts;
    for (TimePoint t = first; t <= last; t += seconds(1)) {
      clock_.Set(t);
      if (scheduler_.OnDailyTick(settings_, runActive)) starts.push_back(t);
    }
    return starts;
  }

  Settings settings_;
  test::FakeClock clock_{test::At(2026, 3, 7, 0, 0, 0)};
  Scheduler scheduler_{clock_};
};

TEST_F(DailyScheduleTest, StartsOnceAtTheSetSecondAndAgainTheNextDay) {
  const auto day1 = TickEverySecond(test::At(2026, 3, 7, 8, 29, 50), test::At(2026, 3, 7, 8, 31, 0));
  EXPECT_EQ(day1, (std::vector<TimePoint>{test::At(2026, 3, 7, 8, 30, 0)}));
  clock_.Set(test::At(2026, 3, 7, 8, 30, 0));  // a second tick within the same second
  EXPECT_FALSE(scheduler_.OnDailyTick(settings_, false));
  EXPECT_FALSE(scheduler_.OnRunEnded());
  const auto day2 = TickEverySecond(test::At(2026, 3, 8, 8, 29, 58), test::At(2026, 3, 8, 8, 30, 2));
  EXPECT_EQ(day2, (std::vector<TimePoint>{test::At(2026, 3, 8, 8, 30, 0)}));
}

TEST_F(DailyScheduleTest, AProgramStartedAfterTheTimeWaitsForTheNextDay) {
  EXPECT_TRUE(
      TickEverySecond(test::At(2026, 3, 7, 8, 31, 0), test::At(2026, 3, 7, 9, 0, 0)).empty());
}

TEST_F(DailyScheduleTest, ALateTickStillStartsButASleepingComputerDoesNotMakeUp) {
  clock_.Set(test::At(2026, 3, 7, 8, 29, 59));
  EXPECT_FALSE(scheduler_.OnDailyTick(settings_, false));
  clock_.Set(test::At(2026, 3, 7, 8, 30, 1));  // the tick of 8:30:00 came late
  EXPECT_TRUE(scheduler_.OnDailyTick(settings_, false));
  scheduler_.OnRunEnded();

  Scheduler other(clock_);
  clock_.Set(test::At(2026, 3, 8, 7, 0, 0));
  EXPECT_FALSE(other.OnDailyTick(settings_, false));
  clock_.Set(test::At(2026, 3, 8, 9, 0, 0));  // woke up after the time
  EXPECT_FALSE(other.OnDailyTick(settings_, false));
}

TEST_F(DailyScheduleTest, OtherModesAndUnreadableTimesNeverStart) {
  settings_.Common.TimerType = 2;
  EXPECT_TRUE(
      TickEverySecond(test::At(2026, 3, 7, 8, 29, 59), test::At(2026, 3, 7, 8, 30, 1)).empty());
  settings_.Common.TimerType = 1;
  for (const char* text : {"", "8", "8:", ":30", "24:00", "8:60", "8:30:00", "a:b"}) {
    settings_.Timer.Timer1 = text;
    EXPECT_TRUE(
        TickEverySecond(test::At(2026, 3, 9, 0, 0, 0), test::At(2026, 3, 9, 0, 0, 2)).empty())
        << text;
    EXPECT_FALSE(ParseDailyTime(text).has_value()) << text;
  }
  EXPECT_EQ(ParseDailyTime("8:5"), 8 * 3600 + 5 * 60);
  EXPECT_EQ(ParseDailyTime("0:0"), 0);
  EXPECT_EQ(ParseDailyTime("23:59"), 23 * 3600 + 59 * 60);
}

TEST_F(DailyScheduleTest, AStartDuringARunWaitsAndStartsOnceWhenItEnds) {
  const auto during = TickEverySecond(test::At(2026, 3, 7, 8, 29, 58),
                                      test::At(2026, 3, 7, 8, 40, 0), /*runActive=*/true);
  EXPECT_TRUE(during.empty());
  EXPECT_TRUE(scheduler_.OnRunEnded());   // the deferred start, once
  EXPECT_FALSE(scheduler_.OnRunEnded());  // the deferred run's own end
  EXPECT_FALSE(scheduler_.OnRunEnded());
}

class IntervalScheduleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_.Common.TimerType = 2;
    settings_.Timer.Timer2 = "5";
  }

  // Ticks until a start (or `limit` ticks); returns the number of ticks.
  int TicksUntilStart(int limit = 10000, bool runActive = false) {
    for (int tick = 1; tick <= limit; ++tick) {
      if (scheduler_.OnIntervalTick(settings_, runActive)) return tick;
    }
    return -1;
  }

  Settings settings_;
  test::FakeClock clock_{test::At(2026, 3, 7, 0, 0, 0)};
  Scheduler scheduler_{clock_};
};

TEST_F(IntervalScheduleTest, StartsNMinutesAfterConfirmationAndAfterEachRunEnds) {
  scheduler_.RestartInterval();
  EXPECT_EQ(TicksUntilStart(), 300);
  // The run lasts 50 seconds: the count goes on past the target, no start.
  for (int tick = 0; tick < 50; ++tick) EXPECT_FALSE(scheduler_.OnIntervalTick(settings_, true));
  EXPECT_FALSE(scheduler_.OnRunEnded());
  EXPECT_EQ(scheduler_.IntervalSeconds(), 0);
  EXPECT_EQ(TicksUntilStart(), 300);
}

TEST_F(IntervalScheduleTest, StoredModeStartsNMinutesAfterProgramStart) {
  EXPECT_EQ(TicksUntilStart(), 300);
}

TEST_F(IntervalScheduleTest, TheIntervalIsReadLeniently) {
  settings_.Timer.Timer2 = "1.5 min";
  EXPECT_EQ(TicksUntilStart(), 90);
  scheduler_.OnRunEnded();
  settings_.Timer.Timer2 = "abc";
  EXPECT_EQ(TicksUntilStart(2000), -1);
  scheduler_.RestartInterval();
  settings_.Timer.Timer2 = "0";
  EXPECT_EQ(TicksUntilStart(2000), -1);
}

TEST_F(IntervalScheduleTest, AStartDuringAButtonRunIsDeferredOnce) {
  EXPECT_EQ(TicksUntilStart(400, /*runActive=*/true), -1);
  EXPECT_TRUE(scheduler_.OnRunEnded());  // the button run ended: the deferred start
  EXPECT_EQ(scheduler_.IntervalSeconds(), 400);
  EXPECT_FALSE(scheduler_.OnRunEnded());  // the scheduled run ended: count from 0
  EXPECT_EQ(scheduler_.IntervalSeconds(), 0);
  EXPECT_EQ(TicksUntilStart(), 300);
}

TEST_F(IntervalScheduleTest, NoSecondStartBeforeTheFirstHasEnded) {
  settings_.Timer.Timer2 = "1";
  EXPECT_EQ(TicksUntilStart(), 60);
  scheduler_.RestartInterval();  // confirmed again while the run is being started
  EXPECT_EQ(TicksUntilStart(100), -1);
  EXPECT_TRUE(scheduler_.OnRunEnded());
}

}  // namespace
}  // namespace zelk
