#include "jobs/DirectoryPages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> NamesOf(const std::vector<PageFile>& pages) {
  std::vector<std::string> names;
  for (const PageFile& page : pages) names.push_back(page.Name);
  return names;
}

TEST(DirectoryPagesTest, PageLinksLeadingOutOfTheSourceRootArePassedOver) {
  test::TempDir dir;
  const std::string in = dir.File("in");
  test::Touch(dir.File("private/secret.tif"));
  test::Touch(in + "/other/shared.tif");
  test::Touch(in + "/box/1.tif");
  fs::create_symlink(dir.File("private/secret.tif"), in + "/box/2.tif");
  fs::create_symlink("../other/shared.tif", in + "/box/3.tif");
  fs::create_symlink("1.tif", in + "/box/4.jpg");
  EXPECT_EQ(NamesOf(ListPageFiles(in + "/box", in)),
            (std::vector<std::string>{"1.tif", "3.tif", "4.jpg"}));
  // With the private directory inside the root, its page is one of them.
  EXPECT_EQ(NamesOf(ListPageFiles(in + "/box", dir.Path().string())).size(), 4u);
}

}  // namespace
}  // namespace zelk
