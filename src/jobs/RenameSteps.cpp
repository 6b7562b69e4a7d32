#include "jobs/RenameSteps.h"

#include <sys/stat.h>

#include <algorithm>
#include <exception>

#include "filesafety/CommitFence.h"
#include "filesafety/DurableFiles.h"
#include "scan/DirectoryListing.h"

namespace zelk {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

RenameSteps::RenameSteps(std::string directory, std::vector<RenameEntry> entries,
                         RenameStepObserver afterStep)
    : directory_(std::move(directory)),
      entries_(std::move(entries)),
      where_(entries_.size(), At::Old),
      afterStep_(std::move(afterStep)) {}

RenameSteps RenameSteps::Resume(std::string directory, const RenameJournal& journal,
                                RenameStepObserver afterStep) {
  RenameSteps steps(std::move(directory), journal.Entries, std::move(afterStep));
  steps.recorded_ = journal.Phase;
  const bool towardsNew =
      journal.Phase == RenamePhase::ToNew || journal.Phase == RenamePhase::NewToTemporary;
  for (std::size_t k = 0; k < steps.entries_.size(); ++k) {
    if (Exists(steps.PathOf(k, At::Temporary))) {
      steps.where_[k] = At::Temporary;
    } else {
      steps.where_[k] = towardsNew ? At::New : At::Old;
    }
  }
  return steps;
}

std::string RenameSteps::PathOf(std::size_t k, At at) const {
  const RenameEntry& entry = entries_[k];
  switch (at) {
    case At::Old: return JoinPath(directory_, entry.Old);
    case At::Temporary: return JoinPath(directory_, entry.Temporary);
    case At::New: return JoinPath(directory_, entry.New);
  }
  return {};
}

std::string RenameSteps::CurrentPath(std::size_t k) const { return PathOf(k, where_[k]); }

bool RenameSteps::Begin() {
  // Once begun, the renames are finished (by the next run if need be), so
  // the claim is checked before the first one.
  CheckCommitFence();
  if (!CreateRenameJournal(directory_, entries_)) return false;
  recorded_ = RenamePhase::ToTemporary;
  if (afterStep_) afterStep_();
  return true;
}

void RenameSteps::Record(RenamePhase phase) {
  if (recorded_ == phase) return;
  RecordRenamePhase(directory_, phase);
  recorded_ = phase;
}

std::vector<RenameSteps::Refusal> RenameSteps::Move(At from, At to, bool stopAtRefusal) {
  std::vector<Refusal> refusals;
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    if (where_[k] != from) continue;
    if (const int error = RenameWithoutReplacing(PathOf(k, from), PathOf(k, to))) {
      refusals.push_back({k, error});
      if (stopAtRefusal) break;
      continue;
    }
    where_[k] = to;
    if (afterStep_) afterStep_();
  }
  // The next phase's record must not reach the disk before these renames.
  SyncDirectory(directory_);
  return refusals;
}

std::optional<RenameSteps::Refusal> RenameSteps::Forward(RenamePhase phase) {
  const bool toNew = phase == RenamePhase::ToNew;
  Record(phase);
  const std::vector<Refusal> refusals =
      Move(toNew ? At::Temporary : At::Old, toNew ? At::New : At::Temporary, true);
  if (refusals.empty()) return std::nullopt;
  return refusals.front();
}

void RenameSteps::Finish() { RemoveRenameJournal(directory_); }

std::vector<std::size_t> RenameSteps::NotAtOld() const {
  std::vector<std::size_t> stranded;
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    if (where_[k] != At::Old) stranded.push_back(k);
  }
  return stranded;
}

std::vector<std::size_t> RenameSteps::RollBack() {
  // A phase record that cannot be written is no reason to stop: the phase
  // before tells the same of every file's place, and a later run that
  // finds it merely tries the other way first.
  auto record = [this](RenamePhase phase) {
    try {
      Record(phase);
    } catch (const std::exception&) {
    }
  };
  try {
    if (std::find(where_.begin(), where_.end(), At::New) != where_.end()) {
      record(RenamePhase::NewToTemporary);
      if (!Move(At::New, At::Temporary, false).empty()) return NotAtOld();
    }
    record(RenamePhase::TemporaryToOld);
    if (!Move(At::Temporary, At::Old, false).empty()) return NotAtOld();
  } catch (const std::exception&) {
    // The directory could not be synced: the files stay where they are.
    return NotAtOld();
  }
  try {
    RemoveRenameJournal(directory_);
  } catch (const std::exception&) {
    // Every file is back; a journal left over says so to the next run.
  }
  return {};
}

}  // namespace zelk
