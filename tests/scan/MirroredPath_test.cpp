#include "scan/MirroredPath.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(MirroredPathTest, RootsLoseTrailingSeparatorsExceptTheFileSystemRoot) {
  EXPECT_EQ(NormalizeRoot("/in/"), "/in");
  EXPECT_EQ(NormalizeRoot("/in//"), "/in");
  EXPECT_EQ(NormalizeRoot("/in"), "/in");
  EXPECT_EQ(NormalizeRoot("/"), "/");
  EXPECT_EQ(NormalizeRoot("//"), "/");
  EXPECT_EQ(NormalizeRoot(""), "");
}

TEST(MirroredPathTest, TargetIsTheOutputRootFollowedByThePartBelowTheSourceRoot) {
  struct Case {
    const char* path;
    const char* source;
    const char* target;
    const char* mirrored;
  } const cases[] = {
      {"/in/a/b", "/in", "/out", "/out/a/b"},
      {"/in", "/in", "/out", "/out"},
      {"/a/b", "/", "/out", "/out/a/b"},
      {"/in/a/b", "/in", "/", "/a/b"},
      {"/a", "/", "/", "/a"},
      {"/in/a", "/in", "", "/a"},  // an empty output box, as the preview allows
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MirrorPath(c.path, c.source, c.target), c.mirrored)
        << c.path << " " << c.source << " " << c.target;
  }
  EXPECT_EQ(RelativePart("/in/a/b", "/in"), "/a/b");
  EXPECT_EQ(RelativePart("/in", "/in"), "");
  EXPECT_EQ(RelativePart("/a", "/"), "/a");
}

}  // namespace
}  // namespace zelk
