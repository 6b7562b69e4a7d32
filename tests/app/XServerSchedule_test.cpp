// A scheduled interval run and its cancel on a real X server, with real
// mouse clicks and key strokes (xdotool), while the worker is busy: the
// window must keep answering.  Run by tests/app/xvfb_schedule.sh under
// Xvfb; on any other platform the test skips.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

#include "app/RunController.h"
#include "RunWindowFixture.h"

namespace zelk::test {
namespace {

using namespace std::chrono_literals;

constexpr qint64 kAnswerWithinMs = 1000;

class XServerScheduleTest : public RunWindowTest {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
      GTEST_SKIP() << "needs a real X server: run tests/app/xvfb_schedule.sh";
    }
    RunWindowTest::SetUp();
  }

  // Runs xdotool while the window's events go on; its standard output.
  static QString Xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    EXPECT_TRUE(process.waitForStarted(5000)) << "xdotool did not start";
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(process.exitCode(), 0) << arguments.join(' ').toStdString();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  }
  // A real click of the left button in the middle of `widget`.  The X
  // server takes the move and the click in order; no --sync, which waits
  // forever when the pointer is there already.
  static void ClickOn(const QWidget* widget) {
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
  }
};

TEST_F(XServerScheduleTest, IntervalRunSetUpByHandRunsAndCancelsWhileTheWindowAnswers) {
  OpenWindow({"TimerType=0", "[Timer]", "Timer2=5"});
  window_->move(0, 0);
  window_->show();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  const QString windowId = QString::number(window_->winId());
  EXPECT_EQ(Xdotool({"getwindowname", windowId}), QString(kMainWindowTitle));

  // The interval mode, chosen with the mouse; the box takes the focus with
  // its text selected, so the typed 1 replaces the 5.
  ClickOn(Find<QRadioButton>("optTimer1"));
  auto* interval = Find<QLineEdit>("txtInterval");
  ASSERT_TRUE(WaitUntil([&] { return interval->hasFocus() && interval->selectedText() == "5"; }));
  Xdotool({"type", "--delay", "50", "1"});
  ASSERT_TRUE(WaitUntil([&] { return interval->text() == "1"; }));
  ClickOn(Find<QPushButton>("cmdTimerConvert"));
  ASSERT_TRUE(WaitUntil([&] { return settings_.Common.TimerType == 2; }));
  EXPECT_EQ(settings_.Timer.Timer2, "1");

  // Every item keeps the worker busy for a while.  A heartbeat on the
  // window's thread measures the longest time its events had to wait.
  script_.OnItem = [](RunContext&, std::size_t) { std::this_thread::sleep_for(1500ms); };
  QElapsedTimer sinceBeat;
  qint64 longestWait = 0;
  QTimer heartbeat;
  heartbeat.setInterval(20);
  QObject::connect(&heartbeat, &QTimer::timeout,
                   [&] { longestWait = std::max(longestWait, sinceBeat.restart()); });
  sinceBeat.start();
  heartbeat.start();

  // One minute of the interval timer.
  for (int second = 0; second < 60; ++second) window_->OnIntervalTimerTick();
  ASSERT_TRUE(window_->Runner().IsConverting());
  ASSERT_TRUE(WaitUntil([&] { return !Find<QWidget>("cmdCancel")->isHidden(); }));

  for (int probe = 0; probe < 3; ++probe) {
    QElapsedTimer answer;
    answer.start();
    EXPECT_EQ(Xdotool({"getwindowname", windowId}), QString(kMainWindowTitle));
    EXPECT_LT(answer.elapsed(), kAnswerWithinMs);
  }

  // The cancel button, clicked for real, is acted on at once.
  QElapsedTimer cancel;
  cancel.start();
  ClickOn(Find<QPushButton>("cmdCancel"));
  ASSERT_TRUE(WaitUntil([&] { return !window_->Run().KeepRunning(); }));
  EXPECT_LT(cancel.elapsed(), kAnswerWithinMs);

  ASSERT_TRUE(WaitForConversionEnds(1));
  heartbeat.stop();
  EXPECT_LT(script_.Seen.size(), 3u);
  EXPECT_EQ(Text("lblStatus"), QString("图像目录合并过程被取消！"));
  EXPECT_TRUE(Enabled("cmdConvert"));
  EXPECT_LT(longestWait, kAnswerWithinMs);
}

}  // namespace
}  // namespace zelk::test
