#include "scan/DirectoryListing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/FileTree.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

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

// What root can always read is tried as the user nobody (Unprivileged.h).
TEST(DirectoryListingTest, ADirectoryWithoutReadOrSearchPermissionCannotBeListed) {
  test::TempDir dir;
  const std::string noRead = dir.File("no-read");
  const std::string noSearch = dir.File("no-search");
  const std::string open = dir.File("open");
  for (const std::string& path : {noRead, noSearch, open}) test::Touch(path + "/page.tif");
  test::OpenToEveryone(dir.Path());
  ASSERT_EQ(chmod(noRead.c_str(), 0333), 0);
  ASSERT_EQ(chmod(noSearch.c_str(), 0666), 0);
  const auto listed = test::RunUnprivileged([&] {
    std::string result;
    for (const std::string& path : {noRead, noSearch, open}) {
      std::vector<DirEntry> entries{DirEntry{"stale"}};
      result += ListDirectory(path, entries) ? "listed " : "refused ";
      result += std::to_string(entries.size()) + ";";
      try {
        ListDirectoryOrFail(path);
      } catch (const std::runtime_error& error) {
        result += error.what();
        result += ";";
      }
    }
    return result;
  });
  chmod(noRead.c_str(), 0777);
  chmod(noSearch.c_str(), 0777);
  if (!listed) GTEST_SKIP() << "cannot run without the super-user's rights here";
  EXPECT_EQ(*listed, "refused 0;无法读取目录“" + noRead + "”;refused 0;无法读取目录“" + noSearch +
                         "”;listed 1;");
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

TEST(DirectoryListingTest, LinksThatLeaveTheRootAreNoFilesWithinIt) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  test::Touch(dir.Path() / "private/secret.tif");
  test::Touch(dir.Path() / "real/in/box/page.tif");
  test::Touch(dir.Path() / "real/in/other/page.tif");
  test::Touch(dir.Path() / "real/inside-not.tif");  // shares the root's name as a prefix
  // The root is reached through a link, as a mounted share often is.
  fs::create_directory_symlink(dir.File("real/in"), dir.File("in"));
  const std::string box = dir.File("in/box");
  fs::create_symlink(dir.File("private/secret.tif"), box + "/a-outside.tif");
  fs::create_symlink("../../inside-not.tif", box + "/b-sibling.tif");
  fs::create_symlink("../other/page.tif", box + "/c-relative.tif");
  fs::create_symlink(dir.File("in/other/page.tif"), box + "/d-through-root-link.tif");
  fs::create_symlink("d-through-root-link.tif", box + "/e-chain.tif");

  std::vector<DirEntry> entries;
  ASSERT_TRUE(ListDirectoryWithin(box, dir.File("in"), entries));
  ASSERT_EQ(entries.size(), 6u);
  std::vector<std::string> files;
  for (const DirEntry& entry : entries) {
    if (entry.IsFile()) files.push_back(entry.Name);
  }
  EXPECT_EQ(files, (std::vector<std::string>{"c-relative.tif", "d-through-root-link.tif",
                                             "e-chain.tif", "page.tif"}));
  EXPECT_TRUE(LinkLeavesRoot(box + "/a-outside.tif", dir.File("in")));
  EXPECT_FALSE(LinkLeavesRoot(box + "/page.tif", dir.File("in")));  // no link at all
  // The same links are inside a wider root.
  EXPECT_FALSE(LinkLeavesRoot(box + "/b-sibling.tif", dir.File("real")));
}

}  // namespace
}  // namespace zelk
