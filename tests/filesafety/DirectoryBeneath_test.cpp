#include "filesafety/DirectoryBeneath.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(DirectoryBeneath, MakesTheMissingLevelsAndTheRootMayBeALink) {
  TempDir dir;
  fs::create_directory(dir.Path() / "real-root");
  fs::create_directory_symlink(dir.Path() / "real-root", dir.Path() / "root");
  const fs::path root = dir.Path() / "root";
  const DirectoryBeneath opened = DirectoryBeneath::Open(root, root / "a" / "b/", true);
  EXPECT_EQ(opened.Path(), root / "a" / "b");
  struct stat viaFd {}, viaPath {};
  ASSERT_EQ(::fstat(opened.Fd(), &viaFd), 0);
  ASSERT_EQ(::stat((dir.Path() / "real-root/a/b").c_str(), &viaPath), 0);
  EXPECT_EQ(viaFd.st_ino, viaPath.st_ino);
  EXPECT_NO_THROW(DirectoryBeneath::Open(root, root, false));
  EXPECT_THROW(DirectoryBeneath::Open(root, root / "missing", false), fs::filesystem_error);
}

TEST(DirectoryBeneath, ALinkBelowTheRootIsRefusedByNameAndNothingIsMadeThrough) {
  TempDir dir;
  const fs::path root = dir.Path() / "dst";
  fs::create_directories(root / "a");
  fs::create_directory(dir.Path() / "elsewhere");
  fs::create_directory_symlink(dir.Path() / "elsewhere", root / "a" / "x");
  fs::create_symlink("dangling", root / "y");  // a link to nothing yet
  for (const auto& [directory, link] : {std::pair{root / "a" / "x" / "deep", root / "a" / "x"},
                                        {root / "a" / "x", root / "a" / "x"},
                                        {root / "y" / "z", root / "y"}}) {
    try {
      DirectoryBeneath::Open(root, directory, true);
      ADD_FAILURE() << directory << " opened through a link";
    } catch (const LinkInPathError& error) {
      EXPECT_EQ(error.Link(), link);
      EXPECT_EQ(error.Kind(), ErrorKind::LinkRefused);
    }
  }
  EXPECT_EQ(test::TreeOf(dir.Path() / "elsewhere"), std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(dir.Path() / "dangling"));
}

TEST(DirectoryBeneath, AFileInTheWayOrAPathOutsideTheRootFails) {
  TempDir dir;
  const fs::path root = dir.Path() / "dst";
  fs::create_directory(root);
  test::Touch((root / "file").string());
  EXPECT_THROW(DirectoryBeneath::Open(root, root / "file" / "a", true), fs::filesystem_error);
  EXPECT_THROW(DirectoryBeneath::Open(root, dir.Path() / "other", true), fs::filesystem_error);
  EXPECT_THROW(DirectoryBeneath::Open(root, root / ".." / "other", true), fs::filesystem_error);
  EXPECT_FALSE(fs::exists(dir.Path() / "other"));
}

}  // namespace
}  // namespace zelk
