#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "jobs/JobRun_helpers.h"
#include "jobs/KilledChild_helpers.h"
#include "jobs/RenameInPlace.h"
#include "jobs/RenameJournal.h"
#include "support/FileTree.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::Touch;
using test::TreeOf;

class BatchRenameJobTest : public test::JobRunTest {
 protected:
  void SetUp() override {
    JobRunTest::SetUp();
    settings_.Rename = {};
    settings_.Rename.RFileNamePre = "A";
    settings_.Rename.RFileNameInit = 1;
    settings_.Rename.RFileNameLength = 3;
    settings_.Rename.RAddZero = 1;
  }
};

TEST_F(BatchRenameJobTest, CopiesTakeNumberedNamesInTheMirroredTree) {
  Touch(In("a/x.tif"), "x");
  Touch(In("a/y.jpg"), "y");
  Touch(In("a/z.txt"), "z");
  Touch(In("b/README"), "r");
  Touch(In("b/x.tif"), "bx");
  const RunResult result = Run(JobId::BatchRename);
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"a/", "a/A001.tif", "a/A002.jpg",
                                                    "a/A003.txt", "b/", "b/A001.README",
                                                    "b/A002.tif"}));
  EXPECT_EQ(ReadBytes(Out("a/A002.jpg")), "y");
  EXPECT_EQ(ReadBytes(Out("b/A002.tif")), "bx");
  EXPECT_TRUE(fs::exists(In("a/x.tif")));  // the sources stay as they are
  EXPECT_EQ(observer_.RowStatuses[0].back(), "已更名");
  EXPECT_EQ(observer_.LastStatus(), "本次更名完毕！    ");
  EXPECT_EQ(FailureList(), "2026年3月7日 9时5分 -- 未更名清单\r\n"
                           "本次执行共有0个图像目录没有更名成功。\r\n\r\n");
  // The target directories exist now: nothing left to rename.
  EXPECT_EQ(Run(JobId::BatchRename).End, RunEnd::NothingFound);
}

TEST_F(BatchRenameJobTest, DirectoryNameAndNumbersCutToTheirDigits) {
  for (const char* name : {"1.tif", "2.tif", "3.tif"}) Touch(In(std::string("box7/") + name));
  settings_.Rename.RFileNameAutoAdd = 1;
  settings_.Rename.RFileNameInit = 99;
  settings_.Rename.RFileNameLength = 2;
  Run(JobId::BatchRename);
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"box7/", "box7/box7A00.tif",
                                                    "box7/box7A01.tif", "box7/box7A99.tif"}));
}

TEST_F(BatchRenameJobTest, InPlaceANewNameStillTakenByALaterFileOverwritesNothing) {
  Touch(In("a/1.tif"), "first");
  Touch(In("a/A001.tif"), "second");
  Touch(In("a/A002.tif"), "third");
  Touch(In("a/.hidden"), "hidden");
  Run(JobId::BatchRename, "-");
  EXPECT_EQ(TreeOf(In("a")),
            (std::vector<std::string>{".hidden", "A001.tif", "A002.tif", "A003.tif"}));
  EXPECT_EQ(ReadBytes(In("a/A001.tif")), "first");
  EXPECT_EQ(ReadBytes(In("a/A002.tif")), "second");
  EXPECT_EQ(ReadBytes(In("a/A003.tif")), "third");
  // Without an output tree every directory is offered again; the names stay.
  EXPECT_EQ(Run(JobId::BatchRename, "-").Successes, 1u);
  EXPECT_EQ(ReadBytes(In("a/A001.tif")), "first");
}

TEST_F(BatchRenameJobTest, AnInPlaceRenameThatCannotFinishPutsTheDirectoryBack) {
  Touch(In("a/x.tif"), "x");
  Touch(In("a/y.tif"), "y");
  // A name the listing does not show (a link to nowhere) blocks y's new name.
  fs::create_symlink(dir_.File("nowhere"), In("a/A002.tif"));
  const RunResult result = Run(JobId::BatchRename, "-");
  EXPECT_EQ(result.Successes, 0u);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(observer_.RowStatuses[0].back(), "更名失败");
  ASSERT_EQ(observer_.FailureReasons.size(), 1u);
  EXPECT_NE(observer_.FailureReasons[0].find("A002.tif”已存在"), std::string::npos);
  EXPECT_EQ(TreeOf(In("a")), (std::vector<std::string>{"A002.tif", "x.tif", "y.tif"}));
  EXPECT_EQ(ReadBytes(In("a/x.tif")), "x");
  EXPECT_EQ(FailureList(), "2026年3月7日 9时5分 -- 未更名清单\r\n" + In("a") +
                               "\r\n本次执行共有1个图像目录没有更名成功。\r\n\r\n");
}

TEST_F(BatchRenameJobTest, ADirectorySwappedForALinkAfterTheScanIsNotRenamedThrough) {
  Touch(In("a/x.tif"), "x");
  Touch(dir_.File("elsewhere/keep.tif"), "kept");
  onStatus_ = [this](const std::string& status) {
    if (status != "正在更名" + In("a")) return;
    fs::rename(In("a"), dir_.File("a-moved"));
    fs::create_directory_symlink(dir_.File("elsewhere"), In("a"));
  };
  const RunResult result = Run(JobId::BatchRename, "-");
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(observer_.FailureReasons, std::vector<std::string>{"输出路径中含有链接：" + In("a")});
  EXPECT_EQ(TreeOf(dir_.File("elsewhere")), std::vector<std::string>{"keep.tif"});
}

TEST_F(BatchRenameJobTest, NamesThatCannotBeUsedChangeNothing) {
  Touch(In("a/x.tif"), "x");
  Touch(In("a/y.tif"), "y");
  struct Case {
    const char* what;
    const char* prefix;
    int length;
    const char* target;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"two files, one name, in place", "A", 0, "-", "A.tif"},
      {"two files, one name, copied", "A", 0, "", "A.tif"},
      {"a separator", "../", 3, "", "路径分隔符"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(out_);
    settings_.Rename.RFileNamePre = c.prefix;
    settings_.Rename.RFileNameLength = static_cast<int16_t>(c.length);
    EXPECT_EQ(Run(JobId::BatchRename, c.target).Failures, 1u);
    ASSERT_EQ(observer_.FailureReasons.size(), 1u);
    EXPECT_NE(observer_.FailureReasons[0].find(c.reason), std::string::npos)
        << observer_.FailureReasons[0];
    EXPECT_EQ(TreeOf(In("a")), (std::vector<std::string>{"x.tif", "y.tif"}));
    EXPECT_FALSE(fs::exists(out_));
  }
}

// Three files of directory "a" and the names the job gives them.
class InterruptedRenameTest : public BatchRenameJobTest {
 protected:
  void SetUp() override {
    BatchRenameJobTest::SetUp();
    MakeFiles();
  }

  void MakeFiles() {
    fs::remove_all(In("a"));
    Touch(In("a/x.tif"), "x");
    Touch(In("a/y.tif"), "y");
    Touch(In("a/z.jpg"), "z");
  }

  // The job's rename of "a", in a child killed at step `killAt` (the
  // journal is step 1, then two renames per file).
  bool KillRenameAt(int killAt) {
    return test::KilledAtStep(killAt, [this](const std::function<void()>& step) {
      RenameFilesInPlace(In("a"), kChanges, step);
    });
  }

  const std::vector<NameChange> kChanges = {
      {"x.tif", "A001.tif"}, {"y.tif", "A002.tif"}, {"z.jpg", "A003.jpg"}};
};

TEST_F(InterruptedRenameTest, TheNextRunFinishesARenameKilledAtAnyStep) {
  for (int k = 1; k <= 7; ++k) {
    SCOPED_TRACE("killed at step " + std::to_string(k));
    MakeFiles();
    ASSERT_TRUE(KillRenameAt(k));
    EXPECT_EQ(Run(JobId::BatchRename, "-").Successes, 1u);
    EXPECT_EQ(TreeOf(In("a")), (std::vector<std::string>{"A001.tif", "A002.tif", "A003.jpg"}));
    EXPECT_EQ(ReadBytes(In("a/A001.tif")), "x");
    EXPECT_EQ(ReadBytes(In("a/A003.jpg")), "z");
  }
}

TEST_F(InterruptedRenameTest, ARenameKilledInADirectoryTheScanPassesOverIsSettledBeforeIt) {
  ASSERT_TRUE(KillRenameAt(3));  // x and y under temporary names
  // "a" is no leaf any more: it is never an item of its own.
  Touch(In("a/sub/p.tif"), "p");
  EXPECT_EQ(Run(JobId::BatchRename, "-").Successes, 1u);
  EXPECT_EQ(TreeOf(In("a")),
            (std::vector<std::string>{"sub/", "sub/A001.tif", "x.tif", "y.tif", "z.jpg"}));
  EXPECT_EQ(ReadBytes(In("a/y.tif")), "y");
}

TEST_F(InterruptedRenameTest, ARenameThatCanGoNeitherWayFailsItsDirectoryNamingTheFiles) {
  ASSERT_TRUE(KillRenameAt(5));  // x at its new name, y and z at temporary names
  Touch(In("a/A002.tif"), "stranger");
  Touch(In("a/y.tif"), "stranger");
  // Copies are not made of the files either: some are out of sight.
  EXPECT_EQ(Run(JobId::BatchRename).Failures, 1u);
  EXPECT_FALSE(fs::exists(Out("a")));
  const RunResult result = Run(JobId::BatchRename, "-");
  EXPECT_EQ(result.Failures, 1u);
  ASSERT_EQ(observer_.FailureReasons.size(), 1u);
  EXPECT_NE(observer_.FailureReasons[0].find("原名y.tif"), std::string::npos)
      << observer_.FailureReasons[0];
  EXPECT_TRUE(fs::exists(RenameJournalPath(In("a"))));

  fs::remove(In("a/y.tif"));
  fs::remove(In("a/A002.tif"));
  EXPECT_EQ(Run(JobId::BatchRename, "-").Successes, 1u);
  EXPECT_EQ(TreeOf(In("a")), (std::vector<std::string>{"A001.tif", "A002.tif", "A003.jpg"}));
  EXPECT_EQ(ReadBytes(In("a/A002.tif")), "y");
}

TEST_F(BatchRenameJobTest, FilesAnEarlierVersionLeftUnderTemporaryNamesAreNotRenamed) {
  Touch(In("a/x.tif.zelk-renaming"), "x");
  Touch(In("a/y.tif"), "y");
  EXPECT_EQ(Run(JobId::BatchRename, "-").Failures, 1u);
  ASSERT_EQ(observer_.FailureReasons.size(), 1u);
  EXPECT_NE(observer_.FailureReasons[0].find("x.tif.zelk-renaming"), std::string::npos);
  EXPECT_EQ(TreeOf(In("a")), (std::vector<std::string>{"x.tif.zelk-renaming", "y.tif"}));
}

TEST_F(BatchRenameJobTest, CopiesKilledMidwayAreMadeWholeByTheNextRun) {
  Touch(In("a/x.tif"), "x");
  Touch(In("a/y.tif"), std::string(1 << 20, 'y'));
  // The run dies while it copies the large file, the small one copied.
  ASSERT_TRUE(test::KilledWritingBeyond(64 << 10, [this] { Run(JobId::BatchRename); }));
  EXPECT_FALSE(fs::exists(Out("a")));
  EXPECT_EQ(Run(JobId::BatchRename).Successes, 1u);
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"a/", "a/A001.tif", "a/A002.tif"}));
  EXPECT_EQ(ReadBytes(Out("a/A002.tif")).size(), 1u << 20);
}

}  // namespace
}  // namespace zelk
