// zelk-batch and the stop signals: the real program on a merge of several
// directories of large pages, signalled while its first item is under way.

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>
#include <signal.h>
#include <string.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/batch/BatchFixture.h"
#include "app/batch/BatchProcess.h"
#include "app/batch/BatchRunner.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

constexpr int kItems = 8;
constexpr int kPagesPerItem = 3;
constexpr const char* kCancelled = "图像目录合并过程被取消！";
constexpr const char* kFinished = "本次合并完毕！";

// A colour JPEG page of A4 at 300 dpi with a pattern, so that decoding and
// saving it take a noticeable time.
void WriteLargeJpeg(const std::string& path, int seed) {
  PIX* pix = pixCreate(2480, 3508, 32);
  for (int y = 0; y < 3508; y += 4) {
    for (int x = 0; x < 2480; x += 4) {
      const l_uint32 value = static_cast<l_uint32>((x * 7 + y * 13 + seed * 31) % 251);
      pixSetPixel(pix, x, y, (value << 24) | ((255 - value) << 16) | ((value * 3 % 256) << 8));
    }
  }
  const int failed = pixWriteJpeg(path.c_str(), pix, 80, 0);
  pixDestroy(&pix);
  if (failed != 0) throw std::runtime_error("cannot write " + path);
}

std::string ItemName(int item) { return "doc" + std::to_string(item); }

using test::TiffPageCount;

class StopSignalsTest : public test::BatchFixture {
 protected:
  // The source tree is read only, so every test shares one.
  static void SetUpTestSuite() {
    sources_ = new test::TempDir;
    for (int item = 0; item < kItems; ++item) {
      const fs::path directory = sources_->Path() / ItemName(item);
      fs::create_directories(directory);
      for (int page = 1; page <= kPagesPerItem; ++page) {
        WriteLargeJpeg((directory / (std::to_string(page) + ".jpg")).string(), item * 10 + page);
      }
    }
  }
  static void TearDownTestSuite() {
    delete sources_;
    sources_ = nullptr;
  }

  void SetUp() override {
    BatchFixture::SetUp();
    Set("Common", "ImageSrcDir", sources_->Path().string());
    Set("Common", "ConvertAction", "1");
    Set("Merge", "KeepDir", "0");
  }

  // Starts the program and waits until it works on its first item.
  std::unique_ptr<test::BatchProcess> StartAndWaitForFirstItem() {
    auto process = std::make_unique<test::BatchProcess>(std::vector<std::string>{conf_});
    const std::string first = "正在合并" + (sources_->Path() / ItemName(0)).string();
    EXPECT_TRUE(process->WaitForOutput(first, std::chrono::seconds(60)))
        << process->Out << process->Err;
    return process;
  }

  std::vector<std::string> TemporaryFiles() const {
    std::vector<std::string> found;
    if (!fs::exists(out_)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(out_)) {
      if (entry.path().filename().string().ends_with(".zelk-tmp")) {
        found.push_back(entry.path().string());
      }
    }
    return found;
  }

  // Every merged document present holds all its pages; returns how many
  // there are.
  int CheckWholeOutputs() const {
    int present = 0;
    for (int item = 0; item < kItems; ++item) {
      const std::string output = out_ + "/" + ItemName(item) + ".tif";
      if (!fs::exists(output)) continue;
      ++present;
      EXPECT_EQ(TiffPageCount(output), kPagesPerItem) << output;
    }
    return present;
  }

  static test::TempDir* sources_;
};

test::TempDir* StopSignalsTest::sources_ = nullptr;

TEST_F(StopSignalsTest, EachStopSignalEndsTheRunAfterTheItemInProgress) {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    SCOPED_TRACE(strsignal(signalNumber));
    fs::remove_all(out_);
    fs::remove_all(dir_.File("program/Logs"));
    const auto process = StartAndWaitForFirstItem();
    process->Signal(signalNumber);
    const int status = process->Wait();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), kBatchStopped) << process->Out << process->Err;
    // The last status line is the job's cancel text, not its finished text.
    EXPECT_TRUE(process->Out.ends_with(std::string(kCancelled) + "\n")) << process->Out;
    EXPECT_EQ(process->Out.find(kFinished), std::string::npos) << process->Out;
    EXPECT_TRUE(TemporaryFiles().empty());
    const int present = CheckWholeOutputs();
    EXPECT_GE(present, 1);
    EXPECT_LT(present, kItems);
    // The summary line is written as after a whole run.
    bool summary = false;
    for (const auto& list : fs::directory_iterator(dir_.File("program/Logs"))) {
      summary = summary || test::ReadBytes(list.path()).find("本次总共合并了" + std::to_string(present) +
                                                             "个图像目录") != std::string::npos;
    }
    EXPECT_TRUE(summary);
  }
}

TEST_F(StopSignalsTest, ASecondSignalEndsAtOnceAndTheNextRunFinishesTheJob) {
  const auto process = StartAndWaitForFirstItem();
  process->Signal(SIGTERM);
  process->Signal(SIGINT);
  const int status = process->Wait();
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status) << process->Out;
  EXPECT_TRUE(WTERMSIG(status) == SIGTERM || WTERMSIG(status) == SIGINT) << WTERMSIG(status);
  CheckWholeOutputs();

  // The next run clears what the killed one left and does the rest.
  test::BatchProcess again({conf_});
  const int second = again.Wait();
  ASSERT_TRUE(WIFEXITED(second));
  EXPECT_EQ(WEXITSTATUS(second), kBatchAllDone) << again.Out << again.Err;
  EXPECT_TRUE(again.Out.ends_with(std::string(kFinished) + "    \n")) << again.Out;
  EXPECT_EQ(CheckWholeOutputs(), kItems);
  EXPECT_TRUE(TemporaryFiles().empty());
}

}  // namespace
}  // namespace zelk
