// zelk-batch installed like a Debian program: the built executable copied
// into <tmp>/usr/bin beside the shipped <tmp>/usr/share/zelk/ZELK.conf, and
// run without a settings file by a user whose home is <tmp>/home.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/batch/BatchRunner.h"
#include "app/batch/SourceTrees.h"
#include "platform/ProgramVersion.h"
#include "settings/SettingsFile.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

class InstalledBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bin_);
    fs::copy_file(ZELK_BATCH_EXECUTABLE, bin_ / "zelk-batch");
    fs::permissions(bin_ / "zelk-batch", fs::perms::owner_all, fs::perm_options::add);
    fs::create_directories(home_);
    batchtest::WritePageDirectory(dir_.File("in/a"), 2, 7);
  }

  // zelk-batch with `arguments`, with HOME and nothing else of the test's
  // environment (no XDG variables); its exit status.  What it prints goes
  // to printed.txt.
  int Batch(const std::string& arguments) const {
    const std::string command = "env -i HOME=" + home_.string() +
                                " OMP_THREAD_LIMIT=1 PATH=/usr/bin:/bin " +
                                (bin_ / "zelk-batch").string() + " " + arguments + " >" +
                                dir_.File("printed.txt") + " 2>&1";
    return WEXITSTATUS(std::system(command.c_str()));
  }

  std::string Printed() const { return test::ReadBytes(dir_.File("printed.txt")); }

  test::TempDir dir_;
  fs::path bin_ = dir_.Path() / "usr" / "bin";
  fs::path home_ = dir_.Path() / "home";
};

TEST_F(InstalledBatchTest, WithoutASettingsFileTheUsersSettingsAndLogsAreUsed) {
  const batchtest::ProgramDirectory shipped(dir_.File("usr/share/zelk"),
                                            {{"Common", "ConvertAction", "1"},
                                             {"Common", "ImageSrcDir", dir_.File("in")},
                                             {"Common", "ConvertDstDir", dir_.File("out")},
                                             {"Merge", "KeepDir", "0"}});
  const std::string shippedText = test::ReadBytes(shipped.SettingsFile());

  ASSERT_EQ(Batch(""), kBatchAllDone) << Printed();
  const fs::path userSettings = home_ / ".config" / "zelk" / "ZELK.conf";
  ASSERT_TRUE(fs::is_regular_file(userSettings)) << Printed();
  EXPECT_EQ(ReadIniString(userSettings.string(), "Common", "ImageSrcDir"), dir_.File("in"));
  const fs::path logs = home_ / ".local" / "share" / "zelk" / "Logs";
  EXPECT_EQ(test::EntryCount(logs.string()), 2) << "the day's success and failure lists";
  EXPECT_TRUE(fs::exists(dir_.File("out/a.tif"))) << Printed();
  // Nothing is written beside the installed program or into its shared files.
  EXPECT_EQ(test::TreeOf(bin_), std::vector<std::string>{"zelk-batch"});
  EXPECT_EQ(test::TreeOf(dir_.Path() / "usr" / "share"),
            (std::vector<std::string>{"zelk/", "zelk/ZELK.conf"}));
  EXPECT_EQ(test::ReadBytes(shipped.SettingsFile()), shippedText);

  // The user's own settings are read from then on, never the shipped ones
  // again; the summary reads the same Logs.
  ASSERT_TRUE(WriteIniString(userSettings.string(), "Common", "ConvertDstDir", dir_.File("mine")));
  EXPECT_EQ(Batch(""), kBatchAllDone) << Printed();
  EXPECT_TRUE(fs::exists(dir_.File("mine/a.tif"))) << Printed();
  EXPECT_EQ(Batch("--summary --date 2026-03-08"), kBatchSomeFailed);
  EXPECT_EQ(Printed(), "2026年03月08日没有分片运行的记录：" + logs.string() + "\n");
}

TEST_F(InstalledBatchTest, VersionIsPrintedBeforeAnythingIsMade) {
  const batchtest::ProgramDirectory shipped(dir_.File("usr/share/zelk"), {});
  EXPECT_EQ(Batch("--version"), kBatchAllDone);
  EXPECT_EQ(Printed(), std::string("zelk-batch ") + ProgramVersion() + "\n");
  EXPECT_TRUE(fs::is_empty(home_));
}

TEST_F(InstalledBatchTest, AGivenSettingsFileKeepsItsLogsBesideIt) {
  const batchtest::ProgramDirectory shipped(dir_.File("usr/share/zelk"), {});
  const batchtest::ProgramDirectory night(dir_.File("night"),
                                          {{"Common", "ConvertAction", "1"},
                                           {"Common", "ImageSrcDir", dir_.File("in")},
                                           {"Common", "ConvertDstDir", dir_.File("out")},
                                           {"Merge", "KeepDir", "0"}});
  ASSERT_EQ(Batch(night.SettingsFile()), kBatchAllDone) << Printed();
  EXPECT_EQ(test::EntryCount(dir_.File("night/Logs")), 2);
  EXPECT_FALSE(fs::exists(home_ / ".local")) << "no lists in the user's data directory";
  EXPECT_FALSE(fs::exists(home_ / ".config")) << "the user's settings are not made";
}

}  // namespace
}  // namespace zelk
