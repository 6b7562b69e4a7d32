#include "run/RunFrame.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "filesafety/ItemClaim.h"
#include "filesafety/OutputTransaction.h"
#include "run/RowClaims.h"
#include "run/RunFrame_fixture.h"
#include "run/TestJobRows.h"
#include "settings/SettingsFile.h"
#include "support/FileTree.h"
#include "support/PortablePlaces.h"
#include "support/SmallTmpfs.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::Touch;

using test::kDirectoryRow;
using test::kFailureList;
using test::kFileRow;
using test::kInPlaceRow;
using test::kSuccessList;
using test::kUntypedFileRow;
using test::RunFrameTest;

TEST_F(RunFrameTest, ThreeItemsWithOneFailureGiveByteExactLists) {
  Touch(In("a/1.tif"));
  Touch(In("bad/1.tif"));
  Touch(In("c/1.tif"));
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.End, RunEnd::Finished);
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(List(kSuccessList),
            "2026年3月7日 9时5分 -- 已归档清单\r\n" + In("a") + "\r\n" + In("c") +
                "\r\n本次总共归档了2个目录 共历时1分15秒\r\n\r\n");
  EXPECT_EQ(List(kFailureList), "2026年3月7日 9时5分 -- 未归档清单\r\n" + In("bad") +
                                    "\r\n本次执行共有1个目录没有归档成功。\r\n\r\n");
  EXPECT_EQ(observer_.LastStatus(), "本次归档完毕！    ");
  EXPECT_EQ(observer_.BusyChanges, (std::vector<bool>{true, false}));
  EXPECT_EQ(observer_.DoneCounts, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(observer_.RowStatuses[1], (std::vector<std::string>{"归档...", "归档失败"}));
  EXPECT_EQ(observer_.RowStatuses[2], (std::vector<std::string>{"归档...", "已归档"}));
  EXPECT_EQ(observer_.FailureReasons, (std::vector<std::string>{"处理失败"}));
  EXPECT_FALSE(control_.IsActive());
  EXPECT_EQ(observer_.CloseRequests, 0);
}

TEST_F(RunFrameTest, NamesWithLineBreaksOrLegacyBytesStayOneLineOfUtf8) {
  Touch(In("a\nb/1.tif"));
  Touch(In("c\xD6\xD0-bad/1.tif"));  // a GBK name from a Windows share
  Touch(In("d/1.tif"));
  Run(kDirectoryRow);
  EXPECT_EQ(List(kSuccessList),
            "2026年3月7日 9时5分 -- 已归档清单\r\n" + In("a\\nb") + "\r\n" + In("d") +
                "\r\n本次总共归档了2个目录 共历时1分15秒\r\n\r\n");
  EXPECT_EQ(List(kFailureList), "2026年3月7日 9时5分 -- 未归档清单\r\n" + In("c\\xD6\\xD0-bad") +
                                    "\r\n本次执行共有1个目录没有归档成功。\r\n\r\n");
}

TEST_F(RunFrameTest, TwoRunsOnOneDayAppendToTheSameLists) {
  Touch(In("a/1.tif"));
  Touch(In("bad/1.tif"));
  Run(kDirectoryRow);
  clock_.Set(test::At(2026, 3, 7, 17, 30, 0));
  script_.OnItem = nullptr;
  const RunResult second = Run(kDirectoryRow);  // only the failed directory is offered again
  EXPECT_EQ(second.Failures, 1u);
  EXPECT_EQ(List(kSuccessList),
            "2026年3月7日 9时5分 -- 已归档清单\r\n" + In("a") +
                "\r\n本次总共归档了1个目录 共历时50秒\r\n\r\n"
                "2026年3月7日 17时30分 -- 已归档清单\r\n"
                "本次总共归档了0个目录 共历时0秒\r\n\r\n");
  EXPECT_EQ(List(kFailureList), "2026年3月7日 9时5分 -- 未归档清单\r\n" + In("bad") +
                                    "\r\n本次执行共有1个目录没有归档成功。\r\n\r\n"
                                    "2026年3月7日 17时30分 -- 未归档清单\r\n" +
                                    In("bad") + "\r\n本次执行共有1个目录没有归档成功。\r\n\r\n");
}

TEST_F(RunFrameTest, NothingFoundWritesNoListsAndSaysSo) {
  fs::create_directories(in_);
  const RunResult result = Run(kUntypedFileRow);
  EXPECT_EQ(result.End, RunEnd::NothingFound);
  EXPECT_EQ(observer_.LastStatus(), "未找到需切分的文件");
  EXPECT_FALSE(ListExists(kSuccessList));
  EXPECT_FALSE(ListExists(kFailureList));
  EXPECT_EQ(observer_.BusyChanges, (std::vector<bool>{true, false}));
  EXPECT_EQ(script_.CleanUps, 0);
}

TEST_F(RunFrameTest, CancelDuringTheScanEndsBeforeAnyLine) {
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  struct CancellingObserver : test::RecordingObserver {
    RunControl* control = nullptr;
    void OnRowAdded(const WorkRow& row) override {
      RecordingObserver::OnRowAdded(row);
      control->RequestCancel();
    }
  } cancelling;
  cancelling.control = &control_;
  RunRequest request{settings_, in_,     out_, test::PortablePlacesIn(dir_.Path()).LogsDir,
                     {},        &clock_, {}};
  test::TestJob job(kDirectoryRow, script_);
  control_.BeginRun();
  const RunResult result = RunJob(job, request, cancelling, control_);
  EXPECT_EQ(result.End, RunEnd::CancelledDuringScan);
  EXPECT_EQ(cancelling.LastStatus(), "目录归档过程被取消！");
  EXPECT_TRUE(script_.Seen.empty());
  EXPECT_FALSE(ListExists(kSuccessList));
  EXPECT_EQ(cancelling.BusyChanges, (std::vector<bool>{true, false}));
  EXPECT_FALSE(control_.IsActive());

  // Cancelled before the scan found anything: still a cancel, not "nothing found".
  control_.BeginRun();
  control_.RequestCancel();
  EXPECT_EQ(RunJob(job, request, cancelling, control_).End, RunEnd::CancelledDuringScan);
  EXPECT_EQ(cancelling.LastStatus(), "目录归档过程被取消！");
}

TEST_F(RunFrameTest, CancelDuringAnItemFinishesItAndWritesTheSummary) {
  for (const char* name : {"a", "b", "c"}) Touch(In(name) + "/1.tif");
  script_.OnItem = [this](RunContext&, std::size_t index) {
    if (index == 0) control_.RequestCancel();
  };
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.End, RunEnd::Cancelled);
  EXPECT_EQ(script_.Seen, (std::vector<std::string>{In("a")}));
  EXPECT_EQ(result.Successes, 1u);
  // The status says the run was cut short; the lists still get their summary.
  EXPECT_EQ(observer_.LastStatus(), "目录归档过程被取消！");
  EXPECT_NE(List(kSuccessList).find("本次总共归档了1个目录 共历时0秒\r\n\r\n"),
            std::string::npos);
  EXPECT_FALSE(control_.IsActive());

  // A cancel during the last item leaves nothing undone: the run finished.
  script_.OnItem = [this](RunContext&, std::size_t index) {
    if (index == 1) control_.RequestCancel();
  };
  const RunResult rest = Run(kDirectoryRow);
  EXPECT_EQ(rest.End, RunEnd::Finished);
  EXPECT_EQ(rest.Successes, 2u);
  EXPECT_EQ(observer_.LastStatus(), "本次归档完毕！    ");
}

TEST_F(RunFrameTest, NoCancelTestAfterAFailedItem) {
  for (const char* name : {"a-bad", "b", "c"}) Touch(In(name) + "/1.tif");
  script_.OnItem = [this](RunContext&, std::size_t index) {
    if (index == 0) control_.RequestCancel();
  };
  Run(kDirectoryRow);
  EXPECT_EQ(script_.Seen, (std::vector<std::string>{In("a-bad"), In("b")}));
}

TEST_F(RunFrameTest, QuitRequestClosesTheWindowAtTheEndOfEveryKindOfRun) {
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  script_.OnItem = [this](RunContext&, std::size_t) { control_.RequestQuit(); };
  Run(kDirectoryRow);
  EXPECT_EQ(script_.Seen.size(), 1u);
  EXPECT_EQ(observer_.CloseRequests, 1);
  // The quit request stays: a run ending through "nothing found" closes too.
  const RunResult nothing = Run(kDirectoryRow, In("b"));
  EXPECT_EQ(nothing.End, RunEnd::NothingFound);
  EXPECT_EQ(observer_.CloseRequests, 2);
}

TEST_F(RunFrameTest, LastRowFailingWritesTheSecondSuccessHead) {
  Touch(In("a/x.tif"));
  Touch(In("a/z-bad.tif"));
  const RunResult result = Run(kFileRow);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(List(kSuccessList), "2026年3月7日 9时5分 -- 已转存清单\r\n" + In("a/x.tif") +
                                    "\r\n本次执行总共转存了1个文件 共历时50秒\r\n\r\n");
  EXPECT_EQ(List(kFailureList), "2026年3月7日 9时5分 -- 未转存清单\r\n" + In("a/") +
                                    "\r\n本次执行共有1个文件没有转存成功。\r\n\r\n");
  EXPECT_EQ(observer_.LastStatus(), "本次转存完毕！    ");
}

TEST_F(RunFrameTest, ASkippedItemIsNeitherCountedNorListed) {
  Touch(In("gone.tif"));
  Touch(In("x.tif"));
  const RunResult result = Run(kFileRow);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 0u);
  EXPECT_EQ(observer_.RowStatuses[0].back(), "不存在");
  EXPECT_EQ(List(kSuccessList).find(In("gone.tif")), std::string::npos);
}

TEST_F(RunFrameTest, FailedDirectoryIsCopiedWholeIntoTheErrorTreeBesideWhatIsThere) {
  Touch(In("box/bad/1.tif"), "page one");
  Touch(In("box/bad/.notes/2.txt"), "hidden, but part of the directory");
  Touch(Out("Error/box/bad/1.tif"), "old copy");
  Touch(Out("Error/box/bad/other.tif"), "left from before");
  Run(kDirectoryRow);
  // The earlier copy stays as it was; this one takes the next free name.
  EXPECT_EQ(test::ReadBytes(Out("Error/box/bad/1.tif")), "old copy");
  EXPECT_TRUE(fs::exists(Out("Error/box/bad/other.tif")));
  EXPECT_EQ(test::ReadBytes(Out("Error/box/bad (2)/1.tif")), "page one");
  EXPECT_EQ(test::ReadBytes(Out("Error/box/bad (2)/.notes/2.txt")),
            "hidden, but part of the directory");
  EXPECT_TRUE(fs::exists(In("box/bad/1.tif")));
  // Failing again unchanged on the next run adds no third copy.
  Run(kDirectoryRow);
  EXPECT_EQ(test::EntryCount(Out("Error/box")), 2);
}

TEST_F(RunFrameTest, FailedFileIsCopiedOrMovedAndListedAsTheJobSays) {
  Touch(In("a/doc-bad.tif"), "split source");
  Run(kUntypedFileRow);
  EXPECT_EQ(test::ReadBytes(Out("Error/a/doc-bad.tif")), "split source");
  EXPECT_TRUE(fs::exists(In("a/doc-bad.tif")));
  EXPECT_NE(List(kFailureList).find("\r\n" + In("a/doc-bad") + "\r\n"), std::string::npos);

  Touch(In("root-bad.jpg"), "moved source");
  Run(kFileRow);
  EXPECT_EQ(test::ReadBytes(Out("Error/root-bad.jpg")), "moved source");
  EXPECT_FALSE(fs::exists(In("root-bad.jpg")));
  EXPECT_NE(List(kFailureList).find("\r\n" + in_ + "/\r\n"), std::string::npos);

  // A later file of that name never replaces the moved original, the only
  // copy there is.
  Touch(In("root-bad.jpg"), "a newer scan of that name");
  Run(kFileRow);
  EXPECT_EQ(test::ReadBytes(Out("Error/root-bad.jpg")), "moved source");
  EXPECT_EQ(test::ReadBytes(Out("Error/root-bad (2).jpg")), "a newer scan of that name");
  EXPECT_FALSE(fs::exists(In("root-bad.jpg")));
}

TEST_F(RunFrameTest, AnErrorCopyThatFailsIsReportedAndTheRunGoesOn) {
  Touch(In("a-bad/1.tif"));
  Touch(In("b/1.tif"));
  Touch(Out("Error"), "a file where the Error directory belongs");
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.ErrorCopyFailures, 1u);
  EXPECT_EQ(result.Successes, 1u);
  // The status names the item and why, in the operator's words: the Error
  // directory is a file.
  EXPECT_TRUE(HasStatusStartingWith("无法放入Error目录：" + In("a-bad") + "：路径中有一项不是目录"));
}

TEST_F(RunFrameTest, AnErrorCopyThatCannotBeFinishedLeavesNothingAndSaysWhy) {
  Touch(In("a-bad/1.tif"), "page one");
  ASSERT_EQ(::mkfifo(In("a-bad/pipe").c_str(), 0600), 0);
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.ErrorCopyFailures, 1u);
  EXPECT_TRUE(HasStatusStartingWith("无法放入Error目录：" + In("a-bad") + "：" +
                                    std::strerror(ENOTSUP) + "（" + In("a-bad/pipe") + "）"));
  EXPECT_EQ(test::EntryCount(Out("Error")), 0);
}

TEST_F(RunFrameTest, AnErrorCopyOnAFullDiskLeavesNothingAndSaysSo) {
  const test::SmallTmpfs disk(out_, "2m");
  if (!disk.Mounted()) GTEST_SKIP() << disk.SkipReason();
  const std::string page(100 * 1024, 'p');
  for (int n = 1; n <= 30; ++n) Touch(In("b-bad/" + std::to_string(n) + ".tif"), page);
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(result.ErrorCopyFailures, 1u);
  EXPECT_TRUE(HasStatusStartingWith("无法放入Error目录：" + In("b-bad") + "：磁盘空间不足"));
  EXPECT_EQ(test::EntryCount(Out("Error")), 0) << "no half copy, no temporary";
}

TEST_F(RunFrameTest, UnwritableListsDoNotStopTheRunAndTheStatusSaysSo) {
  Touch(dir_.File("Logs"), "a file where the Logs directory belongs");
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_TRUE(result.ResultListFailed);
  EXPECT_EQ(observer_.LastStatus(), "本次归档完毕！    （结果清单未能写入）");
  const auto reports = std::count_if(observer_.Statuses.begin(), observer_.Statuses.end(),
                                     [](const std::string& s) {
                                       return s.starts_with("无法写入结果清单：");
                                     });
  EXPECT_EQ(reports, 2);  // once per list
  EXPECT_TRUE(fs::exists(Out("a.tif")));
}

TEST_F(RunFrameTest, AListThatIsALinkIsNotWrittenThroughAndTheStatusNamesIt) {
  Touch(dir_.File("elsewhere/kept.txt"), "not a list");
  fs::create_directories(dir_.File("Logs"));
  fs::create_symlink(dir_.File("elsewhere/kept.txt"), dir_.File(kSuccessList));
  Touch(In("a/1.tif"));
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_TRUE(result.ResultListFailed);
  EXPECT_EQ(test::ReadBytes(dir_.File("elsewhere/kept.txt")), "not a list");
  EXPECT_TRUE(HasStatusStartingWith("无法写入结果清单：" + dir_.File(kSuccessList) +
                                    "：输出路径中含有链接：" + dir_.File(kSuccessList)));
}

TEST_F(RunFrameTest, EmptyBoxesStopTheRunWithAMessage) {
  RunRequest request{settings_, "",      out_, test::PortablePlacesIn(dir_.Path()).LogsDir,
                     {},        &clock_, {}};
  test::TestJob job(kDirectoryRow, script_);
  control_.BeginRun();
  EXPECT_EQ(RunJob(job, request, observer_, control_).End, RunEnd::NotStarted);
  control_.BeginRun();
  request.SourceDir = in_;
  request.TargetDir = "";
  EXPECT_EQ(RunJob(job, request, observer_, control_).End, RunEnd::NotStarted);
  ASSERT_EQ(observer_.Messages.size(), 2u);
  EXPECT_EQ(observer_.Messages[0].Text, "请选择目录！\u3000\u3000");
  EXPECT_EQ(observer_.Messages[0].FocusAfter, UserMessage::Focus::SourceDirButton);
  EXPECT_EQ(observer_.Messages[1].FocusAfter, UserMessage::Focus::TargetDirButton);
  EXPECT_TRUE(observer_.BusyChanges.empty());
  EXPECT_FALSE(control_.IsActive());
  Settings reread;
  LoadSettings(dir_.Path().string(), reread);
  EXPECT_EQ(reread.Common.ImageSrcDir, settings_.Common.ImageSrcDir);

  // A job that renames in place needs no output directory.
  Touch(In("a/1.tif"));
  control_.BeginRun();
  test::TestJob renaming(kInPlaceRow, script_);
  EXPECT_EQ(RunJob(renaming, request, observer_, control_).End, RunEnd::Finished);
}

// Refused roots stop the run before it stores the boxes, opens the lists
// or clears temporary files, whatever the job.
TEST_F(RunFrameTest, AMissingSourceOrAnOutputInsideTheSourceStopsTheRunBeforeAnyWrite) {
  Touch(In("a/1.tif"));
  Touch(In("a/leftover.tif.zelk-tmp"));
  struct Case {
    const JobDescriptor* row;
    std::string source, target;
    std::string message;
    UserMessage::Focus focus;
  };
  const std::vector<Case> cases = {
      {&kDirectoryRow, In("missing"), out_, "源目录“" + In("missing") + "”不存在！　　",
       UserMessage::Focus::SourceDirButton},
      {&kInPlaceRow, In("missing"), "", "源目录“" + In("missing") + "”不存在！　　",
       UserMessage::Focus::SourceDirButton},
      {&kUntypedFileRow, in_ + "/", in_, "输出目录不能与源目录相同！　　",
       UserMessage::Focus::TargetDirButton},
      {&kDirectoryRow, in_, In("a/out"), "输出目录不能位于源目录之内！　　",
       UserMessage::Focus::TargetDirButton},
      {&kInPlaceRow, in_, In("renamed/"), "输出目录不能位于源目录之内！　　",
       UserMessage::Focus::TargetDirButton},
  };
  const std::string storedSettings = test::ReadBytes(dir_.File("ZELK.conf"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    observer_ = {};
    EXPECT_EQ(Run(*c.row, c.source, c.target.empty() ? std::string("-") : c.target).End,
              RunEnd::NotStarted);
    ASSERT_EQ(observer_.Messages.size(), 1u);
    EXPECT_EQ(observer_.Messages[0].Text, c.message);
    EXPECT_EQ(observer_.Messages[0].FocusAfter, c.focus);
    EXPECT_TRUE(observer_.BusyChanges.empty());
    EXPECT_FALSE(control_.IsActive());
  }
  EXPECT_TRUE(script_.Seen.empty());
  EXPECT_FALSE(fs::exists(dir_.File("Logs")));
  EXPECT_TRUE(fs::exists(In("a/leftover.tif.zelk-tmp")));
  EXPECT_EQ(test::ReadBytes(dir_.File("ZELK.conf")), storedSettings);
  EXPECT_EQ(test::EntryCount(in_), 1);  // nothing made inside the source

  // Renaming in place compares no output root.
  EXPECT_EQ(Run(kInPlaceRow, in_, "-").End, RunEnd::Finished);
}

TEST_F(RunFrameTest, StartCheckAndPreparationFailuresEndTheRun) {
  Touch(In("a/1.tif"));
  script_.StartCheckMessage = UserMessage{UserMessage::Icon::Information, "分件数据文件不存在，请设置！    "};
  EXPECT_EQ(Run(kDirectoryRow).End, RunEnd::NotStarted);
  EXPECT_TRUE(observer_.BusyChanges.empty());
  EXPECT_FALSE(ListExists(kSuccessList));

  script_.StartCheckMessage.reset();
  script_.PreparationError =
      JobStartError({UserMessage::Icon::Warning, "engine missing    "}, "归档准备失败！");
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.End, RunEnd::PreparationFailed);
  EXPECT_EQ(observer_.LastStatus(), "归档准备失败！");
  EXPECT_EQ(observer_.Messages.back().Text, "engine missing    ");
  EXPECT_TRUE(script_.Seen.empty());
  EXPECT_EQ(List(kSuccessList), "2026年3月7日 9时5分 -- 已归档清单\r\n");  // no summary
  EXPECT_FALSE(control_.IsActive());
}

TEST_F(RunFrameTest, StoresTheBoxesAsTypedAndHandsInMemoryChangesBack) {
  Touch(In("a/1.tif"));
  Touch(Out("a.tif"));
  script_.OnItem = [](RunContext& context, std::size_t) {
    context.RunSettings().Merge.KeepDir = 1;
    context.KeepSettingChange(SettingId::Merge_KeepDir);
  };
  Touch(In("b/1.tif"));
  const RunResult result = Run(kDirectoryRow, in_ + "/", out_ + "//");
  // The roots lose their trailing separators inside the run: a.tif is found.
  EXPECT_EQ(script_.Seen, (std::vector<std::string>{In("b")}));
  EXPECT_EQ(script_.SourceRootsSeen, (std::vector<std::string>{in_}));

  Settings reread;
  ASSERT_TRUE(LoadSettings(dir_.Path().string(), reread));
  EXPECT_EQ(reread.Common.ImageSrcDir, in_ + "/");
  EXPECT_EQ(reread.Common.ConvertDstDir, out_ + "//");
  EXPECT_EQ(reread.Common.ConvertAction, kDirectoryRow.Action);
  EXPECT_EQ(reread.Merge.KeepDir, 0);  // an in-memory change only

  Settings record = settings_;
  record.Merge.Grouping = "changed in a dialog during the run";
  result.SettingsChanges.ApplyTo(record);
  EXPECT_EQ(record.Common.ImageSrcDir, in_ + "/");
  EXPECT_EQ(record.Common.ConvertAction, kDirectoryRow.Action);
  EXPECT_EQ(record.Merge.KeepDir, 1);
  EXPECT_EQ(record.Merge.Grouping, "changed in a dialog during the run");
}

TEST_F(RunFrameTest, ItemProgressTextsComeFromTheJobsRow) {
  Touch(In("a/1.tif"));
  script_.OnItem = [](RunContext& context, std::size_t index) {
    context.ShowPageProgress(index, 2, 7);
  };
  Run(kDirectoryRow);
  EXPECT_EQ(observer_.Statuses[1], "正在归档" + In("a"));
  EXPECT_EQ(observer_.Statuses[2], "正在读取" + In("a") + "  第2页 共7页");
  Run(kUntypedFileRow, In("a"));
  EXPECT_NE(std::find(observer_.Statuses.begin(), observer_.Statuses.end(),
                      "正在切分" + In("a/1.tif") + "  第2页  共7页"),
            observer_.Statuses.end());
}

TEST_F(RunFrameTest, WhatKilledRunsLeftGoesWhereTheRunWritesAndALiveRunsFilesStay) {
  Touch(In("a/1.tif"));
  fs::create_directories(Out("elsewhere"));
  const pid_t child = ::fork();
  if (child == 0) {  // a run killed while it wrote
    test::WriteBytes(TemporaryPathBeside(Out("a.tif")).string(), "half");
    test::WriteBytes(TemporaryPathBeside(Out("elsewhere/b.tif")).string(), "half");
    ::_exit(0);
  }
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  const std::string live = TemporaryPathBeside(Out("live.pdf")).string();
  test::WriteBytes(live, "being written by a live run");
  Run(kDirectoryRow);
  // The run claimed and wrote a beside the killed run's file: gone there.
  // Nothing was written in "elsewhere": the sweep does not walk the tree.
  EXPECT_EQ(test::TreeOf(out_), (std::vector<std::string>{
                                     fs::path(live).filename().string(), "a.tif", "elsewhere/",
                                     "elsewhere/" + test::TreeOf(Out("elsewhere")).front()}));
  EXPECT_EQ(test::TreeOf(Out("elsewhere")).size(), 1u);
}

TEST_F(RunFrameTest, ItemsAnotherRunHoldsOrHasFinishedArePassedBy) {
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  Touch(In("c/1.tif"));
  // Another run holds a (a live claim) and finishes c while this run works
  // on b, after this run's scan.  A run of another job (a PDF of b) does not
  // stand in this one's way: claims go by the output.
  std::optional<ItemClaim> other = ItemClaim::Take(Out(""), Out("a.tif"));
  ASSERT_TRUE(other);
  std::optional<ItemClaim> pdfRun = ItemClaim::Take(Out(""), Out("b.pdf"));
  ASSERT_TRUE(pdfRun);
  script_.OnItem = [this](RunContext&, std::size_t) { Touch(Out("c.tif")); };
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 0u);
  EXPECT_EQ(script_.Seen, std::vector<std::string>{In("b")});
  EXPECT_EQ(observer_.RowStatuses[0].back(), kHeldByAnotherRun);
  EXPECT_EQ(observer_.RowStatuses[2].back(), kDoneByAnotherRun);
  EXPECT_EQ(List(kSuccessList).find(In("a")), std::string::npos);
  EXPECT_EQ(List(kFailureList).find(In("a")), std::string::npos);
  EXPECT_TRUE(fs::exists(ClaimPathFor(Out("a.tif")))) << "another run's claim is not touched";
  EXPECT_FALSE(fs::exists(ClaimPathFor(Out("b.tif")))) << "this run's claims are released";
  EXPECT_EQ(observer_.LastStatus(), "本次归档完毕！    （1项由其他进程转换中）");
}

TEST_F(RunFrameTest, ARunThatLostItsClaimWhileStalledCommitsNothing) {
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  // While a's outputs are written, the run stalls past the stale age and
  // another host takes its claim over and converts a anew.
  script_.OnItem = [this](RunContext& context, std::size_t index) {
    OutputTransaction outputs(out_);
    const std::string path = context.Row(index).Path;
    const std::string result = Out(fs::path(path).filename().string() + ".tif");
    test::WriteBytes(outputs.Add(result, false), "older");
    if (index == 0) {
      test::WriteBytes(ClaimPathFor(result).string(), "host=elsewhere\npid=7\nfence=1\n");
      test::WriteBytes(result, "newer, by the other host");
    }
    outputs.Commit();
  };
  const RunResult result = Run(kDirectoryRow);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 0u);
  EXPECT_EQ(observer_.RowStatuses[0].back(), kDoneByAnotherRun);
  EXPECT_EQ(test::ReadBytes(Out("a.tif")), "newer, by the other host");
  EXPECT_EQ(List(kSuccessList).find(In("a") + "\r\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(ClaimPathFor(Out("a.tif")))) << "the other host's claim stays";
  EXPECT_EQ(test::TreeOf(out_), (std::vector<std::string>{
                                    ClaimPathFor(Out("a.tif")).filename().string(), "a.tif",
                                    "b.tif"}));
}

}  // namespace
}  // namespace zelk
