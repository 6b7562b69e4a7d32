#pragma once
// The record of one directory's rename in progress, kept in that directory
// while its files change names, so that a run killed at any step (SIGKILL,
// a power cut) can be finished or undone by the next run.
//
// The journal names its owner (ProcessOwner.h) and every file's old,
// temporary and new name, and then the phases the rename went through,
// each appended and synced before the phase's first step.  Fields are
// separated by NUL bytes, the one byte besides '/' that no file name holds,
// so names with newlines, tabs or any other byte come back as they were.
// The journal is written under a temporary name, synced and renamed into
// place; an appended marker torn by a power cut is read as absent, which
// is right, since no step of its phase was taken before it was synced.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

inline constexpr std::string_view kRenameJournalName = ".zelk-rename-journal";

// The phases of a rename, in the order they are recorded.  Between two
// phases the directory is synced, so a recorded phase tells where each
// file is: in ToTemporary and TemporaryToOld a file not at its temporary
// name is at its old one, in ToNew and NewToTemporary at its new one.
enum class RenamePhase {
  ToTemporary,     // old names to temporary names
  ToNew,           // temporary names to new names
  NewToTemporary,  // undoing: new names back to temporary names
  TemporaryToOld,  // undoing: temporary names back to old names
};

// One file's names, all in the journal's directory.
struct RenameEntry {
  std::string Old;
  std::string Temporary;
  std::string New;
  bool operator==(const RenameEntry&) const = default;
};

struct RenameJournal {
  std::string Owner;  // DescribeOwner() of the process that renames
  std::vector<RenameEntry> Entries;
  RenamePhase Phase = RenamePhase::ToTemporary;  // the last phase recorded
};

std::string RenameJournalPath(const std::string& directory);

// The journal as stored, and back.  A journal records at least its first
// phase; text that is no journal gives nullopt.
std::string EncodeRenameJournal(const RenameJournal& journal);
std::string EncodeRenamePhase(RenamePhase phase);
std::optional<RenameJournal> DecodeRenameJournal(std::string_view bytes);

// Puts the journal of `entries` in phase ToTemporary into `directory`,
// owned by this process, durably.  Returns false, writing nothing, when the
// directory already holds a journal.  Throws std::filesystem_error.
bool CreateRenameJournal(const std::string& directory, const std::vector<RenameEntry>& entries);

// Appends a synced marker of `phase` to the directory's journal.  Throws
// std::filesystem_error.
void RecordRenamePhase(const std::string& directory, RenamePhase phase);

// The directory's journal; nullopt when there is none.  Throws
// std::runtime_error when one is there but cannot be read.
std::optional<RenameJournal> ReadRenameJournal(const std::string& directory);

// Removes the journal and syncs the directory.  Throws
// std::filesystem_error.
void RemoveRenameJournal(const std::string& directory);

}  // namespace zelk
