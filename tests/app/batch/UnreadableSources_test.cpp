// zelk-batch over sources it may not read, run as an ordinary user (the
// user nobody when the tests run as root): a locked directory is reported
// and passed over (lost+found would otherwise fail every run), an
// unreadable source root stops the run before it starts.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/batch/BatchFixture.h"
#include "app/batch/BatchProcess.h"
#include "app/batch/BatchRunner.h"
#include "support/FileTree.h"
#include "support/TestImages.h"
#include "support/Unprivileged.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

using test::TiffPageCount;

class UnreadableSourcesTest : public test::BatchFixture {
 protected:
  void SetUp() override {
    BatchFixture::SetUp();
    Set("Common", "ConvertAction", "1");
    Set("Merge", "KeepDir", "0");
    test::WriteTiffPages(in_ + "/a/1.tif", 1);
    test::WriteTiffPages(in_ + "/a/2.tif", 1);
    test::WriteTiffPages(in_ + "/locked/1.tif", 1);
    test::WriteTiffPages(in_ + "/no-search/1.tif", 1);
    test::OpenToEveryone(dir_.Path());
  }

  void TearDown() override { test::OpenToEveryone(dir_.Path()); }

  // Runs the program unprivileged; its exit status, or -1 when it could
  // not become an ordinary user.
  int Batch() {
    test::BatchProcess process({conf_}, /*unprivileged=*/true);
    const int status = process.Wait();
    out_text_ = process.Out;
    err_text_ = process.Err;
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 125) return -1;
    return WEXITSTATUS(status);
  }

  std::string out_text_;
  std::string err_text_;
};

TEST_F(UnreadableSourcesTest, ALockedDirectoryIsReportedAndPassedOverWithoutFailingTheRun) {
  ASSERT_EQ(chmod((in_ + "/locked").c_str(), 0), 0);
  ASSERT_EQ(chmod((in_ + "/no-search").c_str(), 0666), 0);
  const int status = Batch();
  if (status < 0) GTEST_SKIP() << "cannot run without the super-user's rights here";
  EXPECT_EQ(status, kBatchAllDone) << out_text_ << err_text_;
  EXPECT_EQ(TiffPageCount(out_ + "/a.tif"), 2);
  EXPECT_EQ(test::TreeOf(out_), std::vector<std::string>{"a.tif"}) << "no Error copies";
  std::string failureList, reasonList;
  for (const auto& list : fs::directory_iterator(dir_.File("program/Logs"))) {
    const std::string name = list.path().filename().string();
    if (name.ends_with("-失败.txt")) failureList = test::ReadBytes(list.path());
    if (name.ends_with("-失败原因.txt")) reasonList = test::ReadBytes(list.path());
  }
  for (const char* name : {"locked", "no-search"}) {
    const std::string directory = in_ + "/" + name;
    const std::string reason = "无法读取目录“" + directory + "”，已跳过";
    EXPECT_NE(err_text_.find(directory + "：" + reason), std::string::npos) << err_text_;
    EXPECT_NE(reasonList.find(directory + "\t" + reason + "\r\n"), std::string::npos)
        << reasonList;
  }
  EXPECT_NE(out_text_.find("（2个目录无法读取，已跳过，见失败原因清单）"), std::string::npos)
      << out_text_;
  EXPECT_NE(failureList.find("本次执行共有0个图像目录没有合并成功。"), std::string::npos)
      << failureList;
}

TEST_F(UnreadableSourcesTest, AnUnreadableSourceRootStopsTheRunBeforeItStarts) {
  ASSERT_EQ(chmod(in_.c_str(), 0333), 0);
  const int status = Batch();
  if (status < 0) GTEST_SKIP() << "cannot run without the super-user's rights here";
  EXPECT_EQ(status, kBatchNotStarted) << out_text_ << err_text_;
  EXPECT_EQ(err_text_, "无法读取源目录“" + in_ + "”！\n");
  EXPECT_FALSE(fs::exists(out_));
  EXPECT_FALSE(fs::exists(dir_.File("program/Logs")));
}

}  // namespace
}  // namespace zelk
