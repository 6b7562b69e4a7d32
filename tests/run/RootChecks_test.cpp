#include "run/RootChecks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/FileTree.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

class RootChecksTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(in_ + "/a"); }

  // The text of the refusal, empty when the roots pass.
  static std::string Refusal(const std::string& source, const std::string& target) {
    const auto message = CheckRoots(source, target);
    return message ? message->Text : std::string();
  }

  test::TempDir dir_;
  std::string in_ = dir_.File("in");
};

constexpr const char* kInside = "输出目录不能位于源目录之内！\u3000\u3000";
constexpr const char* kSame = "输出目录不能与源目录相同！\u3000\u3000";

TEST_F(RootChecksTest, AnOutputRootOutsideTheSourcePassesAndAnEmptyOneIsNotCompared) {
  EXPECT_EQ(Refusal(in_, dir_.File("out")), "");
  EXPECT_EQ(Refusal(in_, dir_.File("in2")), "");     // a name that merely starts alike
  EXPECT_EQ(Refusal(in_, dir_.File("in-out/x")), "");
  EXPECT_EQ(Refusal(in_ + "/a", in_), "");           // the source inside the output
  EXPECT_EQ(Refusal(in_, ""), "");                   // renaming in place
}

TEST_F(RootChecksTest, TheSourceRootItselfOrAPlaceInsideItIsRefusedAsAnOutputRoot) {
  fs::create_directory_symlink(in_ + "/a", dir_.File("link-to-a"));
  fs::create_directory_symlink(in_, dir_.File("link-to-in"));
  struct Case {
    std::string source, target;
    const char* refusal;
  };
  const Case cases[] = {
      {in_, in_, kSame},
      {in_, in_ + "/", kSame},
      {in_ + "//", in_, kSame},
      {in_, dir_.File("link-to-in"), kSame},
      {dir_.File("link-to-in"), in_ + "/.", kSame},
      {in_, dir_.File("out/../in"), kSame},
      {in_, in_ + "/a", kInside},
      {in_, in_ + "/not/yet/made/", kInside},
      {in_, dir_.File("link-to-a") + "/new", kInside},
      {dir_.File("link-to-in"), in_ + "/a/b", kInside},
      {in_, dir_.File("missing/../in/b"), kInside},
  };
  for (const Case& c : cases) {
    const auto message = CheckRoots(c.source, c.target);
    ASSERT_TRUE(message.has_value()) << c.source << " -> " << c.target;
    EXPECT_EQ(message->Text, c.refusal) << c.source << " -> " << c.target;
    EXPECT_EQ(message->FocusAfter, UserMessage::Focus::TargetDirButton);
    EXPECT_EQ(message->Kind, UserMessage::Icon::Information);
  }
}

TEST_F(RootChecksTest, ASourceRootThatIsMissingOrNotADirectoryIsRefusedByName) {
  test::Touch(dir_.File("file"));
  const std::string missing = dir_.File("missing");
  EXPECT_EQ(Refusal(missing, dir_.File("out")), "源目录“" + missing + "”不存在！\u3000\u3000");
  EXPECT_EQ(Refusal(dir_.File("file/below"), ""),
            "源目录“" + dir_.File("file/below") + "”不存在！\u3000\u3000");
  EXPECT_EQ(Refusal(dir_.File("file"), dir_.File("out")),
            "源目录“" + dir_.File("file") + "”不是目录！\u3000\u3000");
  const auto message = CheckRoots(missing, "");
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->FocusAfter, UserMessage::Focus::SourceDirButton);
}

TEST_F(RootChecksTest, ASourceRootThatCannotBeReadOrSearchedIsRefusedByName) {
  test::OpenToEveryone(dir_.Path());
  const std::string noRead = dir_.File("no-read");
  const std::string noSearch = dir_.File("no-search");
  fs::create_directories(noRead + "/x");
  fs::create_directories(noSearch + "/x");
  ASSERT_EQ(chmod(noRead.c_str(), 0333), 0);
  ASSERT_EQ(chmod(noSearch.c_str(), 0666), 0);
  const auto refusals = test::RunUnprivileged([&] {
    return Refusal(noRead, "") + "|" + Refusal(noSearch, "") + "|" + Refusal(in_, "");
  });
  chmod(noRead.c_str(), 0777);
  chmod(noSearch.c_str(), 0777);
  if (!refusals) GTEST_SKIP() << "cannot run without the super-user's rights here";
  EXPECT_EQ(*refusals, "无法读取源目录“" + noRead + "”！\u3000\u3000|无法读取源目录“" + noSearch +
                           "”！\u3000\u3000|");
}

}  // namespace
}  // namespace zelk
