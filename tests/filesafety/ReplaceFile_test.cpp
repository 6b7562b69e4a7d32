#include "filesafety/ReplaceFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace zelk {
namespace {

TEST(ReplaceFileTest, ReplacesWholeKeepingModeAndLeavesNothingBeside) {
  test::TempDir dir;
  const std::string path = dir.File("a.conf");
  test::WriteBytes(path, "old contents that are longer");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  std::error_code error;
  ASSERT_TRUE(ReplaceFileContents(path, "new", error)) << error.message();
  EXPECT_EQ(test::ReadBytes(path), "new");
  EXPECT_EQ(test::PermissionBits(path), 0600u);
  EXPECT_EQ(test::EntryCount(dir.Path()), 1);
}

TEST(ReplaceFileTest, ReadOnlyDirectoryFallsBackToRewritingInPlace) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  test::TempDir dir;
  const std::string path = dir.File("a.conf");
  test::WriteBytes(path, "old");
  ASSERT_EQ(chmod(dir.Path().c_str(), 0500), 0);
  std::error_code error;
  const bool ok = ReplaceFileContents(path, "new", error);
  chmod(dir.Path().c_str(), 0700);
  EXPECT_TRUE(ok) << error.message();
  EXPECT_EQ(test::ReadBytes(path), "new");
}

TEST(ReplaceFileTest, ALinkLeadingOutOfItsDirectoryIsNotWrittenThrough) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.Path() / "settings");
  test::WriteBytes(dir.File("elsewhere.txt"), "kept");
  test::WriteBytes(dir.File("settings/real.conf"), "old");
  const std::string planted = dir.File("settings/a.conf");
  std::filesystem::create_symlink(dir.File("elsewhere.txt"), planted);
  std::error_code error;
  EXPECT_FALSE(ReplaceFileContents(planted, "new", error));
  EXPECT_EQ(error, std::errc::too_many_symbolic_link_levels);
  EXPECT_EQ(test::ReadBytes(dir.File("elsewhere.txt")), "kept");
  EXPECT_TRUE(std::filesystem::is_symlink(planted));
  // A link to a file in its own directory is followed as before.
  const std::string kept = dir.File("settings/b.conf");
  std::filesystem::create_symlink("real.conf", kept);
  EXPECT_TRUE(ReplaceFileContents(kept, "new", error)) << error.message();
  EXPECT_EQ(test::ReadBytes(dir.File("settings/real.conf")), "new");
}

TEST(ReplaceFileTest, MissingDirectoryIsAnError) {
  test::TempDir dir;
  std::error_code error;
  EXPECT_FALSE(ReplaceFileContents(dir.File("none/a.conf"), "x", error));
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace zelk
