#pragma once
// A main window wired to a test job, for running conversions, previews and
// scheduled starts through the window without image work.
//
// The source tree holds three leaf directories a, bad and c (the test job
// fails "bad"), aged so that scheduled runs take them.  A Gate can hold the
// worker inside the first item it reaches, so that cancel, Esc, close and
// the busy state are seen while a run is really in progress.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QString>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/WorkListModel.h"
#include "AppTestSupport.h"
#include "run/JobRegistry.h"
#include "settings/Settings.h"
#include "support/FakeClock.h"
#include "support/TestJob.h"

class QAbstractButton;

namespace zelk::test {

class Gate {
 public:
  // The next item to arrive waits in Pass() until Open().
  void Arm();
  void Pass();
  bool Arrived();
  // Lets a held item (and any armed one still on its way) go on.
  void Open();

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool armed_ = false;
  bool arrived_ = false;
  bool open_ = false;
};

class RunWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Builds and loads the window with [Common] and [Timer] from `lines`
  // added to the settings file (the roots and action 1 are there already).
  void OpenWindow(const std::vector<std::string>& extraLines = {});

  template <typename T>
  T* Find(const char* name) {
    T* widget = window_->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Click(const char* name);
  QString Text(const char* labelName);
  bool Enabled(const char* buttonName);
  WorkListModel& Rows() { return window_->WorkList(); }
  QString RowPath(const char* leaf) const;

  // Waits, letting the window's events run, until `condition` holds.
  static bool WaitUntil(const std::function<bool()>& condition);
  // Waits until `count` conversions (previews) have ended in the window.
  bool WaitForConversionEnds(int count);
  bool WaitForPreviewEnds(int count);
  // Holds the worker in the first item the next run reaches.
  void HoldFirstItem();

  TempProgramDir dir_;
  std::filesystem::path source_;
  std::filesystem::path target_;
  Settings settings_;
  FakeShell shell_;
  FakeClock clock_{At(2026, 3, 7, 8, 0, 0)};
  JobRegistry registry_;
  TestJobScript script_;
  Gate gate_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<QSignalSpy> conversionEnds_;
  std::unique_ptr<QSignalSpy> previewEnds_;
};

}  // namespace zelk::test
