// A stop request during a real recognition run: the page in progress is
// cut short through Tesseract's progress monitor and the queued pages are
// dropped, so the run ends within seconds instead of after the item, and
// the cut item leaves nothing behind.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <variant>
#include <vector>

#include "jobs/ConvertFiles2WordJob.h"
#include "jobs/RecognitionJob_helpers.h"
#include "ocr/RecognitionLanguage.h"
#include "ocr/TessdataLocation.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

using Steady = std::chrono::steady_clock;

bool LanguageDataInstalled() {
  const auto codes = TesseractLanguageCodes(kDefaultRecognitionLanguage);
  return codes &&
         std::holds_alternative<TessdataDirectory>(FindTessdata(DefaultTessdataCandidates(), *codes));
}

// An A4 page at 300 dpi filled with lines of text: several seconds of
// recognition each.
PixPtr FullPage(int number) {
  ocrtest::LayoutPageSpec spec;
  for (int block = 0; block < 4; ++block) {
    ocrtest::TextBlockSpec text;
    text.top = 120 + block * 820;
    for (int line = 0; line < 9; ++line) {
      text.lines.push_back("第" + std::to_string(number) + "页档案整理工作报告 Annual report line " +
                           std::to_string(block * 9 + line));
    }
    spec.blocks.push_back(text);
  }
  return ocrtest::RenderLayoutPage(spec);
}

class RecognitionCancelTest : public test::RecognitionJobTest {};

TEST_F(RecognitionCancelTest, AStopDuringTheFirstPageEndsTheRunWithinSecondsAndLeavesNoOutput) {
  if (!LanguageDataInstalled()) GTEST_SKIP() << "the chi_sim and eng language data is missing";
  settings_.OCR.OutputType = 1;
  std::vector<PixPtr> pages;
  for (int number = 1; number <= 4; ++number) pages.push_back(FullPage(number));
  test::WritePageTiff(In("box/a-scan.tif"), pages);
  test::WritePageTiff(In("box/b-later.tif"), test::PageList(FullPage(5)));

  std::atomic<bool> asked{false};
  Steady::time_point askedAt;
  onStatus_ = [&](const std::string& status) {
    if (asked || status.find("  第1页") == std::string::npos) return;
    askedAt = Steady::now();
    asked = true;
    control_.RequestCancel();
  };
  ConvertFiles2WordJob job(engine_);
  const RunResult result = RunJob(job);
  const auto stopping = Steady::now() - askedAt;

  ASSERT_TRUE(asked);
  // Four pages take well over ten seconds on two workers; the stop takes
  // only the layout analysis of the pages already begun.
  EXPECT_LT(stopping, std::chrono::seconds(4))
      << std::chrono::duration_cast<std::chrono::milliseconds>(stopping).count() << " ms";
  EXPECT_EQ(result.End, RunEnd::Cancelled);
  EXPECT_EQ(result.Successes, 0u);
  EXPECT_EQ(result.Failures, 0u);
  ASSERT_EQ(result.Rows.size(), 2u);
  EXPECT_EQ(result.Rows[0].Status, "已取消");
  EXPECT_EQ(result.Rows[1].Status, "");
  EXPECT_TRUE(test::TreeOf(out_).empty()) << test::TreeOf(out_).front();
  EXPECT_TRUE(observer_.FailureReasons.empty());
  EXPECT_TRUE(ShowedStatus("文档图像识别过程被取消！"));
}

}  // namespace
}  // namespace zelk
