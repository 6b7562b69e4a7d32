#include "jobs/RenameInPlace.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "filesafety/ProcessOwner.h"
#include "jobs/KilledChild_helpers.h"
#include "jobs/RenameJournal.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

// A 250-byte name: with the old "<name>.zelk-renaming" it could not have
// had a temporary name at all.
const std::string kLongName = std::string(246, 'x') + ".tif";
const std::string kLongNewName = std::string(246, 'y') + ".png";

// Names with a newline, a tab and 250 bytes, and two files that swap
// their names.
const std::vector<NameChange> kChanges = {
    {"a.tif", "b.tif"},
    {"b.tif", "a.tif"},
    {"line\nbreak.tif", "A001.tif"},
    {"tab\there.jpg", "A\t002.jpg"},
    {kLongName, "A003.tif"},
    {"c.png", kLongNewName},
};

// Every entry of a directory (hidden ones too) with its content.
std::map<std::string, std::string> Contents(const fs::path& directory) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::directory_iterator(directory)) {
    contents[entry.path().filename().string()] =
        entry.is_symlink() ? "link" : ReadBytes(entry.path());
  }
  return contents;
}

// Each file's content is its old name.
std::map<std::string, std::string> OldState() {
  std::map<std::string, std::string> state;
  for (const NameChange& change : kChanges) state[change.From] = change.From;
  return state;
}

std::map<std::string, std::string> NewState() {
  std::map<std::string, std::string> state;
  for (const NameChange& change : kChanges) state[change.To] = change.From;
  return state;
}

class RenameInPlaceTest : public ::testing::Test {
 protected:
  void SetUp() override { Fill(); }

  void Fill() {
    fs::remove_all(directory_);
    fs::create_directories(directory_);
    for (const NameChange& change : kChanges) {
      WriteBytes(directory_ + "/" + change.From, change.From);
    }
  }

  // Renames in a child killed at step `killAt` (the journal is step 1).
  bool KillRenameAt(int killAt) {
    return test::KilledAtStep(killAt, [this](const std::function<void()>& step) {
      RenameFilesInPlace(directory_, kChanges, step);
    });
  }

  // The reason RenameFilesInPlace gives for refusing `changes`.
  std::string RenameFailure(const std::vector<NameChange>& changes) {
    try {
      RenameFilesInPlace(directory_, changes);
    } catch (const RenameError& error) {
      return error.what();
    }
    ADD_FAILURE() << "renamed";
    return {};
  }

  // Puts a link to nowhere at `name`: a name the listing does not show,
  // which no rename step may replace.
  void Block(const std::string& name) {
    fs::create_symlink(dir_.File("nowhere"), directory_ + "/" + name);
  }

  test::TempDir dir_;
  std::string directory_ = dir_.File("pages");
};

constexpr int kFiles = 6;
constexpr int kSteps = 1 + 2 * kFiles;  // the journal, then two renames per file

TEST_F(RenameInPlaceTest, RenamesEveryFileAndLeavesNothingElse) {
  RenameFilesInPlace(directory_, kChanges);
  EXPECT_EQ(Contents(directory_), NewState());
}

TEST_F(RenameInPlaceTest, AKillAtAnyStepEndsWithAllOldOrAllNewNames) {
  for (int k = 1; k <= kSteps + 1; ++k) {
    SCOPED_TRACE("killed at step " + std::to_string(k));
    Fill();
    EXPECT_EQ(KillRenameAt(k), k <= kSteps);
    FinishInterruptedRename(directory_);
    // Until the last file has its temporary name the rename is undone;
    // from then on it is finished.
    EXPECT_EQ(Contents(directory_), k <= 1 + kFiles ? OldState() : NewState());
  }
}

TEST_F(RenameInPlaceTest, ARefusedStepPutsEveryFileBackEvenWhenKilledWhileDoingSo) {
  // The third file's new name is taken: the swapped pair has its new names
  // by then and must go back through the temporary names.
  std::map<std::string, std::string> old = OldState();
  old["A001.tif"] = "link";
  Fill();
  Block("A001.tif");
  EXPECT_NE(RenameFailure(kChanges).find("A001.tif”已存在"), std::string::npos);
  EXPECT_EQ(Contents(directory_), old);

  // The journal, six temporary names, two new names, two back and six back.
  const int steps = 1 + kFiles + 2 + 2 + kFiles;
  for (int k = 1; k <= steps + 1; ++k) {
    SCOPED_TRACE("killed at step " + std::to_string(k));
    Fill();
    Block("A001.tif");
    EXPECT_EQ(KillRenameAt(k), k <= steps);
    // Recovery of a kill while moving to the new names meets the same
    // refusal and undoes the rename instead.
    FinishInterruptedRename(directory_);
    EXPECT_EQ(Contents(directory_), old);
  }
}

TEST_F(RenameInPlaceTest, FilesThatCanGoNeitherWayKeepTheJournalAndAreNamed) {
  ASSERT_TRUE(KillRenameAt(1 + kFiles + 2));  // the swapped pair at their new names
  // Both names of the third file are taken meanwhile.
  WriteBytes(directory_ + "/A001.tif", "stranger");
  WriteBytes(directory_ + "/line\nbreak.tif", "stranger");
  try {
    FinishInterruptedRename(directory_);
    ADD_FAILURE() << "settled";
  } catch (const RenameError& error) {
    EXPECT_NE(std::string(error.what()).find("line\nbreak.tif"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find(kRenameJournalName), std::string::npos);
  }
  ASSERT_TRUE(fs::exists(RenameJournalPath(directory_)));
  EXPECT_EQ(RecoverInterruptedRenames(dir_.Path().string()), 0);

  // Once the way back is free, the next attempt puts everything back.
  fs::remove(directory_ + "/line\nbreak.tif");
  FinishInterruptedRename(directory_);
  std::map<std::string, std::string> old = OldState();
  old["A001.tif"] = "stranger";
  EXPECT_EQ(Contents(directory_), old);
}

// Gives the journal in `directory` another owner.
void SetJournalOwner(const std::string& directory, const ProcessOwner& owner) {
  std::optional<RenameJournal> journal = ReadRenameJournal(directory);
  ASSERT_TRUE(journal);
  journal->Owner = DescribeOwner(owner);
  WriteBytes(RenameJournalPath(directory), EncodeRenameJournal(*journal));
}

TEST_F(RenameInPlaceTest, OnlyJournalsOfGoneOwnersAreSettledBeforeTheScan) {
  const std::string root = dir_.Path().string();
  const std::string live = dir_.File("box/live");
  const std::string remote = dir_.File("box/remote");
  const std::string dead = dir_.File("box/deeper/dead");
  for (const std::string& place : {live, remote, dead}) {
    directory_ = place;
    Fill();
    ASSERT_TRUE(KillRenameAt(1 + kFiles + 1));  // moving to the new names
  }
  const pid_t sleeper = ::fork();
  if (sleeper == 0) {
    ::pause();
    ::_exit(0);
  }
  SetJournalOwner(live, {ThisProcess().Host, static_cast<long>(sleeper), 0});
  SetJournalOwner(remote, {"another-host.invalid", 1, 1});

  EXPECT_EQ(RecoverInterruptedRenames(root), 1);
  EXPECT_EQ(Contents(dead), NewState());
  for (const std::string& place : {live, remote}) {
    EXPECT_TRUE(fs::exists(RenameJournalPath(place)));
    EXPECT_THROW(FinishInterruptedRename(place), RenameError);
  }

  ::kill(sleeper, SIGKILL);
  ::waitpid(sleeper, nullptr, 0);
  EXPECT_EQ(RecoverInterruptedRenames(root), 1);
  EXPECT_EQ(Contents(live), NewState());
  EXPECT_TRUE(fs::exists(RenameJournalPath(remote)));
}

TEST_F(RenameInPlaceTest, NamesAnEarlierVersionLeftMidwayAreNeverRenamed) {
  fs::remove_all(directory_);
  fs::create_directories(directory_);
  WriteBytes(directory_ + "/A01234.zelk-renaming", "page");
  WriteBytes(directory_ + "/y.tif.zelk-renaming2", "page");
  WriteBytes(directory_ + "/z.tif", "page");
  for (const char* leftover : {"A01234.zelk-renaming", "y.tif.zelk-renaming2"}) {
    SCOPED_TRACE(leftover);
    const std::string reason =
        RenameFailure({{"z.tif", "A001.tif"}, {leftover, "A002.zelk-renaming"}});
    EXPECT_NE(reason.find(leftover), std::string::npos) << reason;
  }
  EXPECT_EQ(test::EntryCount(directory_), 3);
  EXPECT_TRUE(fs::exists(directory_ + "/z.tif"));
}

}  // namespace
}  // namespace zelk
