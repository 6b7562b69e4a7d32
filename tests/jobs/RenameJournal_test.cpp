#include "jobs/RenameJournal.h"

#include <gtest/gtest.h>

#include <string>

#include "filesafety/ProcessOwner.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

using namespace std::string_literals;

// Names holding every byte a file name may hold: newlines, tabs, bytes
// above 127, and 250 of them.
RenameJournal OddJournal() {
  std::string everyByte;
  for (int c = 1; c < 256; ++c) {
    if (c != '/') everyByte += static_cast<char>(c);
  }
  return {DescribeOwner(ThisProcess()),
          {{"line\nbreak.tif", ".zelk-t-r1.zelk-renaming", "A001.tif"},
           {"tab\there.jpg", ".zelk-t-r2.zelk-renaming", "A\t002.jpg"},
           {std::string(246, 'x') + ".tif", ".zelk-t-r3.zelk-renaming", "A003.tif"},
           {everyByte.substr(0, 200), ".zelk-t-r4.zelk-renaming", everyByte.substr(55)}},
          RenamePhase::ToTemporary};
}

TEST(RenameJournalTest, NamesOfAnyBytesComeBackAsTheyWere) {
  const RenameJournal journal = OddJournal();
  const auto read = DecodeRenameJournal(EncodeRenameJournal(journal));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Owner, journal.Owner);
  EXPECT_EQ(read->Entries, journal.Entries);
  EXPECT_EQ(read->Phase, RenamePhase::ToTemporary);
}

TEST(RenameJournalTest, TheLastWholePhaseMarkerCounts) {
  const std::string start = EncodeRenameJournal(OddJournal());
  const std::string toNew = EncodeRenamePhase(RenamePhase::ToNew);
  const std::string back = EncodeRenamePhase(RenamePhase::NewToTemporary);
  struct Case {
    const char* what;
    std::string bytes;
    RenamePhase phase;
  };
  const std::vector<Case> cases = {
      {"one appended", start + toNew, RenamePhase::ToNew},
      {"two appended", start + toNew + back, RenamePhase::NewToTemporary},
      // A power cut while a marker was appended: a torn marker, or a tail
      // of zeros where the data never reached the disk.
      {"torn marker", start + toNew + back.substr(0, 5), RenamePhase::ToNew},
      {"zero-filled tail", start + toNew + std::string(back.size(), '\0'), RenamePhase::ToNew},
      {"unknown phase", start + "P\0sideways\0"s, RenamePhase::ToTemporary},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto read = DecodeRenameJournal(c.bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Phase, c.phase);
    EXPECT_EQ(read->Entries.size(), 4u);
  }
}

TEST(RenameJournalTest, WhatCannotBeTrustedIsNoJournal) {
  RenameJournal outside = OddJournal();
  outside.Entries[1].New = "../escape.tif";
  RenameJournal visibleTemporary = OddJournal();
  visibleTemporary.Entries[0].Temporary = "A002.tif";
  const std::string whole = EncodeRenameJournal(OddJournal());
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"empty", ""},
      {"another file", "host=a\npid=1\n"},
      {"a name with a separator", EncodeRenameJournal(outside)},
      {"a temporary name that is not hidden", EncodeRenameJournal(visibleTemporary)},
      {"no phase recorded", whole.substr(0, whole.size() - EncodeRenamePhase({}).size())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(DecodeRenameJournal(c.bytes));
  }
}

TEST(RenameJournalTest, WrittenOnceAppendedAndRemoved) {
  test::TempDir dir;
  const std::string directory = dir.Path().string();
  EXPECT_FALSE(ReadRenameJournal(directory));
  const RenameJournal journal = OddJournal();
  ASSERT_TRUE(CreateRenameJournal(directory, journal.Entries));
  // A second rename of the directory does not start over a journal.
  EXPECT_FALSE(CreateRenameJournal(directory, {}));
  RecordRenamePhase(directory, RenamePhase::ToNew);
  const auto read = ReadRenameJournal(directory);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Entries, journal.Entries);
  EXPECT_EQ(read->Phase, RenamePhase::ToNew);
  EXPECT_EQ(ParseOwner(read->Owner)->Pid, ThisProcess().Pid);
  EXPECT_EQ(test::EntryCount(dir.Path()), 1);  // no temporary file left

  test::WriteBytes(RenameJournalPath(directory), "garbage");
  EXPECT_THROW(ReadRenameJournal(directory), std::runtime_error);
  RemoveRenameJournal(directory);
  EXPECT_EQ(test::EntryCount(dir.Path()), 0);
  EXPECT_THROW(RecordRenamePhase(directory, RenamePhase::ToNew), std::filesystem::filesystem_error);
}

}  // namespace
}  // namespace zelk
