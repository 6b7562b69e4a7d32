// The tray icon of a window whose desktop has a tray: its tooltip follows
// the run and the schedule, a scheduled run tells its counts, and closing
// with an armed schedule may leave the program running in the tray.

#include <QAction>
#include <QRadioButton>
#include <QTimer>

#include "app/DesktopIntegration.h"
#include "app/RunController.h"
#include "app/TrayPresence.h"
#include "RunWindowFixture.h"

namespace zelk::test {
namespace {

class TrayTest : public RunWindowTest {
 protected:
  void OpenWithTray(const std::vector<std::string>& extraLines) {
    shell_.trayPresent = true;
    OpenWindow(extraLines);
    tray_ = window_->Desktop().Tray();
    ASSERT_NE(tray_, nullptr);
    ASSERT_TRUE(tray_->InUse());
    notified_ = std::make_unique<QSignalSpy>(tray_, &TrayPresence::Notified);
  }
  bool ToolTipSays(const QString& state) {
    return WaitUntil([&] { return tray_->ToolTip().endsWith("\n" + state); });
  }
  void IntervalTicks(int count) {
    for (int i = 0; i < count; ++i) window_->OnIntervalTimerTick();
  }

  TrayPresence* tray_ = nullptr;
  std::unique_ptr<QSignalSpy> notified_;
};

TEST_F(TrayTest, ToolTipTellsIdleConvertingAndArmedSchedule) {
  OpenWithTray({"TimerType=0"});
  EXPECT_EQ(tray_->ToolTip(), QString(kMainWindowTitle) + "\n空闲");

  HoldFirstItem();
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived(); }));
  EXPECT_TRUE(ToolTipSays("正在转换"));
  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_TRUE(ToolTipSays("空闲"));
  // A run started by hand tells nothing at the tray.
  EXPECT_EQ(notified_->count(), 0);

  Find<QRadioButton>("optTimer1")->click();
  Click("cmdTimerConvert");
  EXPECT_EQ(settings_.Common.TimerType, 2);
  EXPECT_TRUE(ToolTipSays("定时已启用"));
}

TEST_F(TrayTest, AScheduledRunEndsWithANotificationOfItsCounts) {
  OpenWithTray({"TimerType=2", "[Timer]", "Timer2=1"});
  IntervalTicks(60);
  ASSERT_TRUE(WaitForConversionEnds(1));
  ASSERT_EQ(notified_->count(), 1);
  EXPECT_EQ(notified_->at(0).at(1).toString(), QString("定时转换已完成：成功 2 个，失败 1 个。"));
  EXPECT_EQ(window_->Runner().LastConversion().Failures, 1u);
}

TEST_F(TrayTest, ClosingWithAnArmedScheduleMayKeepTheProgramInTheTray) {
  OpenWithTray({"TimerType=2", "[Timer]", "Timer2=1"});
  window_->show();

  // No: the window closes as it always did.
  shell_.yesAnswer = false;
  EXPECT_TRUE(window_->close());
  ASSERT_EQ(shell_.questions.size(), 1u);
  EXPECT_EQ(shell_.questions[0].title, QString("提示信息"));
  EXPECT_TRUE(shell_.questions[0].text.contains("系统托盘"));

  // Yes: the window hides, the schedule goes on and runs.
  window_->show();
  shell_.yesAnswer = true;
  EXPECT_FALSE(window_->close());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(shell_.questions.size(), 2u);
  IntervalTicks(60);
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_EQ(script_.Seen.size(), 3u);
  EXPECT_GE(notified_->count(), 2);  // "still running" and the counts

  // The tray menu's 退出 ends the program without asking again.
  auto* quit = window_->findChild<QAction*>("mnuTrayQuit");
  ASSERT_NE(quit, nullptr);
  quit->trigger();
  EXPECT_EQ(shell_.questions.size(), 2u);
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(TrayTest, WithoutASchedulePresentTheWindowClosesWithoutAsking) {
  OpenWithTray({"TimerType=0"});
  window_->show();
  shell_.yesAnswer = true;
  EXPECT_TRUE(window_->close());
  EXPECT_TRUE(shell_.questions.empty());
}

}  // namespace
}  // namespace zelk::test
