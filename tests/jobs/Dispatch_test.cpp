#include "jobs/Dispatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "jobs/JobCatalog.h"
#include "support/FakeClock.h"
#include "support/FileTree.h"
#include "support/PortablePlaces.h"
#include "support/RecordingObserver.h"
#include "support/TempDir.h"
#include "support/TestJob.h"

namespace zelk {
namespace {

using test::Touch;

class StartAndPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::UseUtc();
    settings_.Merge.KeepDir = 0;
    settings_.Merge.Tif = 1;
    settings_.OCR.OutputType = 0;
    settings_.OCR.ConvertType = 1;
  }
  std::string In(const std::string& relative) const { return in_ + "/" + relative; }
  std::string Out(const std::string& relative) const { return out_ + "/" + relative; }

  RunResult Start(int action) {
    RunRequest request{settings_, in_,     out_, test::PortablePlacesIn(dir_.Path()).LogsDir,
                       {},        &clock_, {}};
    control_.BeginRun();
    return StartConversion(action, request, registry_, observer_, control_);
  }

  test::TempDir dir_;
  std::string in_ = dir_.File("in");
  std::string out_ = dir_.File("out");
  Settings settings_;
  test::FakeClock clock_{test::At(2026, 3, 7, 9, 5, 0)};
  JobRegistry registry_;
  test::TestJobScript script_;
  test::RecordingObserver observer_;
  RunControl control_;
};

TEST_F(StartAndPreviewTest, AJobNotBuiltYetSaysSoAndStartsNothing) {
  Touch(In("a/1.tif"));
  settings_.PDF.ConvertType = 2;
  const RunResult result = Start(3);
  EXPECT_EQ(result.End, RunEnd::NotStarted);
  ASSERT_EQ(observer_.Messages.size(), 1u);
  EXPECT_EQ(observer_.Messages[0].Text, "“单层PDF”（按文件）功能尚未提供，暂时无法使用。\u3000\u3000");
  EXPECT_EQ(observer_.TotalCounts, (std::vector<std::size_t>{0}));
  EXPECT_EQ(observer_.DoneCounts, (std::vector<std::size_t>{0}));
  EXPECT_TRUE(observer_.BusyChanges.empty());
  EXPECT_FALSE(control_.IsActive());

  EXPECT_EQ(Start(0).End, RunEnd::NotStarted);  // no action chosen: nothing at all
  EXPECT_EQ(observer_.Messages.size(), 1u);
}

TEST_F(StartAndPreviewTest, ARegisteredJobRunsThroughTheFrame) {
  Touch(In("a/1.tif"));
  registry_.Register(JobId::MergeFiles, [this] {
    return std::make_unique<test::TestJob>(DescriptorOf(JobId::MergeFiles), script_);
  });
  const RunResult result = Start(1);
  EXPECT_EQ(result.End, RunEnd::Finished);
  EXPECT_EQ(script_.Seen, (std::vector<std::string>{In("a")}));
}

TEST_F(StartAndPreviewTest, PreviewScansOnlyAndReportsWhatItFound) {
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  Touch(Out("b.tif"));
  const PreviewResult found = RunPreview(1, settings_, in_, out_, registry_, observer_);
  ASSERT_TRUE(found.Scanned);
  ASSERT_EQ(found.Rows.size(), 1u);
  EXPECT_EQ(found.Rows[0].Path, In("a"));
  EXPECT_EQ(found.Rows[0].Pages, 1);
  EXPECT_EQ(observer_.Statuses,
            (std::vector<std::string>{"正在搜索待转换目录 . . . ", "已准备"}));
  EXPECT_TRUE(observer_.BusyChanges.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_.File("Logs")));
  Settings record;
  found.SettingsChanges.ApplyTo(record);
  EXPECT_EQ(record.Common.ImageSrcDir, in_);
  EXPECT_EQ(record.Common.ConvertDstDir, out_);

  Touch(Out("a.tif"));
  EXPECT_TRUE(RunPreview(1, settings_, in_, out_, registry_, observer_).Rows.empty());
  EXPECT_EQ(observer_.LastStatus(), "未找到需转换的内容");
}

TEST_F(StartAndPreviewTest, PreviewOfWordPerDirectoryLooksBesideTheMirroredDirectory) {
  Touch(In("a/1.tif"));
  Touch(Out("a.doc"));
  settings_.Merge.KeepDir = 1;  // what an earlier merge scan used must not matter
  EXPECT_TRUE(RunPreview(5, settings_, in_, out_, registry_, observer_).Rows.empty());
}

TEST_F(StartAndPreviewTest, PreviewWithoutSourceOnlyAsksForIt) {
  const PreviewResult result = RunPreview(1, settings_, "", out_, registry_, observer_);
  EXPECT_FALSE(result.Scanned);
  ASSERT_EQ(observer_.Messages.size(), 1u);
  EXPECT_EQ(observer_.Messages[0].Text, "请选择目录！\u3000\u3000");
  EXPECT_EQ(observer_.WorkListClears, 0);
  EXPECT_TRUE(observer_.Statuses.empty());
}

TEST_F(StartAndPreviewTest, PreviewUsesTheScanOfARegisteredJob) {
  struct PdfScanJob final : Job {
    const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::MergeFiles); }
    ScanRequest DescribeScan(const Settings&) override {
      return ScanRequest{ScanRequest::Mode::Files, "pdf", false, {}};
    }
    ItemOutcome ProcessItem(RunContext&, std::size_t) override { return ItemOutcome::Done; }
  };
  registry_.Register(JobId::MergeFiles, [] { return std::make_unique<PdfScanJob>(); });
  Touch(In("a/x.tif"));
  const PreviewResult result = RunPreview(1, settings_, in_, out_, registry_, observer_);
  ASSERT_EQ(result.Rows.size(), 1u);
  EXPECT_EQ(result.Rows[0].Path, In("a/x.tif"));
}

// The preview only looks at the tree: a grouping workbook that is missing
// or cannot be read is the run's to report, and the preview scans as an
// ungrouped run would.
TEST_F(StartAndPreviewTest, PreviewWithoutAReadableWorkbookScansAsAnUngroupedRun) {
  registry_.Register(JobId::MergeFiles, [] { return DescriptorOf(JobId::MergeFiles).Create(); });
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  Touch(Out("b.tif"));
  Touch(dir_.File("damaged.xlsx"), "not a workbook");
  for (const std::string& workbook : {dir_.File("missing.xls"), dir_.File("damaged.xlsx")}) {
    settings_.Merge.Grouping = workbook;
    observer_ = test::RecordingObserver();
    const PreviewResult result = RunPreview(1, settings_, in_, out_, registry_, observer_);
    ASSERT_EQ(result.Rows.size(), 1u) << workbook;
    EXPECT_EQ(result.Rows[0].Path, In("a"));
    EXPECT_TRUE(observer_.Messages.empty()) << observer_.Messages[0].Text;
    EXPECT_EQ(observer_.LastStatus(), "已准备");
  }
  // The run still refuses to start without it.
  const RunResult run = Start(1);
  EXPECT_EQ(run.End, RunEnd::NotStarted);
  ASSERT_EQ(observer_.Messages.size(), 1u);
}

}  // namespace
}  // namespace zelk
