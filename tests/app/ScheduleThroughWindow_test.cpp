// The schedule in the window: the two one-second timers against a fake
// clock, the stored mode active from start-up, "定时转换" storing and
// arming a mode, and scheduled starts that fall during a run.

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "app/RunController.h"
#include "RunWindowFixture.h"
#include "settings/SettingsFile.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk::test {
namespace {

class ScheduleTest : public RunWindowTest {
 protected:
  void DailyTickAt(int hour, int minute, int second) {
    clock_.Set(At(2026, 3, 7, hour, minute, second));
    window_->OnDailyTimerTick();
  }
  void IntervalTicks(int count) {
    for (int i = 0; i < count; ++i) window_->OnIntervalTimerTick();
  }
  bool Busy() { return window_->Runner().IsBusy(); }
  bool Shown(const char* name) { return !Find<QWidget>(name)->isHidden(); }
  std::string FileBytes() { return ReadBytes(dir_.Path() / "ZELK.conf"); }
};

TEST_F(ScheduleTest, StoredDailyTimeStartsOneRunAtItsSecondFromStartUp) {
  OpenWindow({"TimerType=1", "[Timer]", "Timer1=8:30"});
  DailyTickAt(8, 29, 59);
  EXPECT_FALSE(Busy());
  DailyTickAt(8, 30, 0);
  EXPECT_TRUE(Busy());
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_EQ(script_.Seen.size(), 3u);
  EXPECT_EQ(Text("lblStatus"), QString("本次合并完毕！    "));

  DailyTickAt(8, 30, 1);
  DailyTickAt(8, 30, 0);  // the clock set back: not a second time that day
  EXPECT_FALSE(Busy());
}

TEST_F(ScheduleTest, DailyStartDuringARunWaitsAndStartsOnceWhenItEnds) {
  OpenWindow({"TimerType=1", "[Timer]", "Timer1=8:30"});
  HoldFirstItem();
  DailyTickAt(8, 29, 58);
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived(); }));
  DailyTickAt(8, 29, 59);
  DailyTickAt(8, 30, 0);  // falls inside the run
  DailyTickAt(8, 30, 1);
  gate_.Open();

  ASSERT_TRUE(WaitForConversionEnds(2));
  // The second run took what the first left: "bad" failed again.
  EXPECT_EQ(script_.Seen.size(), 4u);
  EXPECT_EQ(Rows().rowCount(), 1);
  EXPECT_FALSE(Busy());  // once only
}

TEST_F(ScheduleTest, StoredIntervalCountsFromStartUpAndRestartsAfterEachRun) {
  OpenWindow({"TimerType=2", "[Timer]", "Timer2=1"});
  HoldFirstItem();
  IntervalTicks(59);
  EXPECT_FALSE(Busy());
  IntervalTicks(1);
  ASSERT_TRUE(Busy());
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived(); }));
  IntervalTicks(120);  // the count runs past its target: no second run
  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_FALSE(Busy());

  IntervalTicks(59);
  EXPECT_FALSE(Busy());
  IntervalTicks(1);
  EXPECT_TRUE(Busy());
  ASSERT_TRUE(WaitForConversionEnds(2));
}

TEST_F(ScheduleTest, ConfirmingDailyStoresAndArmsTheTimeButNeedsBothLists) {
  OpenWindow({"TimerType=0"});
  const std::string before = FileBytes();
  Find<QRadioButton>("optTimer0")->click();
  Find<QComboBox>("cboHour")->setCurrentIndex(8);  // no minute chosen yet
  Click("cmdTimerConvert");
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].text, QString("请选择定时转换的时间！\u3000\u3000"));
  EXPECT_EQ(shell_.messages[0].title, QString("提示信息"));
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(settings_.Common.TimerType, 0);

  Find<QComboBox>("cboMinute")->setCurrentIndex(5);
  Click("cmdTimerConvert");
  ASSERT_EQ(shell_.messages.size(), 2u);
  EXPECT_EQ(shell_.messages[1].text, QString("定时转换策略已启动！\u3000\u3000"));
  EXPECT_EQ(ReadIniString(settings_.IniPath, "Timer", "Timer1"), "8:5");
  EXPECT_EQ(ReadIniString(settings_.IniPath, "Common", "TimerType"), "1");
  EXPECT_FALSE(Busy());  // confirming starts nothing

  DailyTickAt(8, 5, 0);
  EXPECT_TRUE(Busy());
  ASSERT_TRUE(WaitForConversionEnds(1));
}

TEST_F(ScheduleTest, AnArmedScheduleShowsItsNextStartUntilItIsSwitchedOff) {
  OpenWindow({"TimerType=1", "[Timer]", "Timer1=8:30"});
  EXPECT_EQ(Text("lblNextStart"), QString("下次转换：3月7日 08:30"));
  EXPECT_TRUE(Shown("lblNextStart"));
  EXPECT_TRUE(Shown("cmdStopTimer"));
  DailyTickAt(8, 30, 0);
  EXPECT_EQ(Text("lblNextStart"), QString("下次转换：3月8日 08:30"));
  ASSERT_TRUE(WaitForConversionEnds(1));

  Click("cmdStopTimer");
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].text, QString("定时转换策略已停止！\u3000\u3000"));
  EXPECT_EQ(settings_.Common.TimerType, 0);
  EXPECT_EQ(ReadIniString(settings_.IniPath, "Common", "TimerType"), "0");
  EXPECT_FALSE(Shown("lblNextStart"));
  EXPECT_FALSE(Shown("cmdStopTimer"));
  clock_.Set(At(2026, 3, 8, 8, 30, 0));
  window_->OnDailyTimerTick();
  EXPECT_FALSE(Busy());

  // "定时转换" arms it again, with the time still in the lists.
  clock_.Set(At(2026, 3, 8, 9, 0, 0));
  Click("cmdTimerConvert");
  EXPECT_EQ(settings_.Common.TimerType, 1);
  EXPECT_EQ(Text("lblNextStart"), QString("下次转换：3月9日 08:30"));
  EXPECT_TRUE(Shown("cmdStopTimer"));
}

TEST_F(ScheduleTest, TheIntervalsNextStartWaitsForTheRunItStarted) {
  OpenWindow({"TimerType=2", "[Timer]", "Timer2=1"});
  EXPECT_EQ(Text("lblNextStart"), QString("下次转换：3月7日 08:01:00"));
  HoldFirstItem();
  IntervalTicks(60);
  ASSERT_TRUE(Busy());
  EXPECT_EQ(Text("lblNextStart"), QString("下次转换：本次转换结束后1分钟"));
  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_EQ(Text("lblNextStart"), QString("下次转换：3月7日 08:01:00"));
}

TEST_F(ScheduleTest, AScheduledRunSaysHowManyFreshItemsItLeftForTheNextOne) {
  OpenWindow({"TimerType=1", "[Timer]", "Timer1=8:30"});
  Touch(source_ / "scanning" / "0001.tif");  // a scanner is still writing here
  DailyTickAt(8, 30, 0);
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_EQ(script_.Seen.size(), 3u);
  EXPECT_EQ(Text("lblStatus"), QString("本次合并完毕！    （1项在60秒内有改动，留待下次转换）"));

  Click("cmdConvert");  // a run by the button takes it
  ASSERT_TRUE(WaitForConversionEnds(2));
  EXPECT_EQ(script_.Seen.back(), (source_ / "scanning").string());
  EXPECT_EQ(Text("lblStatus"), QString("本次合并完毕！    "));
}

}  // namespace
}  // namespace zelk::test
