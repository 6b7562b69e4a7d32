#include "run/RunControl.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(RunControl, OnlyOneRunAtATimeEvenAfterItWasAskedToStop) {
  RunControl run;
  EXPECT_FALSE(run.KeepRunning());
  ASSERT_TRUE(run.BeginRun());
  EXPECT_TRUE(run.KeepRunning());
  EXPECT_FALSE(run.BeginRun());

  // A cancelled run still occupies the program until it has ended.
  run.RequestCancel();
  EXPECT_FALSE(run.KeepRunning());
  EXPECT_TRUE(run.IsActive());
  EXPECT_FALSE(run.BeginRun());

  run.EndRun();
  EXPECT_FALSE(run.IsActive());
  ASSERT_TRUE(run.BeginRun());
  EXPECT_TRUE(run.KeepRunning());  // the old cancel does not stop the new run
}

TEST(RunControl, CancelWhileIdleLeavesNothingBehind) {
  RunControl run;
  run.RequestCancel();
  ASSERT_TRUE(run.BeginRun());
  EXPECT_TRUE(run.KeepRunning());
}

TEST(RunControl, QuitIsRefusedOnlyDuringARunAndIsNeverForgotten) {
  RunControl run;
  EXPECT_FALSE(run.RequestQuit());  // idle: close at once
  EXPECT_FALSE(run.QuitRequested());

  ASSERT_TRUE(run.BeginRun());
  EXPECT_TRUE(run.RequestQuit());
  EXPECT_FALSE(run.KeepRunning());
  EXPECT_TRUE(run.QuitRequested());
  run.EndRun();
  EXPECT_TRUE(run.QuitRequested());
  EXPECT_FALSE(run.RequestQuit());  // after the run the close goes through
}

}  // namespace
}  // namespace zelk
