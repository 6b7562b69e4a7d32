// The four recognition jobs when their engine cannot start: the run ends
// before its first item with the engine's error for the operator and the
// job's own status, and writes neither summary lines nor outputs.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "jobs/ConvertFiles22PdfJob.h"
#include "jobs/ConvertFiles2WordJob.h"
#include "jobs/MergeFiles22PdfJob.h"
#include "jobs/MergeFiles2WordJob.h"
#include "jobs/RecognitionJob_helpers.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

class RecognitionEngineStartTest : public test::RecognitionJobTest {};

TEST_F(RecognitionEngineStartTest, MissingLanguageDataEndsEveryRecognitionRunAtEngineStart) {
  engine_.tessdataCandidates = {dir_.File("no-tessdata")};
  fs::create_directories(dir_.File("no-tessdata"));
  test::WriteColourJpeg(In("d/n.jpg"), 40, 30, 300);
  struct Case {
    const char* name;
    std::function<std::unique_ptr<Job>(const OcrEngineOptions&)> make;
    const char* failedStatus;
  };
  const Case cases[] = {
      {"ConvertFiles22PDF", [](auto& e) { return std::make_unique<ConvertFiles22PdfJob>(e); },
       kPdfEngineFailed},
      {"MergeFiles22PDF", [](auto& e) { return std::make_unique<MergeFiles22PdfJob>(e); },
       kPdfEngineFailed},
      {"ConvertFiles2Word", [](auto& e) { return std::make_unique<ConvertFiles2WordJob>(e); },
       kOcrEngineFailed},
      {"MergeFiles2Word", [](auto& e) { return std::make_unique<MergeFiles2WordJob>(e); },
       kOcrEngineFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<Job> job = c.make(engine_);
    const RunResult result = RunJob(*job);
    EXPECT_EQ(result.End, RunEnd::PreparationFailed);
    ASSERT_EQ(observer_.Messages.size(), 1u);
    const std::string& text = observer_.Messages[0].Text;
    EXPECT_EQ(text.rfind("Error while loading OCR engine: ", 0), 0u) << text;
    EXPECT_TRUE(text.ends_with("    ")) << text;
    EXPECT_EQ(observer_.Messages[0].Kind, UserMessage::Icon::Warning);
    EXPECT_EQ(observer_.LastStatus(), c.failedStatus);
  }
  // Headers only: no summary lines, no outputs.
  EXPECT_EQ(SuccessList().find("共历时"), std::string::npos);
  EXPECT_EQ(FailureList().find("本次执行共有"), std::string::npos);
  EXPECT_FALSE(fs::exists(out_));
}

}  // namespace
}  // namespace zelk
