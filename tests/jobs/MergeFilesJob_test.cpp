#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "jobs/JobRun_helpers.h"
#include "support/FileTree.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::PageWidths;
using test::ReadTiffInfo;
using test::SourcePage;
using test::TreeOf;

class MergeFilesJobTest : public test::JobRunTest {
 protected:
  // A page `width` pixels wide, so that the outputs' page order shows.
  static SourcePage Grey(int width, int dpi = 200) { return {width, 30, 8, dpi, 0}; }
  static SourcePage Bitonal(int width) { return {width, 30, 1, 300, 0}; }

  // `count` single-page TIFFs p01.tif ... in `dir`, page p being 10 * p wide.
  void Pages(const std::string& dir, int count) {
    for (int p = 1; p <= count; ++p) {
      test::WriteTiff(In(dir + "/p" + (p < 10 ? "0" : "") + std::to_string(p) + ".tif"),
                      {Grey(10 * p)});
    }
  }

  void UseWorkbook(const std::string& fixture) {
    settings_.Merge.Grouping = test::Fixture(fixture);
    settings_.Merge.KeepDir = 0;  // a workbook puts every output inside its directory
  }
};

TEST_F(MergeFilesJobTest, PagesOfADirectoryBecomeOneTiffBesideTheMirroredDirectory) {
  settings_.Merge.KeepDir = 0;
  test::WriteColourJpeg(In("a/b/a.jpg"), 40, 30, 300);
  test::WriteTiff(In("a/b/b.TIF"), {Grey(50, 72)});
  test::WriteColourJpeg(In("a/b/scan.jpg.bak"), 70, 30, 150);
  test::WriteTiff(In("a/b/x.tiff"), {Grey(60, 200)});
  test::Touch(In("a/b/notes.txt"));
  test::Touch(In("empty/notes.txt"));

  const RunResult result = Run(JobId::MergeFiles);
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(result.Failures, 0u);
  const std::vector<test::TiffPageInfo> pages = ReadTiffInfo(Out("a/b.tif"));
  ASSERT_EQ(pages.size(), 4u);
  EXPECT_EQ(PageWidths(Out("a/b.tif")), (std::vector<uint32_t>{40, 50, 70, 60}));
  // Colour and grey pages get the TIFF choice (JPEG 4:4:4 by default).
  EXPECT_EQ(pages[0].Samples, 3);
  EXPECT_EQ(pages[0].Compression, COMPRESSION_JPEG);
  EXPECT_EQ(pages[1].Samples, 1);
  // A 72 dpi page is saved at 300; 150 and 200 stay.
  EXPECT_FLOAT_EQ(pages[1].XDpi, 300);
  EXPECT_FLOAT_EQ(pages[1].YDpi, 300);
  EXPECT_FLOAT_EQ(pages[2].XDpi, 150);
  EXPECT_FLOAT_EQ(pages[3].XDpi, 200);
  // A directory without pages writes nothing and still counts as merged.
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"a/", "a/b.tif"}));
  EXPECT_EQ(observer_.RowStatuses[1].back(), "已合并");
  EXPECT_NE(std::find(observer_.Statuses.begin(), observer_.Statuses.end(),
                      "正在合并" + In("a/b") + "  第3页 共4页"),
            observer_.Statuses.end());
  EXPECT_EQ(observer_.LastStatus(), "本次合并完毕！    ");
  // Leaves of the root come first, then the tree below each directory.
  EXPECT_EQ(SuccessList(), "2026年3月7日 9时5分 -- 已合并清单\r\n" + In("empty") + "\r\n" +
                               In("a/b") + "\r\n本次总共合并了2个图像目录 共历时0秒\r\n\r\n");
}

TEST_F(MergeFilesJobTest, KeepDirPutsTheOutputInsideAndASecondRunFindsNothing) {
  settings_.Merge.KeepDir = 1;
  test::WriteTiff(In("a/b/1.tif"), {Bitonal(64)});
  test::WriteTiff(In("a/b/2.tif"), {Bitonal(80)});
  Run(JobId::MergeFiles);
  const std::vector<test::TiffPageInfo> pages = ReadTiffInfo(Out("a/b/b.tif"));
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].Compression, COMPRESSION_CCITTFAX4);
  EXPECT_EQ(pages[1].Width, 80u);
  EXPECT_EQ(Run(JobId::MergeFiles).End, RunEnd::NothingFound);
  EXPECT_EQ(observer_.LastStatus(), "未找到需合并的图像目录");
}

TEST_F(MergeFilesJobTest, AnOutputDirectoryThatIsALinkFailsTheItemAndGetsNothing) {
  settings_.Merge.KeepDir = 1;
  test::WriteTiff(In("a/b/1.tif"), {Bitonal(64)});
  fs::create_directories(Out("a"));
  fs::create_directories(dir_.File("elsewhere"));
  fs::create_directory_symlink(dir_.File("elsewhere"), Out("a/b"));
  const RunResult result = Run(JobId::MergeFiles);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(observer_.FailureReasons, std::vector<std::string>{"输出路径中含有链接：" + Out("a/b")});
  EXPECT_EQ(TreeOf(dir_.File("elsewhere")), std::vector<std::string>{});
}

TEST_F(MergeFilesJobTest, ANameNearTheFileSystemLimitIsMergedLikeAnyOther) {
  // 250 bytes: with ".tif" still a legal name, so no temporary or claim
  // name may grow beyond it.
  const std::string longName(250, 'n');
  for (const int keepDir : {0, 1}) {
    settings_.Merge.KeepDir = static_cast<int16_t>(keepDir);
    const std::string leaf = "k" + std::to_string(keepDir) + "/" + longName;
    test::WriteTiff(In(leaf + "/1.tif"), {Bitonal(64)});
    const RunResult result = Run(JobId::MergeFiles);
    EXPECT_EQ(result.Failures, 0u) << observer_.LastStatus();
    EXPECT_EQ(ReadTiffInfo(Out(keepDir ? leaf + "/" + longName + ".tif" : leaf + ".tif")).size(), 1u);
  }
}

TEST_F(MergeFilesJobTest, ABackslashIsAnOrdinaryCharacterOfADirectoryName) {
  settings_.Merge.KeepDir = 1;
  test::WriteTiff(In("2024\\卷一/1.tif"), {Bitonal(64)});
  const RunResult result = Run(JobId::MergeFiles);
  EXPECT_EQ(result.Failures, 0u) << observer_.LastStatus();
  EXPECT_EQ(ReadTiffInfo(Out("2024\\卷一/2024\\卷一.tif")).size(), 1u);
}

TEST_F(MergeFilesJobTest, ACorruptPageFailsItsDirectoryWithoutLeavingAnOutput) {
  settings_.Merge.KeepDir = 0;
  Pages("bad", 2);
  test::WriteTiff(In("bad/p03.tif"), {{40, 30, 1, 300, 0, /*Corrupt=*/true}});
  Pages("good", 1);

  const RunResult first = Run(JobId::MergeFiles);
  EXPECT_EQ(first.Successes, 1u);
  EXPECT_EQ(first.Failures, 1u);
  ASSERT_EQ(observer_.FailureReasons.size(), 1u);
  EXPECT_NE(observer_.FailureReasons[0].find("p03.tif"), std::string::npos);
  EXPECT_EQ(observer_.RowStatuses[0].back(), "合并失败");
  // Nothing of the failed directory in the output tree, not even its first
  // two pages; the whole directory in the Error tree.
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/bad/", "Error/bad/p01.tif",
                                                    "Error/bad/p02.tif", "Error/bad/p03.tif",
                                                    "good.tif"}));
  EXPECT_EQ(FailureList(), "2026年3月7日 9时5分 -- 未合并清单\r\n" + In("bad") +
                               "\r\n本次执行共有1个图像目录没有合并成功。\r\n\r\n");

  // Mended, the directory is offered again and merged whole.
  test::WriteTiff(In("bad/p03.tif"), {Grey(30)});
  const RunResult second = Run(JobId::MergeFiles);
  EXPECT_EQ(second.Successes, 1u);
  EXPECT_EQ(PageWidths(Out("bad.tif")), (std::vector<uint32_t>{10, 20, 30}));
}

TEST_F(MergeFilesJobTest, EveryPageOfAMultiPageFileIsMergedAndGroupsCountPagesNotFiles) {
  settings_.Merge.KeepDir = 0;
  test::WriteTiff(In("one/a.tif"), {Grey(10), Grey(20)});
  test::WriteTiff(In("one/b.tif"), {Grey(30)});
  EXPECT_EQ(Run(JobId::MergeFiles).Successes, 1u);
  EXPECT_EQ(PageWidths(Out("one.tif")), (std::vector<uint32_t>{10, 20, 30}));
  EXPECT_NE(std::find(observer_.Statuses.begin(), observer_.Statuses.end(),
                      "正在合并" + In("one") + "  第3页 共3页"),
            observer_.Statuses.end());

  // First pages 1, 4 and 6 over seven pages in four files: the second
  // group starts on the second page of p2.tif.
  fs::remove_all(in_);
  UseWorkbook("grouping-mode1.xlsx");
  test::WriteTiff(In("2001/1/p1.tif"), {Grey(10), Grey(20)});
  test::WriteTiff(In("2001/1/p2.tif"), {Grey(30), Grey(40)});
  test::WriteTiff(In("2001/1/p3.tif"), {Grey(50)});
  test::WriteTiff(In("2001/1/p4.tif"), {Grey(60), Grey(70)});
  EXPECT_EQ(Run(JobId::MergeFiles).Successes, 1u);
  EXPECT_EQ(PageWidths(Out("2001/1/A.tif")), (std::vector<uint32_t>{10, 20, 30}));
  EXPECT_EQ(PageWidths(Out("2001/1/B.tif")), (std::vector<uint32_t>{40, 50}));
  EXPECT_EQ(PageWidths(Out("2001/1/C.tif")), (std::vector<uint32_t>{60, 70}));
}

TEST_F(MergeFilesJobTest, APageLinkOutOfTheSourceRootFailsItsDirectoryWithTheReason) {
  settings_.Merge.KeepDir = 0;
  test::WriteTiff(dir_.File("private/secret.tif"), {Bitonal(64)});
  test::WriteTiff(In("box/1.tif"), {Bitonal(80)});
  fs::create_symlink(dir_.File("private/secret.tif"), In("box/2.tif"));
  test::WriteTiff(In("near/1.tif"), {Grey(10)});
  fs::create_symlink("1.tif", In("near/2.tif"));  // inside the root: a page like any other

  const RunResult result = Run(JobId::MergeFiles);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(observer_.FailureReasons,
            std::vector<std::string>{"链接指向源目录之外：" + In("box/2.tif")});
  EXPECT_EQ(observer_.RowStatuses[0].back(), "合并失败");
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/box/", "Error/box/1.tif",
                                                    "Error/box/2.tif", "near.tif"}));
  EXPECT_TRUE(fs::is_symlink(Out("Error/box/2.tif")));
  EXPECT_EQ(PageWidths(Out("near.tif")), (std::vector<uint32_t>{10, 10}));
}

TEST_F(MergeFilesJobTest, WorkbooksSplitADirectoryIntoGroupsInBothModesAndFormats) {
  struct Case {
    const char* fixture;
    const char* directory;
    int pages;
    std::vector<std::vector<uint32_t>> groups;  // page widths of A, B, C
  };
  const std::vector<Case> cases = {
      {"grouping-mode1.xls", "2001/1", 7, {{10, 20, 30}, {40, 50}, {60, 70}}},
      {"grouping-mode1.xlsx", "2001/1", 7, {{10, 20, 30}, {40, 50}, {60, 70}}},
      {"grouping-mode2.xls", "2001/1", 8, {{10, 20, 30, 40}, {50, 60, 70, 80}}},
      {"grouping-mode2.xlsx", "x/2001/1/y", 8, {{10, 20, 30, 40}, {50, 60, 70, 80}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    fs::remove_all(in_);
    fs::remove_all(out_);
    UseWorkbook(c.fixture);
    Pages(c.directory, c.pages);
    Pages("2001/10", 2);  // no key names it: no output, counted as merged

    const RunResult result = Run(JobId::MergeFiles);
    EXPECT_EQ(result.Successes, 2u);
    const std::string target = Out(c.directory) + "/";
    for (std::size_t g = 0; g < c.groups.size(); ++g) {
      EXPECT_EQ(PageWidths(target + static_cast<char>('A' + g) + ".tif"), c.groups[g]);
    }
    EXPECT_EQ(test::EntryCount(Out(c.directory)), static_cast<std::ptrdiff_t>(c.groups.size()));
    EXPECT_EQ(test::EntryCount(Out("2001/10")), 0);
    // The run's KeepDir became 1 and goes back to the window's record.
    EXPECT_TRUE(result.SettingsChanges.Contains(SettingId::Merge_KeepDir));
    EXPECT_NE(std::find(observer_.Statuses.begin(), observer_.Statuses.end(),
                        "正在装载分件数据 . . . "),
              observer_.Statuses.end());
  }
}

TEST_F(MergeFilesJobTest, GroupedReRunsLeaveOutFinishedDirectoriesAndReplaceOutputs) {
  UseWorkbook("grouping-mode1.xlsx");
  Pages("2001/1", 7);
  Run(JobId::MergeFiles);
  // Every group document exists: the directory is not merged again.
  EXPECT_EQ(Run(JobId::MergeFiles).End, RunEnd::NothingFound);

  fs::remove(Out("2001/1/C.tif"));
  const RunResult again = Run(JobId::MergeFiles);
  EXPECT_EQ(again.Successes, 1u);
  // Written anew, not appended to: A still holds its three pages.
  EXPECT_EQ(PageWidths(Out("2001/1/A.tif")), (std::vector<uint32_t>{10, 20, 30}));
  EXPECT_EQ(PageWidths(Out("2001/1/C.tif")), (std::vector<uint32_t>{60, 70}));
}

TEST_F(MergeFilesJobTest, WorkbookProblemsStopTheRunBeforeItStarts) {
  Pages("2001/1", 2);
  struct Case {
    std::string workbook;
    std::string message;
  };
  const std::vector<Case> cases = {
      {dir_.File("missing.xls"), "分件数据文件不存在，请设置！    "},
      {test::Fixture("grouping-empty.xls"), "分件数据文件中没有数据：" + test::Fixture("grouping-empty.xls")},
  };
  for (const Case& c : cases) {
    settings_.Merge.Grouping = c.workbook;
    const RunResult result = Run(JobId::MergeFiles);
    EXPECT_EQ(result.End, RunEnd::NotStarted);
    ASSERT_EQ(observer_.Messages.size(), 1u);
    EXPECT_EQ(observer_.Messages[0].Text, c.message);
    EXPECT_TRUE(observer_.BusyChanges.empty());
  }
  EXPECT_FALSE(fs::exists(out_));
  EXPECT_FALSE(fs::exists(dir_.File("Logs")));
}

TEST_F(MergeFilesJobTest, AWorkbookNameLeavingTheOutputDirectoryFailsItsItem) {
  UseWorkbook("grouping-unsafe-name.xlsx");  // 2001-1 named "../x"
  Pages("2001/1", 2);
  const RunResult result = Run(JobId::MergeFiles);
  EXPECT_EQ(result.Failures, 1u);
  ASSERT_EQ(observer_.FailureReasons.size(), 1u);
  EXPECT_NE(observer_.FailureReasons[0].find("“../x”"), std::string::npos);
  // Only the Error copy was written, and nothing outside the output root.
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/2001/", "Error/2001/1/",
                                                    "Error/2001/1/p01.tif",
                                                    "Error/2001/1/p02.tif"}));
  EXPECT_FALSE(fs::exists(Out("2001/x.tif")));
}

}  // namespace
}  // namespace zelk
