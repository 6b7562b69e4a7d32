#include "platform/AbandonedFiles.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "platform/ItemClaim.h"
#include "platform/OutputTransaction.h"
#include "platform/ProcessOwner.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Runs `work` in a child process that then dies without cleaning up, as a
// run killed with SIGKILL does.
template <typename Work>
void InProcessThatDies(Work work) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    work();
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ProcessOwner, OwnersAreJudgedByHostProcessAndStart) {
  const ProcessOwner& self = ThisProcess();
  EXPECT_EQ(StateOf(self), OwnerState::Alive);
  EXPECT_EQ(StateOfToken(OwnerToken(self)), OwnerState::Alive);
  EXPECT_LE(OwnerToken(self).size(), 40u);

  ProcessOwner reused = self;  // same process id, another start: a later program
  reused.StartTicks += 1;
  EXPECT_EQ(StateOf(reused), OwnerState::Gone);
  EXPECT_EQ(StateOfToken(OwnerToken(reused)), OwnerState::Gone);

  ProcessOwner remote = self;
  remote.Host += "-elsewhere";
  EXPECT_EQ(StateOf(remote), OwnerState::Elsewhere);
  EXPECT_EQ(StateOfToken(OwnerToken(remote)), OwnerState::Elsewhere);

  const std::optional<ProcessOwner> parsed = ParseOwner(DescribeOwner(self));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->Host, self.Host);
  EXPECT_EQ(parsed->Pid, self.Pid);
  EXPECT_EQ(parsed->StartTicks, self.StartTicks);
  EXPECT_FALSE(ParseOwner("half a claim"));
  EXPECT_FALSE(StateOfToken("not-a-token"));
}

TEST(ItemClaim, OneHolderAtATimeAndADeadHolderIsReplaced) {
  TempDir dir;
  const fs::path item = dir.Path() / "out" / "deep" / "doc";
  std::optional<ItemClaim> first = ItemClaim::Take(item);
  ASSERT_TRUE(first);
  EXPECT_TRUE(fs::exists(ClaimPathFor(item)));

  // Another process (the claim file is what counts, not this process).
  InProcessThatDies([&] {
    std::string holder;
    if (ItemClaim::Take(item, &holder)) ::_exit(1);
    if (holder.find("pid=" + std::to_string(ThisProcess().Pid)) != std::string::npos) ::_exit(2);
    if (holder.find("host=") == std::string::npos) ::_exit(3);
  });
  first->Release();
  EXPECT_FALSE(fs::exists(dir.Path() / "out")) << "the directories made for the claim go with it";

  // A holder killed while it held the claim: the next one takes it over.
  InProcessThatDies([&] {
    std::optional<ItemClaim> claim = ItemClaim::Take(item);
    if (!claim) ::_exit(1);
    new ItemClaim(std::move(*claim));  // never released, as after SIGKILL
  });
  ASSERT_TRUE(fs::exists(ClaimPathFor(item)));
  std::optional<ItemClaim> again = ItemClaim::Take(item);
  ASSERT_TRUE(again);
  EXPECT_NE(ReadBytes(ClaimPathFor(item)).find("pid=" + std::to_string(ThisProcess().Pid)),
            std::string::npos);

  // A claim of a process on another host is never taken over from here.
  again->Release();
  ProcessOwner remote = ThisProcess();
  remote.Host += "-elsewhere";
  fs::create_directories(item.parent_path());
  WriteBytes(ClaimPathFor(item).string(), DescribeOwner(remote));
  EXPECT_FALSE(ItemClaim::Take(item));
  EXPECT_FALSE(ClearAbandonedClaim(ClaimPathFor(item)));
}

TEST(ItemClaim, ClaimNamesFitBesideTheLongestLegalName) {
  const fs::path item = fs::path("/dst") / std::string(255, 'x');
  EXPECT_LT(ClaimPathFor(item).filename().string().size(), 40u);
  EXPECT_EQ(ClaimPathFor(item).parent_path(), "/dst");
  EXPECT_NE(ClaimPathFor("/dst/a"), ClaimPathFor("/dst/b"));
}

TEST(AbandonedFiles, OnlyWhatDeadProcessesOfThisHostLeftIsRemoved) {
  TempDir dir;
  fs::create_directories(dir.Path() / "a" / "b");
  InProcessThatDies([&] {
    WriteBytes(TemporaryPathBeside(dir.Path() / "a" / "b" / "doc.tif").string(), "x");
    fs::create_directory(TemporaryPathBeside(dir.Path() / "a" / "split"));
    new ItemClaim(*ItemClaim::Take(dir.Path() / "a" / "doc"));
  });
  // This process's files: a live run's, to be left alone.
  const fs::path live = TemporaryPathBeside(dir.Path() / "a" / "live.tif");
  WriteBytes(live.string(), "x");
  std::optional<ItemClaim> liveClaim = ItemClaim::Take(dir.Path() / "a" / "live");
  // Names that only look similar.
  WriteBytes(dir.File("a/keep.tif"), "x");
  WriteBytes(dir.File("a/zelk-tmp"), "x");
  WriteBytes(dir.File("a/.zelk-tmp.tif"), "x");
  WriteBytes(dir.File("a/.zelk-nonsense-1.zelk-tmp"), "x");

  EXPECT_EQ(RemoveAbandonedFiles(dir.Path()), 3);
  std::vector<std::string> expected = {"a/", "a/.zelk-nonsense-1.zelk-tmp", "a/.zelk-tmp.tif",
                                       "a/b/", "a/keep.tif", "a/zelk-tmp",
                                       "a/" + live.filename().string(),
                                       "a/" + ClaimPathFor(dir.Path() / "a" / "live").filename().string()};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(test::TreeOf(dir.Path()), expected);
  EXPECT_EQ(RemoveAbandonedFiles(dir.Path() / "missing"), 0);
}

}  // namespace
}  // namespace zelk
