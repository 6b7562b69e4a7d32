#include "run/ErrorTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "filesafety/DirectoryBeneath.h"
#include "filesafety/OutputTransaction.h"
#include "support/FileTree.h"
#include "support/SmallTmpfs.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::Touch;

class ErrorTreeTest : public ::testing::Test {
 protected:
  std::string At(const std::string& relative) const { return dir_.File(relative); }

  // Every entry below `root` (relative, sorted), hidden and temporary ones
  // included; directories end with "/".
  static std::vector<std::string> Entries(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      std::string name = fs::relative(entry.path(), root).string();
      if (entry.is_directory() && !entry.is_symlink()) name += "/";
      names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempDir dir_;
};

TEST_F(ErrorTreeTest, NumberedNamesPutTheNumberBeforeTheLastExtension) {
  const fs::path error("/out/Error/a");
  EXPECT_EQ(NumberedErrorName(error / "scan.tif", 1, false), error / "scan.tif");
  EXPECT_EQ(NumberedErrorName(error / "scan.tif", 2, false), error / "scan (2).tif");
  EXPECT_EQ(NumberedErrorName(error / "a.b.tif", 3, false), error / "a.b (3).tif");
  EXPECT_EQ(NumberedErrorName(error / "noext", 2, false), error / "noext (2)");
  EXPECT_EQ(NumberedErrorName(error / ".notes", 2, false), error / ".notes (2)");
  EXPECT_EQ(NumberedErrorName(error / "box.2024", 2, true), error / "box.2024 (2)");
}

TEST_F(ErrorTreeTest, AMoveNeverReplacesAnEarlierMovedOriginal) {
  Touch(At("in/a/scan.tif"), "first original");
  EXPECT_EQ(MoveFileInto(At("out"), At("in/a/scan.tif"), At("out/Error/a")),
            fs::path(At("out/Error/a/scan.tif")));
  Touch(At("in/a/scan.tif"), "second original");
  EXPECT_EQ(MoveFileInto(At("out"), At("in/a/scan.tif"), At("out/Error/a")),
            fs::path(At("out/Error/a/scan (2).tif")));
  Touch(At("in/a/scan.tif"), "first original");  // the same bytes again: still kept
  MoveFileInto(At("out"), At("in/a/scan.tif"), At("out/Error/a"));
  EXPECT_EQ(test::ReadBytes(At("out/Error/a/scan.tif")), "first original");
  EXPECT_EQ(test::ReadBytes(At("out/Error/a/scan (2).tif")), "second original");
  EXPECT_EQ(test::ReadBytes(At("out/Error/a/scan (3).tif")), "first original");
  EXPECT_FALSE(fs::exists(At("in/a/scan.tif")));
}

TEST_F(ErrorTreeTest, ACopyTakesAFreeNameUnlessTheSameContentIsThereAlready) {
  Touch(At("in/a/scan.tif"), "today's file");
  Touch(At("out/Error/a/scan.tif"), "an earlier failure");
  EXPECT_EQ(CopyFileInto(At("out"), At("in/a/scan.tif"), At("out/Error/a")),
            fs::path(At("out/Error/a/scan (2).tif")));
  // Failing again on the next run adds nothing.
  EXPECT_EQ(CopyFileInto(At("out"), At("in/a/scan.tif"), At("out/Error/a")),
            fs::path(At("out/Error/a/scan (2).tif")));
  EXPECT_EQ(Entries(At("out/Error/a")), (std::vector<std::string>{"scan (2).tif", "scan.tif"}));
  EXPECT_EQ(test::ReadBytes(At("out/Error/a/scan.tif")), "an earlier failure");
  EXPECT_EQ(test::ReadBytes(At("in/a/scan.tif")), "today's file");

  Touch(At("in/box/bad/1.tif"), "page one");
  Touch(At("in/box/bad/.notes/2.txt"), "hidden");
  Touch(At("out/Error/box/bad/1.tif"), "old copy");
  EXPECT_EQ(CopyDirectoryInto(At("out"), At("in/box/bad"), At("out/Error/box/bad")),
            fs::path(At("out/Error/box/bad (2)")));
  EXPECT_EQ(CopyDirectoryInto(At("out"), At("in/box/bad"), At("out/Error/box/bad")),
            fs::path(At("out/Error/box/bad (2)")));
  EXPECT_EQ(Entries(At("out/Error/box")),
            (std::vector<std::string>{"bad (2)/", "bad (2)/.notes/", "bad (2)/.notes/2.txt",
                                      "bad (2)/1.tif", "bad/", "bad/1.tif"}));
  EXPECT_EQ(test::ReadBytes(At("out/Error/box/bad/1.tif")), "old copy");
}

TEST_F(ErrorTreeTest, LinksAreCopiedAndMovedAsLinksNeverAsTheirTargetsData) {
  Touch(At("private/secret.tif"), "readable only through its directory");
  ASSERT_EQ(::chmod(At("private").c_str(), 0700), 0);
  fs::create_directories(At("in/a/box"));
  fs::create_symlink(At("private/secret.tif"), At("in/a/secret.tif"));
  fs::create_symlink(At("private/secret.tif"), At("in/a/box/secret.tif"));
  fs::create_symlink(At("private/secret.tif"), At("in/a/moved.tif"));

  CopyFileInto(At("out"), At("in/a/secret.tif"), At("out/Error/a"));
  CopyDirectoryInto(At("out"), At("in/a/box"), At("out/Error/a/box"));
  MoveFileInto(At("out"), At("in/a/moved.tif"), At("out/Error/a"));
  for (const char* copy : {"out/Error/a/secret.tif", "out/Error/a/box/secret.tif",
                           "out/Error/a/moved.tif"}) {
    ASSERT_TRUE(fs::is_symlink(At(copy))) << copy;
    EXPECT_EQ(fs::read_symlink(At(copy)), fs::path(At("private/secret.tif"))) << copy;
  }
  EXPECT_TRUE(fs::exists(At("private/secret.tif")));
}

TEST_F(ErrorTreeTest, RunsCopyingOneNameAtOnceEachKeepTheirOwn) {
  constexpr int kRuns = 8;
  for (int run = 0; run < kRuns; ++run) {
    Touch(At("in" + std::to_string(run) + "/scan.tif"), "from run " + std::to_string(run));
  }
  std::vector<std::thread> runs;
  for (int run = 0; run < kRuns; ++run) {
    runs.emplace_back([this, run] {
      CopyFileInto(At("out"), At("in" + std::to_string(run) + "/scan.tif"), At("out/Error"));
    });
  }
  for (std::thread& run : runs) run.join();
  std::set<std::string> contents;
  for (const std::string& name : Entries(At("out/Error"))) {
    EXPECT_FALSE(IsTemporaryOutput(name)) << name;
    contents.insert(test::ReadBytes(At("out/Error/" + name)));
  }
  EXPECT_EQ(contents.size(), static_cast<std::size_t>(kRuns));
  EXPECT_TRUE(fs::exists(At("out/Error/scan (8).tif")));
}

TEST_F(ErrorTreeTest, ACopyThatCannotBeFinishedLeavesNothingAndSaysWhy) {
  Touch(At("in/bad/1.tif"), "page one");
  ASSERT_EQ(::mkfifo(At("in/bad/pipe").c_str(), 0600), 0);
  try {
    CopyDirectoryInto(At("out"), At("in/bad"), At("out/Error/bad"));
    ADD_FAILURE() << "the copy did not fail";
  } catch (const std::exception& error) {
    const std::string reason = ErrorTreeFailureReason(error, At("in/bad"));
    EXPECT_NE(reason.find(At("in/bad/pipe")), std::string::npos) << reason;
  }
  EXPECT_TRUE(Entries(At("out/Error")).empty());
}

TEST_F(ErrorTreeTest, NothingGoesThroughALinkInTheErrorTreeAndTheReasonNamesIt) {
  Touch(At("in/a/scan.tif"), "page");
  Touch(At("in/box/1.tif"), "page");
  fs::create_directories(At("out"));
  fs::create_directories(At("elsewhere"));
  fs::create_directory_symlink(At("elsewhere"), At("out/Error"));
  for (const auto& put : std::vector<std::function<void()>>{
           [&] { CopyFileInto(At("out"), At("in/a/scan.tif"), At("out/Error/a")); },
           [&] { MoveFileInto(At("out"), At("in/a/scan.tif"), At("out/Error/a")); },
           [&] { CopyDirectoryInto(At("out"), At("in/box"), At("out/Error/box")); }}) {
    try {
      put();
      ADD_FAILURE() << "copied through the link";
    } catch (const LinkInPathError& error) {
      EXPECT_EQ(ErrorTreeFailureReason(error, At("in/a/scan.tif")),
                "输出路径中含有链接：" + At("out/Error"));
    }
  }
  EXPECT_TRUE(Entries(At("elsewhere")).empty());
  EXPECT_TRUE(fs::exists(At("in/a/scan.tif"))) << "a refused move leaves the source";
}

TEST_F(ErrorTreeTest, OnAFullDiskNothingIsHalfWrittenAndTheSourceStays) {
  const test::SmallTmpfs disk(At("out"), "2m");
  if (!disk.Mounted()) GTEST_SKIP() << disk.SkipReason();
  const std::string page(100 * 1024, 'p');
  for (int n = 1; n <= 30; ++n) Touch(At("in/b/" + std::to_string(n) + ".tif"), page);
  Touch(At("in/big.tif"), std::string(3 * 1024 * 1024, 'b'));

  try {
    CopyDirectoryInto(At("out"), At("in/b"), At("out/Error/b"));
    ADD_FAILURE() << "30 pages of 100 KB fitted on 2 MB";
  } catch (const std::exception& error) {
    EXPECT_EQ(ErrorTreeFailureReason(error, At("in/b")), "磁盘空间不足");
  }
  EXPECT_THROW(CopyFileInto(At("out"), At("in/big.tif"), At("out/Error")), fs::filesystem_error);
  // Across file systems a move copies first: the source stays when the copy fails.
  EXPECT_THROW(MoveFileInto(At("out"), At("in/big.tif"), At("out/Error")), fs::filesystem_error);
  EXPECT_EQ(fs::file_size(At("in/big.tif")), 3u * 1024 * 1024);
  EXPECT_EQ(Entries(At("out/Error")), std::vector<std::string>{});

  // With room again the move completes and the source goes.
  Touch(At("in/small.tif"), "fits");
  EXPECT_EQ(MoveFileInto(At("out"), At("in/small.tif"), At("out/Error")),
            fs::path(At("out/Error/small.tif")));
  EXPECT_EQ(test::ReadBytes(At("out/Error/small.tif")), "fits");
  EXPECT_FALSE(fs::exists(At("in/small.tif")));
}

}  // namespace
}  // namespace zelk
