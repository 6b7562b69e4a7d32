#include "scan/PathHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

struct HelperCase {
  const char* call;
  std::function<std::string(std::string_view)> helper;
  std::string input;
  std::string expected;
};

TEST(PathHelpersTest, SplitAndNameHelpersOnEdgeInputs) {
  const HelperCase cases[] = {
      {"GetParentPath", GetParentPath, "/a/b.tif", "/a/"},
      {"GetParentPath", GetParentPath, "/a/", "/a/"},
      {"GetParentPath", GetParentPath, "b.tif", ""},
      {"GetFileNamePart", GetFileNamePart, "/a/b.tif", "b.tif"},
      {"GetFileNamePart", GetFileNamePart, "/a/", ""},
      {"GetFileNamePart", GetFileNamePart, "b.tif", "b.tif"},
      {"GetFileNamePart", GetFileNamePart, "/\xE6\x95\xB0/\xE6\x8D\xAE.tif", "\xE6\x8D\xAE.tif"},
      {"GetBaseName", GetBaseName, "scan.01.tif", "scan.01"},
      {"GetBaseName", GetBaseName, ".tif", ""},
      {"GetBaseName", GetBaseName, "noext", "noext"},
      {"GetExtName", GetExtName, "scan.01.TIF", "TIF"},
      {"GetExtName", GetExtName, "noext", "noext"},
      {"GetExtName", GetExtName, "name.", ""},
  };
  for (const HelperCase& c : cases) {
    EXPECT_EQ(c.helper(c.input), c.expected) << c.call << " of \"" << c.input << "\"";
  }
}

TEST(MakeDirPathTest, CreatesEveryMissingLevel) {
  test::TempDir dir;
  fs::create_directory(dir.Path() / "out");
  const std::string target = dir.File("out/x/y");
  MakeDirPath(target);
  EXPECT_TRUE(fs::is_directory(target));

  // Again, with a trailing separator and doubled ones: nothing to do, no error.
  MakeDirPath(target + "/");
  MakeDirPath(dir.File("out//x/y"));

  // A relative path starts at the working directory.
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Path());
  MakeDirPath("rel/\xE6\x95\xB0/b");
  fs::current_path(previous);
  EXPECT_TRUE(fs::is_directory(dir.Path() / "rel" / "\xE6\x95\xB0" / "b"));
}

TEST(MakeDirPathTest, FailsCleanlyWhereALevelCannotBeADirectory) {
  test::TempDir dir;
  test::WriteBytes(dir.Path() / "file", "x");
  for (const std::string& path : {dir.File("file"), dir.File("file/sub/deeper")}) {
    try {
      MakeDirPath(path);
      ADD_FAILURE() << "no error for " << path;
    } catch (const fs::filesystem_error& error) {
      EXPECT_EQ(error.path1(), dir.File("file"));
      EXPECT_EQ(error.code(), std::errc::not_a_directory);
    }
  }
  EXPECT_FALSE(fs::exists(dir.Path() / "file" / "sub"));
  EXPECT_THROW(MakeDirPath(""), fs::filesystem_error);
}

}  // namespace
}  // namespace zelk
