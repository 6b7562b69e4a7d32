#include "scan/DirectoryListing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

TEST(DirectoryListingTest, TellsAnUnlistableDirectoryFromAnEmptyOne) {
  test::TempDir dir;
  test::Touch(dir.Path() / "file");
  std::vector<DirEntry> entries{DirEntry{"stale"}};
  EXPECT_FALSE(ListDirectory(dir.File("missing"), entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(ListDirectory(dir.File("file"), entries));
  std::filesystem::create_directory(dir.File("empty"));
  EXPECT_TRUE(ListDirectory(dir.File("empty"), entries));
  EXPECT_TRUE(entries.empty());
}

TEST(DirectoryListingTest, KindsOfEntries) {
  test::TempDir dir;
  test::Touch(dir.Path() / "page.tif");
  test::Touch(dir.Path() / ".hidden.tif");
  std::filesystem::create_directory(dir.File("sub"));
  std::filesystem::create_directory(dir.File(".cache"));
  std::filesystem::create_directory_symlink(dir.File("sub"), dir.File("sublink"));
  std::filesystem::create_symlink(dir.File("page.tif"), dir.File("pagelink.tif"));
  const std::vector<DirEntry> entries = ListDirectory(dir.Path().string());
  ASSERT_EQ(entries.size(), 6u);
  // .cache .hidden.tif page.tif pagelink.tif sub sublink
  EXPECT_TRUE(entries[0].Hidden);
  EXPECT_FALSE(entries[0].IsPlainDirectory());
  EXPECT_TRUE(entries[1].IsFile());
  EXPECT_TRUE(entries[3].IsFile());
  EXPECT_TRUE(entries[4].IsPlainDirectory());
  EXPECT_EQ(entries[5].Type, DirEntry::Kind::Other);
}

}  // namespace
}  // namespace zelk
