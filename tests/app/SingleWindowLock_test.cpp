// One window per settings file: the lock beside ZELK.conf, the start-up
// step that refuses a second window, and the built `zelk` started as a child
// process holding the lock, killed, and its lock taken over.

#include "app/SingleWindowLock.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QLockFile>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "AppTestSupport.h"
#include "app/WindowSummons.h"
#include "platform/ProgramVersion.h"
#include "settings/SettingsFile.h"
#include "support/ChildProcess.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Polls `condition` until it holds or `limit` has passed.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::seconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The process id the lock file names, or 0 when there is none.
qint64 LockHolder(const std::string& lockPath) {
  QLockFile probe(QString::fromStdString(lockPath));
  qint64 pid = 0;
  QString host, application;
  return probe.getLockInfo(&pid, &host, &application) ? pid : 0;
}

// The child programs' own files in the program directory: the executable
// and what the children print (a running window may print at any time).
bool IsTestsOwnFile(const std::string& entry) { return entry == "zelk" || entry == "printed.txt"; }

// Everything else in the program directory with a digest of its bytes, one
// short line each, to see that a refused start changed nothing.
std::string DirectoryState(const fs::path& dir) {
  std::string state;
  for (const std::string& entry : test::TreeOf(dir)) {
    if (IsTestsOwnFile(entry)) continue;
    state += entry;
    if (fs::is_regular_file(dir / entry)) {
      state += " " + std::to_string(std::hash<std::string>()(test::ReadBytes(dir / entry)));
    }
    state += "\n";
  }
  return state;
}

class SingleWindowLockTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteBytes(dir_.Path() / "ZELK.conf", DefaultSettingsFileText()); }

  std::string LockPath() const { return (dir_.Path() / "ZELK.conf.lock").string(); }

  test::TempProgramDir dir_;
  test::FakeShell shell_;
};

TEST_F(SingleWindowLockTest, OneHolderPerSettingsFileUntilItLetsGo) {
  auto first = std::make_unique<SingleWindowLock>(dir_.String());
  EXPECT_EQ(first->Path(), LockPath());
  ASSERT_EQ(first->TryAcquire(), SingleWindowLock::Outcome::Acquired);
  EXPECT_EQ(first->TryAcquire(), SingleWindowLock::Outcome::Acquired);  // asking again keeps it
  EXPECT_EQ(LockHolder(LockPath()), QCoreApplication::applicationPid());

  SingleWindowLock second(dir_.String());
  EXPECT_EQ(second.TryAcquire(), SingleWindowLock::Outcome::HeldByAnother);

  first.reset();
  EXPECT_FALSE(fs::exists(LockPath()));
  EXPECT_EQ(second.TryAcquire(), SingleWindowLock::Outcome::Acquired);
}

TEST_F(SingleWindowLockTest, ASecondStartSaysTheProgramRunsAndChangesNothing) {
  SingleWindowLock running(dir_.String());
  ASSERT_TRUE(ClaimProgramDirectory(running, shell_));
  EXPECT_TRUE(shell_.messages.empty());
  const std::string before = DirectoryState(dir_.Path());

  SingleWindowLock second(dir_.String());
  EXPECT_FALSE(ClaimProgramDirectory(second, shell_));
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(shell_.messages[0].title, QString::fromUtf8(kMessageTitle));
  EXPECT_EQ(shell_.messages[0].text, QString::fromUtf8("程序已在运行。"));
  EXPECT_EQ(DirectoryState(dir_.Path()), before);
  EXPECT_NE(kAlreadyRunningExitStatus, 0);
}

TEST_F(SingleWindowLockTest, ALockThatCannotBeMadeDoesNotKeepTheProgramFromStarting) {
  SingleWindowLock nowhere((dir_.Path() / "missing").string());
  EXPECT_EQ(nowhere.TryAcquire(), SingleWindowLock::Outcome::Unavailable);
  EXPECT_TRUE(ClaimProgramDirectory(nowhere, shell_));
  EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(SingleWindowLockTest, ASecondStartBringsTheRunningWindowForwardInsteadOfTheMessage) {
  SingleWindowLock running(dir_.String());
  ASSERT_TRUE(ClaimProgramDirectory(running, shell_));
  const QString name = WindowSummonsName(dir_.String());
  EXPECT_NE(name, WindowSummonsName((dir_.Path() / "other").string()));
  int summoned = 0;
  const WindowSummonsListener listener(name, [&summoned] { ++summoned; });
  ASSERT_TRUE(listener.Listening());

  SingleWindowLock second(dir_.String());
  EXPECT_FALSE(ClaimProgramDirectory(second, shell_, name));
  EXPECT_TRUE(WaitUntil(
      [&] {
        QCoreApplication::processEvents();
        return summoned == 1;
      },
      std::chrono::seconds(5)));
  EXPECT_TRUE(shell_.messages.empty()) << "the running window answered";
}

// The built program in a program directory of its own (the executable's
// directory is its program directory), on the offscreen platform.
class RunningWindowTest : public SingleWindowLockTest {
 protected:
  void SetUp() override {
    SingleWindowLockTest::SetUp();
    std::error_code crossDevice;
    fs::create_hard_link(ZELK_WINDOW_EXECUTABLE, executable_, crossDevice);
    if (crossDevice) fs::copy_file(ZELK_WINDOW_EXECUTABLE, executable_);
  }

  std::unique_ptr<test::ChildProcess> StartWindow() const {
    return std::make_unique<test::ChildProcess>(
        std::vector<std::string>{executable_.string()}, (dir_.Path() / "printed.txt").string(),
        std::vector<std::string>{"QT_QPA_PLATFORM=offscreen"});
  }

  // Waits until `window` holds the lock, as the lock file says.
  bool HoldsTheLock(test::ChildProcess& window) const {
    return WaitUntil(
        [&] { return LockHolder(LockPath()) == window.Pid() || !window.Running(); },
        std::chrono::seconds(30)) &&
           window.Running();
  }

  std::string Printed() const { return test::ReadBytes(dir_.Path() / "printed.txt"); }

  fs::path executable_ = dir_.Path() / "zelk";
};

TEST_F(RunningWindowTest, ASecondStartEndsWhileTheFirstRunsAndAKilledWindowsLockIsTakenOver) {
  const std::unique_ptr<test::ChildProcess> first = StartWindow();
  ASSERT_TRUE(HoldsTheLock(*first)) << Printed();
  ASSERT_TRUE(WaitUntil([&] { return fs::is_directory(dir_.Path() / "Logs"); },
                        std::chrono::seconds(30)));

  // A start while it runs: refused at once with the message, nothing
  // changed, and the first window goes on.  An hour-old lock of a live
  // window is still its lock.
  test::SetAge(LockPath(), 3600);
  // The first window's start-up writes may still be under way on a busy
  // machine: the state to compare against is one that stays put.
  std::string before = DirectoryState(dir_.Path());
  WaitUntil(
      [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const std::string now = DirectoryState(dir_.Path());
        const bool settled = now == before;
        before = now;
        return settled;
      },
      std::chrono::seconds(10));
  const auto asked = Clock::now();
  SingleWindowLock second(dir_.String());
  EXPECT_FALSE(ClaimProgramDirectory(second, shell_));
  EXPECT_LT(Clock::now() - asked, std::chrono::seconds(1));
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].text, QString::fromUtf8(kAlreadyRunningMessage));
  EXPECT_EQ(DirectoryState(dir_.Path()), before);
  // Asked to come forward, the running window answers: no message then.
  SingleWindowLock summoning(dir_.String());
  EXPECT_FALSE(ClaimProgramDirectory(summoning, shell_, WindowSummonsName(dir_.String())));
  EXPECT_EQ(shell_.messages.size(), 1u);

  // The program itself checks before its housekeeping, which would delete
  // a Logo.tif: a second `zelk` leaves it, and the lock stays the first's.
  // (It brings the first window forward and ends.)
  test::Touch(dir_.Path() / "Logo.tif");
  {
    const std::unique_ptr<test::ChildProcess> refused = StartWindow();
    WaitUntil([&] { return !refused->Running(); }, std::chrono::seconds(2));
    const test::ChildEnd end = refused->Wait(std::chrono::milliseconds(1));
    EXPECT_FALSE(end.ExitedWith(0)) << end.Describe();
    EXPECT_TRUE(fs::exists(dir_.Path() / "Logo.tif"));
  }
  EXPECT_EQ(LockHolder(LockPath()), first->Pid());
  EXPECT_TRUE(first->Running());

  // Killed, the first window leaves its lock file; the next start takes it over.
  first->Kill();
  EXPECT_TRUE(first->Wait().Signalled);
  EXPECT_EQ(LockHolder(LockPath()), first->Pid());
  const std::unique_ptr<test::ChildProcess> next = StartWindow();
  ASSERT_TRUE(HoldsTheLock(*next)) << Printed();
  SingleWindowLock third(dir_.String());
  EXPECT_EQ(third.TryAcquire(), SingleWindowLock::Outcome::HeldByAnother);

  next->Kill();
  next->Wait();
  EXPECT_EQ(third.TryAcquire(), SingleWindowLock::Outcome::Acquired);
}

TEST_F(RunningWindowTest, VersionIsPrintedWithoutAWindowALockOrAnyFile) {
  const std::string before = DirectoryState(dir_.Path());
  test::ChildProcess version({executable_.string(), "--version"},
                             (dir_.Path() / "printed.txt").string(), {"QT_QPA_PLATFORM=offscreen"});
  const test::ChildEnd end = version.Wait(std::chrono::seconds(30));
  EXPECT_TRUE(end.ExitedWith(0)) << end.Describe();
  EXPECT_EQ(Printed(), std::string("zelk ") + ProgramVersion() + "\n");
  EXPECT_EQ(DirectoryState(dir_.Path()), before) << "no Logs, no lock file";
}

}  // namespace
}  // namespace zelk
