#include "jobs/DirectoryPages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
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

TEST(DirectoryPagesTest, APageLinkLeadingOutOfTheSourceRootFailsTheListingWithTheReason) {
  test::TempDir dir;
  const std::string in = dir.File("in");
  test::Touch(dir.File("private/secret.tif"));
  test::Touch(in + "/other/shared.tif");
  test::Touch(in + "/box/1.tif");
  fs::create_symlink(dir.File("private/secret.tif"), in + "/box/2.tif");
  fs::create_symlink("../other/shared.tif", in + "/box/3.tif");
  fs::create_symlink("1.tif", in + "/box/4.jpg");
  try {
    ListPageFiles(in + "/box", in);
    ADD_FAILURE() << "the link was passed over";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "链接指向源目录之外：" + in + "/box/2.tif");
  }
  // With the private directory inside the root, its page is one of them.
  EXPECT_EQ(NamesOf(ListPageFiles(in + "/box", dir.Path().string())),
            (std::vector<std::string>{"1.tif", "2.tif", "3.tif", "4.jpg"}));
}
}  // namespace
}  // namespace zelk
