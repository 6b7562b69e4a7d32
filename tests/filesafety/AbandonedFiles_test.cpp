#include "filesafety/AbandonedFiles.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "filesafety/ClaimHeartbeat.h"
#include "filesafety/DirectoryBeneath.h"
#include "filesafety/FileSystemAge.h"
#include "filesafety/ItemClaim.h"
#include "filesafety/OutputTransaction.h"
#include "filesafety/ProcessOwner.h"
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

ProcessOwner RemoteOwner() {
  ProcessOwner remote = ThisProcess();
  remote.Host += "-elsewhere";
  return remote;
}

// Sets the modification time of `path` `age` into the past.
void Backdate(const fs::path& path, std::chrono::seconds age) {
  fs::last_write_time(path, fs::file_time_type::clock::now() - age);
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

  const ProcessOwner remote = RemoteOwner();
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
  std::optional<ItemClaim> first = ItemClaim::Take(dir.Path(), item);
  ASSERT_TRUE(first);
  EXPECT_TRUE(fs::exists(ClaimPathFor(item)));

  // Another process (the claim file is what counts, not this process).
  InProcessThatDies([&] {
    std::string holder;
    if (ItemClaim::Take(dir.Path(), item, &holder)) ::_exit(1);
    if (holder.find("pid=" + std::to_string(ThisProcess().Pid)) != std::string::npos) ::_exit(2);
    if (holder.find("host=") == std::string::npos) ::_exit(3);
  });
  first->Release();
  EXPECT_FALSE(fs::exists(dir.Path() / "out")) << "the directories made for the claim go with it";

  // A holder killed while it held the claim: the next one takes it over.
  InProcessThatDies([&] {
    std::optional<ItemClaim> claim = ItemClaim::Take(dir.Path(), item);
    if (!claim) ::_exit(1);
    new ItemClaim(std::move(*claim));  // never released, as after SIGKILL
  });
  ASSERT_TRUE(fs::exists(ClaimPathFor(item)));
  std::optional<ItemClaim> again = ItemClaim::Take(dir.Path(), item);
  ASSERT_TRUE(again);
  EXPECT_NE(ReadBytes(ClaimPathFor(item)).find("pid=" + std::to_string(ThisProcess().Pid)),
            std::string::npos);

  // A claim of a process on another host holds while it is refreshed, and
  // is taken over once it has gone unrefreshed for the stated age.
  again->Release();
  fs::create_directories(item.parent_path());
  WriteBytes(ClaimPathFor(item).string(), DescribeOwner(RemoteOwner()));
  EXPECT_FALSE(ItemClaim::Take(dir.Path(), item));
  EXPECT_FALSE(ClearAbandonedClaim(ClaimPathFor(item)));
  Backdate(ClaimPathFor(item), kRemoteClaimStaleAge - std::chrono::minutes(1));
  EXPECT_FALSE(ItemClaim::Take(dir.Path(), item));
  Backdate(ClaimPathFor(item), kRemoteClaimStaleAge + std::chrono::minutes(1));
  EXPECT_TRUE(ItemClaim::Take(dir.Path(), item));
  EXPECT_EQ(test::TreeOf(dir.Path()), (std::vector<std::string>{"out/", "out/deep/"}))
      << "the claim taken over is released; no age probe stays";

  WriteBytes(dir.File("stale"), DescribeOwner(RemoteOwner()));
  Backdate(dir.Path() / "stale", kRemoteClaimStaleAge + std::chrono::minutes(1));
  EXPECT_TRUE(ClearAbandonedClaim(dir.Path() / "stale"));
}

TEST(ItemClaim, AHeldClaimIsRefreshedUntilReleasedAndATakenOverOneIsNot) {
  TempDir dir;
  SetClaimRefreshInterval(std::chrono::milliseconds(20));
  const fs::path mine = dir.Path() / "mine";
  const fs::path lost = dir.Path() / "lost";
  std::optional<ItemClaim> held = ItemClaim::Take(dir.Path(), mine);
  std::optional<ItemClaim> takenOver = ItemClaim::Take(dir.Path(), lost);
  ASSERT_TRUE(held && takenOver);
  // Another host took the second claim over, thinking this process dead.
  WriteBytes(ClaimPathFor(lost).string(), DescribeOwner(RemoteOwner()));
  Backdate(ClaimPathFor(mine), std::chrono::hours(1));
  Backdate(ClaimPathFor(lost), std::chrono::hours(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  SetClaimRefreshInterval(std::chrono::minutes(1));
  EXPECT_LT(AgeOnItsFileSystem(ClaimPathFor(mine)).value(), std::chrono::seconds(60));
  EXPECT_GT(AgeOnItsFileSystem(ClaimPathFor(lost)).value(), std::chrono::minutes(59));
  takenOver->Release();
  EXPECT_TRUE(fs::exists(ClaimPathFor(lost))) << "another's claim is never removed";
}

TEST(ItemClaim, NoClaimIsPutThroughALinkBelowTheRoot) {
  TempDir dir;
  const fs::path root = dir.Path() / "dst";
  fs::create_directories(root);
  fs::create_directory(dir.Path() / "elsewhere");
  fs::create_directory_symlink(dir.Path() / "elsewhere", root / "x");
  EXPECT_THROW(ItemClaim::Take(root, root / "x" / "y" / "doc"), LinkInPathError);
  EXPECT_THROW(ItemClaim::Take(root, root / "x" / "doc"), LinkInPathError);
  EXPECT_EQ(test::TreeOf(dir.Path() / "elsewhere"), std::vector<std::string>{});
}

TEST(ItemClaim, ClaimNamesFitBesideTheLongestLegalName) {
  const fs::path item = fs::path("/dst") / std::string(255, 'x');
  EXPECT_LT(ClaimPathFor(item).filename().string().size(), 40u);
  EXPECT_EQ(ClaimPathFor(item).parent_path(), "/dst");
  EXPECT_NE(ClaimPathFor("/dst/a"), ClaimPathFor("/dst/b"));
}

TEST(AbandonedFiles, OnlyWhatDeadOrLongSilentRunsLeftIsRemoved) {
  TempDir dir;
  fs::create_directories(dir.Path() / "a" / "b");
  // This process's files: a live run's, to be left alone.
  const fs::path live = TemporaryPathBeside(dir.Path() / "a" / "live.tif");
  WriteBytes(live.string(), "x");
  std::optional<ItemClaim> liveClaim = ItemClaim::Take(dir.Path(), dir.Path() / "a" / "live");
  InProcessThatDies([&] {
    WriteBytes(TemporaryPathBeside(dir.Path() / "a" / "b" / "doc.tif").string(), "x");
    fs::create_directory(TemporaryPathBeside(dir.Path() / "a" / "split"));
    new ItemClaim(*ItemClaim::Take(dir.Path(), dir.Path() / "a" / "doc"));
  });
  // A run's on another host: one it is writing, and one left for a day.
  const std::string remoteTemporary = ".zelk-" + OwnerToken(RemoteOwner()) + "-1.zelk-tmp";
  WriteBytes(dir.File("a/" + remoteTemporary), "x");
  WriteBytes(dir.File("a/b/" + remoteTemporary), "x");
  Backdate(dir.Path() / "a" / "b" / remoteTemporary, std::chrono::hours(25));
  // Names that only look similar.
  WriteBytes(dir.File("a/keep.tif"), "x");
  WriteBytes(dir.File("a/zelk-tmp"), "x");
  WriteBytes(dir.File("a/.zelk-tmp.tif"), "x");
  WriteBytes(dir.File("a/.zelk-nonsense-1.zelk-tmp"), "x");

  // Each directory on its own: "a" holds the dead run's staged directory
  // and claim, "a/b" its file and the remote one left for a day.
  EXPECT_EQ(RemoveAbandonedIn(dir.Path()), 0);
  EXPECT_EQ(RemoveAbandonedIn(dir.Path() / "a"), 2);
  EXPECT_EQ(RemoveAbandonedIn(dir.Path() / "a" / "b"), 2);
  std::vector<std::string> expected = {"a/", "a/.zelk-nonsense-1.zelk-tmp", "a/.zelk-tmp.tif",
                                       "a/" + remoteTemporary,
                                       "a/b/", "a/keep.tif", "a/zelk-tmp",
                                       "a/" + live.filename().string(),
                                       "a/" + ClaimPathFor(dir.Path() / "a" / "live").filename().string()};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(test::TreeOf(dir.Path()), expected);
  EXPECT_EQ(RemoveAbandonedIn(dir.Path() / "missing"), 0);
}

TEST(AbandonedFiles, ADirectoryIsSweptBeforeTheFirstWriteOfEachRunOnly) {
  TempDir dir;
  const fs::path output = dir.Path() / "out" / "doc.pdf";
  const fs::path elsewhere = dir.Path() / "untouched" / "x.pdf";
  fs::create_directories(output.parent_path());
  fs::create_directories(elsewhere.parent_path());
  // A run that dies with a temporary file beside `final`.
  auto leaveAbandoned = [](const fs::path& final) {
    InProcessThatDies([&] { WriteBytes(TemporaryPathBeside(final).string(), "x"); });
  };
  auto temporariesBeside = [](const fs::path& final) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(final.parent_path())) {
      count += IsTemporaryOutput(entry.path().filename().string());
    }
    return count;
  };
  auto write = [&dir, &output] { OutputTransaction(dir.Path()).Add(output.string(), false); };

  ForgetSweptDirectories();  // a run begins
  leaveAbandoned(output);
  leaveAbandoned(elsewhere);
  write();
  EXPECT_EQ(temporariesBeside(output), 0) << "swept before the first write there";
  EXPECT_EQ(temporariesBeside(elsewhere), 1) << "nothing is written there";
  leaveAbandoned(output);
  write();
  EXPECT_EQ(temporariesBeside(output), 1) << "once a run";
  ForgetSweptDirectories();
  write();
  EXPECT_EQ(temporariesBeside(output), 0) << "the next run sweeps again";
}

}  // namespace
}  // namespace zelk
