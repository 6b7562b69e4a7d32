#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <string>
#include <vector>

#include "jobs/JobRun_helpers.h"
#include "jobs/KilledChild_helpers.h"
#include "support/FileTree.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::PageWidths;
using test::SourcePage;
using test::TreeOf;

class SplitFilesJobTest : public test::JobRunTest {
 protected:
  void SetUp() override {
    JobRunTest::SetUp();
    settings_.Split = {};
    settings_.Split.FileType = 1;
    settings_.Split.FileNamePre = "P";
    settings_.Split.FileNameInit = 1;
    settings_.Split.FileNameLength = 4;
    settings_.Split.AddZero = 1;
  }

  // Runs the split of a/doc.tif, which must fail with `reason` in its
  // failure and leave nothing but its copy in the Error tree.
  void RunAndExpectDocFailedSaying(const std::string& reason) {
    const RunResult result = Run(JobId::SplitFiles);
    EXPECT_EQ(result.Failures, 1u);
    ASSERT_EQ(observer_.FailureReasons.size(), 1u);
    EXPECT_NE(observer_.FailureReasons[0].find(reason), std::string::npos)
        << observer_.FailureReasons[0];
    EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/a/", "Error/a/doc.tif"}));
  }

  // A three-page TIFF whose pages are 10, 20 and 30 pixels wide.
  void ThreePages(const std::string& relative) {
    test::WriteTiff(In(relative), {{10, 30, 8, 200}, {20, 30, 8, 72}, {30, 30, 1, 300}});
  }
};

TEST_F(SplitFilesJobTest, PagesAreNamedByTheSettings) {
  ThreePages("a/doc.tif");
  struct Case {
    const char* what;
    int autoAdd, init, length, addZero;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"padded", 0, 1, 4, 1, {"P0001.tif", "P0002.tif", "P0003.tif"}},
      {"source name first", 1, 1, 4, 1, {"docP0001.tif", "docP0002.tif", "docP0003.tif"}},
      {"no zeros", 0, 1, 4, 0, {"P1.tif", "P2.tif", "P3.tif"}},
      {"last two digits", 0, 99, 2, 1, {"P00.tif", "P01.tif", "P99.tif"}},
      {"last two digits, no zeros", 0, 99, 2, 0, {"P00.tif", "P01.tif", "P99.tif"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(out_);
    settings_.Split.FileNameAutoAdd = static_cast<int16_t>(c.autoAdd);
    settings_.Split.FileNameInit = static_cast<int16_t>(c.init);
    settings_.Split.FileNameLength = static_cast<int16_t>(c.length);
    settings_.Split.AddZero = static_cast<int16_t>(c.addZero);
    EXPECT_EQ(Run(JobId::SplitFiles).Successes, 1u);
    std::vector<std::string> expected = {"a/", "a/doc/"};
    for (const std::string& name : c.names) expected.push_back("a/doc/" + name);
    EXPECT_EQ(TreeOf(out_), expected);
  }
  // Each page file holds its page, a 72 dpi page raised to 300.
  EXPECT_EQ(PageWidths(Out("a/doc/P99.tif")), (std::vector<uint32_t>{10}));
  EXPECT_EQ(PageWidths(Out("a/doc/P01.tif")), (std::vector<uint32_t>{30}));
  const auto second = test::ReadTiffInfo(Out("a/doc/P00.tif"));
  ASSERT_EQ(second.size(), 1u);
  EXPECT_FLOAT_EQ(second[0].XDpi, 300);
  EXPECT_NE(std::find(observer_.Statuses.begin(), observer_.Statuses.end(),
                      "正在分拆" + In("a/doc.tif") + "  第2页  共3页"),
            observer_.Statuses.end());
  EXPECT_EQ(observer_.LastStatus(), "本次分拆完毕！    ");
}

TEST_F(SplitFilesJobTest, NumbersWithoutDigitsAppendAllPagesToOneTiff) {
  ThreePages("doc.tif");
  settings_.Split.FileNameLength = 0;
  EXPECT_EQ(Run(JobId::SplitFiles).Successes, 1u);
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"doc/", "doc/P.tif"}));
  EXPECT_EQ(PageWidths(Out("doc/P.tif")), (std::vector<uint32_t>{10, 20, 30}));
}

TEST_F(SplitFilesJobTest, JpegPagesAndABitonalPageUnderAJpegName) {
  test::WriteColourJpeg(In("photo.jpg"), 40, 30, 300);
  test::WriteTiff(In("fax.tif"), {{64, 30, 1, 300}});
  settings_.Split.FileType = 0;
  Run(JobId::SplitFiles);
  const std::string jpeg = test::ReadBytes(Out("photo/P0001.jpg"));
  ASSERT_GE(jpeg.size(), 2u);
  EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
  // A bitonal page keeps its TIFF code under the .jpg name.
  const auto fax = test::ReadTiffInfo(Out("fax/P0001.jpg"));
  ASSERT_EQ(fax.size(), 1u);
  EXPECT_EQ(fax[0].Compression, COMPRESSION_CCITTFAX4);
}

TEST_F(SplitFilesJobTest, AJpegThatWouldTakeASecondPageFailsTheItem) {
  test::WriteTiff(In("a/doc.tif"), {{10, 30, 8, 200}, {20, 30, 8, 200}});
  settings_.Split.FileType = 0;
  settings_.Split.FileNameLength = 0;
  RunAndExpectDocFailedSaying("JPEG文件只能保存一页");
}

TEST_F(SplitFilesJobTest, ACompressionSettingThatCannotSaveAPageIsNamedInTheFailure) {
  // The bitonal first page sets a G4 code; JpgCompress 3 is outside its
  // table, so the grey second page would be left with G4.
  test::WriteTiff(In("a/doc.tif"), {{30, 30, 1, 300}, {20, 30, 8, 200}});
  settings_.Split.FileType = 0;
  settings_.ImageCompress.JpgCompress = 3;
  RunAndExpectDocFailedSaying("[ImageCompress] JpgCompress 的值 3");
}

TEST_F(SplitFilesJobTest, AFailedFileLeavesNoOutputAndIsOfferedAgain) {
  test::WriteTiff(In("a/bad.tif"), {{10, 30, 8, 200}, {40, 30, 1, 300, 0, /*Corrupt=*/true}});
  ThreePages("a/a-good.tif");
  settings_.Split.FileNameAutoAdd = 1;
  // The broken file is the last row: the second success head is written.
  const RunResult first = Run(JobId::SplitFiles);
  EXPECT_EQ(first.Successes, 1u);
  EXPECT_EQ(first.Failures, 1u);
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{
                              "Error/", "Error/a/", "Error/a/bad.tif", "a/", "a/a-good/",
                              "a/a-good/a-goodP0001.tif", "a/a-good/a-goodP0002.tif",
                              "a/a-good/a-goodP0003.tif"}));
  EXPECT_EQ(observer_.RowStatuses[1].back(), "分拆失败");
  EXPECT_EQ(FailureList(), "2026年3月7日 9时5分 -- 未分拆清单\r\n" + In("a/bad") +
                               "\r\n本次执行共有1个图像文件没有分拆成功。\r\n\r\n");
  EXPECT_EQ(SuccessList(), "2026年3月7日 9时5分 -- 已分拆清单\r\n" + In("a/a-good.tif") +
                               "\r\n本次执行总共分拆了1个图像文件 共历时0秒\r\n\r\n");

  test::WriteTiff(In("a/bad.tif"), {{10, 30, 8, 200}, {20, 30, 8, 200}});
  const RunResult second = Run(JobId::SplitFiles);
  EXPECT_EQ(second.Successes, 1u);
  EXPECT_EQ(PageWidths(Out("a/bad/badP0002.tif")), (std::vector<uint32_t>{20}));
}

TEST_F(SplitFilesJobTest, NamesThatCannotBeUsedFailTheItemBeforeAnythingIsWritten) {
  ThreePages("a/doc.tif");
  struct Case {
    const char* what;
    const char* prefix;
    int init;
    int length;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"a separator", "../", 1, 4, "路径分隔符"},
      {"an empty name", "", 1, 0, "输出文件名为空"},
      {"a number beyond 16 bits", "P", 32766, 4, "32768"},
      {"negative digits", "P", 1, -1, "-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(out_);
    settings_.Split.FileNamePre = c.prefix;
    settings_.Split.FileNameInit = static_cast<int16_t>(c.init);
    settings_.Split.FileNameLength = static_cast<int16_t>(c.length);
    EXPECT_EQ(Run(JobId::SplitFiles).Failures, 1u);
    ASSERT_EQ(observer_.FailureReasons.size(), 1u);
    EXPECT_NE(observer_.FailureReasons[0].find(c.reason), std::string::npos)
        << observer_.FailureReasons[0];
    EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/a/", "Error/a/doc.tif"}));
  }
  EXPECT_FALSE(fs::exists(Out("a/P0001.tif")));
}

TEST_F(SplitFilesJobTest, ASplitKilledMidwayIsDoneWholeByTheNextRun) {
  ThreePages("doc.tif");
  ASSERT_TRUE(test::KilledAtStep(1, [this](const std::function<void()>& step) {
    onStatus_ = [&](const std::string& status) {
      if (status.find("第3页") != std::string::npos) step();
    };
    Run(JobId::SplitFiles);
  }));
  // Two pages were written, under a name the scan does not take for done.
  EXPECT_FALSE(fs::exists(Out("doc")));
  const RunResult result = Run(JobId::SplitFiles);
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(TreeOf(out_),
            (std::vector<std::string>{"doc/", "doc/P0001.tif", "doc/P0002.tif", "doc/P0003.tif"}));
  for (const char* page : {"doc/P0001.tif", "doc/P0002.tif", "doc/P0003.tif"}) {
    EXPECT_EQ(test::ReadTiffInfo(Out(page)).size(), 1u) << page;
  }
  EXPECT_EQ(PageWidths(Out("doc/P0003.tif")), (std::vector<uint32_t>{30}));
}

TEST_F(SplitFilesJobTest, ADirectoryAnotherRunFinishedMeanwhileIsNotMergedInto) {
  ThreePages("doc.tif");
  onStatus_ = [this](const std::string& status) {
    if (status.find("第2页") != std::string::npos) test::Touch(Out("doc/P0001.tif"), "theirs");
  };
  const RunResult result = Run(JobId::SplitFiles);
  EXPECT_EQ(result.Failures, 1u);
  ASSERT_EQ(observer_.FailureReasons.size(), 1u);
  EXPECT_NE(observer_.FailureReasons[0].find("已存在"), std::string::npos)
      << observer_.FailureReasons[0];
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/doc.tif", "doc/",
                                                    "doc/P0001.tif"}));
  EXPECT_EQ(test::ReadBytes(Out("doc/P0001.tif")), "theirs");
}

TEST_F(SplitFilesJobTest, FilesOfOneNameAddTheirPagesToTheDirectoryThisRunMade) {
  test::WriteColourJpeg(In("a/doc.jpg"), 40, 30, 300);
  test::WriteTiff(In("a/doc.tif"), {{10, 30, 8, 200}, {20, 30, 8, 200}});
  EXPECT_EQ(Run(JobId::SplitFiles).Successes, 2u);
  EXPECT_EQ(TreeOf(out_),
            (std::vector<std::string>{"a/", "a/doc/", "a/doc/P0001.tif", "a/doc/P0002.tif"}));
  EXPECT_EQ(PageWidths(Out("a/doc/P0001.tif")), (std::vector<uint32_t>{40, 10}));
  EXPECT_EQ(PageWidths(Out("a/doc/P0002.tif")), (std::vector<uint32_t>{20}));
}

}  // namespace
}  // namespace zelk
