#include "run/ProgressMeter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "support/FakeClock.h"
#include "support/RecordingObserver.h"

namespace zelk {
namespace {

using namespace std::chrono_literals;

class ProgressMeterTest : public ::testing::Test {
 protected:
  // Rows with these page counts (WorkRow::kUnknownPages for "?").
  void Rows(const std::vector<int>& pages) {
    for (int count : pages) {
      WorkRow row;
      row.Pages = count;
      rows_.push_back(row);
    }
  }
  // Row `index` takes `time`, its pages reported one by one in between.
  void Item(std::size_t index, std::chrono::seconds time) {
    const int pages = std::max(rows_[index].Pages, 1);
    for (int page = 1; page <= pages; ++page) {
      meter_.PageStarted(index, page, pages);
      clock_.Advance(time / pages);
    }
    meter_.ItemEnded(index);
  }
  const RunProgress& Last() const { return observer_.Progress.back(); }

  test::FakeClock clock_{test::At(2026, 3, 7, 9, 0, 0)};
  WorkList rows_;
  test::RecordingObserver observer_;
  // The run started 5 s before its rows (the scan).
  ProgressMeter meter_{clock_, test::At(2026, 3, 7, 8, 59, 55), rows_, observer_};
};

TEST_F(ProgressMeterTest, TimeLeftFollowsThePagesWhenEveryRowsCountIsKnown) {
  Rows({1, 1, 1, 20, 1});
  meter_.BeginItems();
  EXPECT_EQ(Last().Elapsed, 5s);
  EXPECT_FALSE(Last().Remaining);
  for (std::size_t index = 0; index < 3; ++index) Item(index, 6s);
  // 18 s for 3 pages; 21 pages left.
  EXPECT_EQ(Last().ItemsFinished, 3u);
  ASSERT_TRUE(Last().Remaining);
  EXPECT_EQ(*Last().Remaining, 126s);
  EXPECT_EQ(Last().Elapsed, 23s);

  // Half-way through the long row: 3 + 10 pages done in 18 + 60 s.
  for (int page = 1; page <= 10; ++page) {
    meter_.PageStarted(3, page, 20);
    clock_.Advance(6s);
  }
  meter_.PageStarted(3, 11, 20);
  EXPECT_DOUBLE_EQ(Last().ItemFraction, 0.5);
  EXPECT_EQ(*Last().Remaining, 66s);  // 11 pages at 6 s
  EXPECT_DOUBLE_EQ(Last().Fraction(), 3.5 / 5);
}

TEST_F(ProgressMeterTest, ALongFirstRowGivesAnEstimateAfterTenPages) {
  Rows({30, 30});
  meter_.BeginItems();
  for (int page = 1; page <= 10; ++page) {
    meter_.PageStarted(0, page, 30);
    clock_.Advance(2s);
  }
  EXPECT_FALSE(Last().Remaining) << "9 pages done";
  meter_.PageStarted(0, 11, 30);
  ASSERT_TRUE(Last().Remaining);
  EXPECT_EQ(*Last().Remaining, 100s);  // 50 pages at 2 s
}

TEST_F(ProgressMeterTest, WithoutPageCountsTimeLeftFollowsTheRows) {
  Rows({3, WorkRow::kUnknownPages, 3, 3, 3, 3});
  meter_.BeginItems();
  Item(0, 9s);
  Item(1, 21s);
  EXPECT_FALSE(Last().Remaining);
  Item(2, 30s);
  ASSERT_TRUE(Last().Remaining);
  EXPECT_EQ(*Last().Remaining, 60s);  // 20 s a row, three rows left
}

TEST_F(ProgressMeterTest, PagesAreReportedAtMostEveryTenthOfASecondAndRowEndsAlways) {
  Rows({100});
  meter_.BeginItems();
  for (int page = 1; page <= 100; ++page) {
    meter_.PageStarted(0, page, 100);
    clock_.Set(clock_.Now() + 20ms);
  }
  // 2 s of pages, the first right at the start: the start and one report
  // every fifth page after it.
  EXPECT_EQ(observer_.Progress.size(), 20u);
  meter_.ItemEnded(0);
  EXPECT_EQ(observer_.Progress.size(), 21u);
  EXPECT_DOUBLE_EQ(Last().Fraction(), 1.0);

  // A clock set back does not silence the reports.
  clock_.Set(test::At(2026, 3, 7, 8, 0, 0));
  meter_.PageStarted(0, 1, 100);
  EXPECT_EQ(observer_.Progress.size(), 22u);
  EXPECT_EQ(Last().Elapsed, 0s);
}

TEST(RunProgressText, CountsElapsedAndRoundedUpTimeLeft) {
  RunProgress progress;
  progress.ItemsFinished = 3;
  progress.ItemCount = 10;
  progress.Elapsed = 65s;
  EXPECT_EQ(ProgressText(progress), "已完成3/10项，已用1分5秒");
  progress.Remaining = 61s;
  EXPECT_EQ(ProgressText(progress), "已完成3/10项，已用1分5秒，剩余约2分");
  EXPECT_EQ(RemainingText(59s), "不到1分钟");
  EXPECT_EQ(RemainingText(3600s), "约1时");
  EXPECT_EQ(RemainingText(3601s), "约1时1分");
  EXPECT_DOUBLE_EQ(RunProgress{}.Fraction(), 0.0);
}

}  // namespace
}  // namespace zelk
