// What the frame tells the operator about a run beyond the result lists:
// why items failed (reported and kept in the day's reasons list), how far
// the run is, an item a stop request cut short, the items a scheduled run
// left for the next one, and the per-file rows' page list.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "run/Job.h"
#include "run/RunContext.h"
#include "run/RunFrame_fixture.h"
#include "run/TestJobRows.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::kDirectoryRow;
using test::kFailureList;
using test::kFileRow;
using test::kSuccessList;
using test::kUntypedFileRow;
using test::RunFrameTest;
using test::Touch;

constexpr const char* kReasonList = "Logs/2026年03月07日-失败原因.txt";

TEST_F(RunFrameTest, ReasonsAreReportedInTheOperatorsWordsAndKeptInTheirOwnList) {
  Touch(In("a/1.tif"));
  Touch(In("b-bad/1.tif"));
  Touch(In("c\td/1.tif"));
  Touch(In("e/1.tif"));
  script_.OnItem = [this](RunContext& context, std::size_t index) {
    const std::string& path = context.Row(index).Path;
    if (path == In("c\td")) throw std::runtime_error("first line\nsecond line");
    if (path == In("e")) {
      throw fs::filesystem_error("cannot create directory", Out("e"),
                                 std::make_error_code(std::errc::no_space_on_device));
    }
  };
  const RunResult result = Run(kDirectoryRow);
  ASSERT_EQ(result.Failures, 3u);

  ASSERT_EQ(observer_.FailureReasons.size(), 3u);
  // The window reads the kind and the file; the library's words go only
  // into the reasons list, in brackets.
  EXPECT_EQ(observer_.FailureReasons,
            (std::vector<std::string>{"处理失败", "处理失败", "磁盘空间不足：" + Out("e")}));

  // One line per failure, path and reason split by the one real tab; tabs
  // and line breaks inside either are escaped.
  const std::string diskFull = "磁盘空间不足：" + Out("e") +
                               "（filesystem error: cannot create directory: No space left on "
                               "device [" + Out("e") + "]）";
  EXPECT_EQ(List(kReasonList), In("b-bad") + "\t处理失败（damaged page）\r\n" + In("c\\td") +
                                   "\t处理失败（first line\\nsecond line）\r\n" + In("e") + "\t" +
                                   diskFull + "\r\n");
  // The failure list keeps its format: header, paths, summary.
  EXPECT_EQ(List(kFailureList), "2026年3月7日 9时5分 -- 未归档清单\r\n" + In("b-bad") + "\r\n" +
                                    In("c\\td") + "\r\n" + In("e") +
                                    "\r\n本次执行共有3个目录没有归档成功。\r\n\r\n");

  // A second run on the same day appends.
  Run(kDirectoryRow, In("b-bad"));
  EXPECT_TRUE(List(kReasonList).ends_with(In("e") + "\t" + diskFull + "\r\n"));
}

TEST_F(RunFrameTest, ANoteOnAnItemThatSucceededJoinsTheReasonsList) {
  Touch(In("a/1.tif"));
  const std::string note = "原有PDF不符合PDF/A，追加页后的文件也不是PDF/A：x.pdf";
  script_.OnItem = [&note](RunContext& context, std::size_t index) {
    context.NoteOnItem(index, note);
  };
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 0u);
  EXPECT_EQ(List(kReasonList), In("a") + "\t" + note + "\r\n");
  EXPECT_TRUE(observer_.FailureReasons.empty());
}

TEST_F(RunFrameTest, AnItemAStopCutsShortIsNeitherDoneNorFailedAndTheRunEndsCancelled) {
  for (const char* name : {"a", "b", "c"}) Touch(In(name) + "/1.tif");
  script_.OnItem = [this](RunContext&, std::size_t index) {
    if (index != 1) return;
    control_.RequestCancel();
    throw ItemCancelled();
  };
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.End, RunEnd::Cancelled);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 0u);
  EXPECT_EQ(script_.Seen, (std::vector<std::string>{In("a"), In("b")}));
  EXPECT_EQ(observer_.RowStatuses[1].back(), "已取消");
  EXPECT_TRUE(observer_.FailureReasons.empty());
  EXPECT_EQ(observer_.LastStatus(), "目录归档过程被取消！");
  EXPECT_FALSE(fs::exists(Out("Error")));
  EXPECT_FALSE(fs::exists(Out("b.tif")));
  EXPECT_FALSE(ListExists(kReasonList));
  EXPECT_EQ(List(kFailureList),
            "2026年3月7日 9时5分 -- 未归档清单\r\n本次执行共有0个目录没有归档成功。\r\n\r\n");
  EXPECT_NE(List(kSuccessList).find(In("a") + "\r\n本次总共归档了1个目录"), std::string::npos);

  // The next run takes the cut item again.
  script_.OnItem = nullptr;
  const RunResult next = Run(kDirectoryRow);
  EXPECT_EQ(next.Successes, 2u);
  EXPECT_EQ(script_.Seen.back(), In("c"));
}

TEST_F(RunFrameTest, ACutItemAfterAFailedOneIsNotAFailedLastRow) {
  Touch(In("a/x-bad.tif"));
  Touch(In("a/y.tif"));
  script_.OnItem = [this](RunContext&, std::size_t index) {
    if (index != 1) return;
    control_.RequestCancel();
    throw ItemCancelled();
  };
  const RunResult result = Run(kFileRow);
  EXPECT_EQ(result.End, RunEnd::Cancelled);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_TRUE(List(kSuccessList).ends_with("本次总共转存了0个文件 共历时0秒\r\n\r\n"))
      << List(kSuccessList);
}

TEST_F(RunFrameTest, AnItemCancelledWithoutAStopRequestIsAFailure) {
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  script_.OnItem = [](RunContext&, std::size_t index) {
    if (index == 0) throw ItemCancelled();
  };
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.End, RunEnd::Finished);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(observer_.RowStatuses[0].back(), "归档失败");
}

TEST_F(RunFrameTest, AScheduledRunSaysHowManyItemsItLeftForTheNextOne) {
  for (const char* name : {"old", "new1", "new2"}) Touch(In(name) + "/1.tif");
  test::SetTreeAge(In("old"), 300);
  settle_ = 60s;
  RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.HeldBack, 2u);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(observer_.LastStatus(), "本次归档完毕！    （2项在60秒内有改动，留待下次转换）");

  // Nothing else to do: the none-found text says why there is nothing.
  result = Run(kDirectoryRow);
  EXPECT_EQ(result.End, RunEnd::NothingFound);
  EXPECT_EQ(observer_.LastStatus(), "未找到需归档的目录（2项在60秒内有改动，留待下次转换）");

  // Unscheduled runs take everything and add nothing.
  settle_ = 0s;
  result = Run(kDirectoryRow);
  EXPECT_EQ(result.HeldBack, 0u);
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(observer_.LastStatus(), "本次归档完毕！    ");
}

TEST_F(RunFrameTest, AnItemDatedInTheFuturePassesOnceScansTheSettleTimeApartSawItUnchanged) {
  // A share whose clock runs a day ahead.
  Touch(In("ahead/1.tif"));
  Touch(In("moving/1.tif"));
  test::SetTreeAge(In("ahead"), -86400);
  test::SetTreeAge(In("moving"), -86400);
  settle_ = 60s;
  EXPECT_EQ(Run(kDirectoryRow).HeldBack, 2u);
  const std::string waiting = "晚于本机时钟，留待下次扫描确认未再改动后转换\r\n";
  EXPECT_TRUE(List(kReasonList).ends_with(waiting)) << List(kReasonList);
  clock_.Advance(30s);
  EXPECT_EQ(Run(kDirectoryRow).HeldBack, 2u) << "not yet the settle time apart";

  // One changes again meanwhile and waits anew; the other passes.
  test::SetTreeAge(In("moving"), -90000);
  clock_.Advance(31s);
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.HeldBack, 1u);
  EXPECT_EQ(script_.Seen.back(), In("ahead"));
  const std::string reasons = List(kReasonList);
  EXPECT_NE(reasons.find(In("ahead") + "\t修改时间（"), std::string::npos) << reasons;
  EXPECT_NE(reasons.find("晚于本机时钟，两次扫描间未再改动，视为已稳定\r\n"), std::string::npos);
  clock_.Advance(61s);
  EXPECT_EQ(Run(kDirectoryRow).Successes, 1u);
}

TEST_F(RunFrameTest, ProgressComesAtTheRowsAndAtMostEveryTenthOfASecondWithinOne) {
  for (const char* name : {"a", "b", "c", "d"}) Touch(In(name) + "/1.tif");
  script_.OnItem = [this](RunContext& context, std::size_t index) {
    clock_.Advance(10s);
    if (index != 0) return;
    context.ShowPageProgress(index, 2, 4);
    context.ShowPageProgress(index, 3, 4);  // too soon after the last report
    clock_.Set(clock_.Now() + 100ms);
    context.ShowPageProgress(index, 4, 4);
  };
  Run(kDirectoryRow);

  const std::vector<RunProgress>& seen = observer_.Progress;
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[0].ItemsFinished, 0u);  // the rows begin
  EXPECT_EQ(seen[0].ItemCount, 4u);
  EXPECT_EQ(seen[0].Elapsed, 0s);
  EXPECT_DOUBLE_EQ(seen[1].ItemFraction, 0.25);  // page 2 begun: one of four done
  EXPECT_EQ(seen[1].Elapsed, 10s);
  EXPECT_DOUBLE_EQ(seen[2].ItemFraction, 0.75);
  for (std::size_t done = 1; done <= 4; ++done) {
    EXPECT_EQ(seen[2 + done].ItemsFinished, done);
    EXPECT_DOUBLE_EQ(seen[2 + done].ItemFraction, 0);
  }
  // An estimate once three rows are done: 30.1 s for three pages, one left.
  EXPECT_FALSE(seen[4].Remaining);
  ASSERT_TRUE(seen[5].Remaining);
  EXPECT_EQ(*seen[5].Remaining, 10s);
  EXPECT_EQ(seen[6].Remaining, std::optional<std::chrono::seconds>(0s));
  EXPECT_DOUBLE_EQ(seen[6].Fraction(), 1.0);
}

TEST_F(RunFrameTest, PerFileRowsClearThePageListOfTheRowBefore) {
  Touch(In("a/1.tif"));
  Touch(In("a/2.tif"));
  Run(kUntypedFileRow);
  EXPECT_EQ(observer_.FileListClears, 2);
  observer_ = test::RecordingObserver();
  Run(kDirectoryRow);  // a per-directory job lists each directory's pages itself
  EXPECT_EQ(observer_.FileListClears, 0);
}

}  // namespace
}  // namespace zelk
