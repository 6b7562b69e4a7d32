#include "filesafety/TreeCopy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::Touch;

class TreeCopyTest : public ::testing::Test {
 protected:
  fs::path At(const char* relative) const { return dir_.Path() / relative; }
  test::TempDir dir_;
};

TEST_F(TreeCopyTest, CopiesFilesHiddenEntriesAndLinksAsLinksWithoutReadingThroughThem) {
  Touch(At("private/secret.tif"), "only the owner may read this");
  Touch(At("src/1.tif"), "page one");
  Touch(At("src/.notes/2.txt"), "hidden");
  fs::create_directories(At("src/empty"));
  fs::create_symlink(At("private/secret.tif"), At("src/secret.tif"));
  fs::create_symlink("1.tif", At("src/relative.tif"));
  fs::create_symlink("nowhere.tif", At("src/dangling.tif"));

  CopyTree(At("src"), At("copy"));
  EXPECT_EQ(test::ReadBytes(At("copy/1.tif")), "page one");
  EXPECT_EQ(test::ReadBytes(At("copy/.notes/2.txt")), "hidden");
  EXPECT_TRUE(fs::is_directory(At("copy/empty")));
  for (const char* link : {"copy/secret.tif", "copy/relative.tif", "copy/dangling.tif"}) {
    EXPECT_TRUE(fs::is_symlink(At(link))) << link;
  }
  EXPECT_EQ(fs::read_symlink(At("copy/secret.tif")), At("private/secret.tif"));
  EXPECT_EQ(fs::read_symlink(At("copy/dangling.tif")), "nowhere.tif");
  EXPECT_TRUE(SameTree(At("src"), At("copy")));

  // A single link is copied as the link too.
  CopyTree(At("src/secret.tif"), At("one-link.tif"));
  EXPECT_TRUE(fs::is_symlink(At("one-link.tif")));
}

TEST_F(TreeCopyTest, RefusesAPipeAndAnExistingTargetNamingTheEntry) {
  Touch(At("src/1.tif"));
  ASSERT_EQ(::mkfifo(At("src/pipe").c_str(), 0600), 0);
  try {
    CopyTree(At("src"), At("copy"));
    ADD_FAILURE() << "a pipe was copied";
  } catch (const fs::filesystem_error& error) {
    EXPECT_EQ(error.path1(), At("src/pipe"));
    EXPECT_EQ(error.code(), std::errc::not_supported);
  }
  Touch(At("taken.tif"), "stays");
  EXPECT_THROW(CopyTree(At("src/1.tif"), At("taken.tif")), fs::filesystem_error);
  EXPECT_THROW(CopyTree(At("src"), At("copy")), fs::filesystem_error);  // "copy" exists now
  EXPECT_EQ(test::ReadBytes(At("taken.tif")), "stays");
}

TEST_F(TreeCopyTest, TreesDifferInAnyByteNameKindOrLinkTarget) {
  Touch(At("a/x/1.tif"), "same");
  Touch(At("a/2.tif"), "same too");
  fs::create_symlink("x/1.tif", At("a/link"));
  fs::copy(At("a"), At("b"), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  EXPECT_TRUE(SameTree(At("a"), At("b")));

  Touch(At("b/2.tif"), "same to!");  // same length, one byte differs
  EXPECT_FALSE(SameTree(At("a"), At("b")));
  Touch(At("b/2.tif"), "same too");
  Touch(At("b/x/extra"), "");
  EXPECT_FALSE(SameTree(At("a"), At("b")));
  fs::remove(At("b/x/extra"));
  fs::remove(At("b/link"));
  fs::create_symlink("x/2.tif", At("b/link"));
  EXPECT_FALSE(SameTree(At("a"), At("b")));
  fs::remove(At("b/link"));
  Touch(At("b/link"), "x/1.tif");  // a file holding the link's text is no link
  EXPECT_FALSE(SameTree(At("a"), At("b")));
  EXPECT_FALSE(SameTree(At("a"), At("missing")));
}

}  // namespace
}  // namespace zelk
