#include "jobs/RenameInPlace.h"

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <optional>

#include "filesafety/ItemClaim.h"
#include "filesafety/ProcessOwner.h"
#include "platform/Quoting.h"
#include "scan/DirectoryListing.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

using At = RenameSteps::At;

constexpr std::size_t kNamesListed = 10;

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// A temporary name of this process that is free in `directory`.
std::string FreshTemporaryName(const std::string& directory) {
  static std::atomic<unsigned long> counter{0};
  for (;;) {
    char number[17];
    const auto end = std::to_chars(number, number + sizeof number, ++counter, 16).ptr;
    std::string name =
        ".zelk-" + OwnerToken(ThisProcess()) + "-r" + std::string(number, end) + kRenamingSuffix;
    if (!Exists(JoinPath(directory, name))) return name;
  }
}

// A name an earlier version gave a file while renaming it, "<old
// name>.zelk-renaming" with a number after it or not.  Renaming such a file
// again would lose its extension for good.
bool IsEarlierTemporaryName(const std::string& name) {
  const std::size_t at = name.rfind(kRenamingSuffix);
  if (at == std::string::npos) return false;
  for (std::size_t k = at + std::strlen(kRenamingSuffix); k < name.size(); ++k) {
    if (name[k] < '0' || name[k] > '9') return false;
  }
  return true;
}

std::string ListOfNames(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t k = 0; k < names.size() && k < kNamesListed; ++k) {
    list += (k > 0 ? "、" : "") + Quoted(names[k]);
  }
  if (names.size() > kNamesListed) list += "等" + std::to_string(names.size()) + "个文件";
  return list;
}

void RefuseEarlierTemporaryNames(const std::vector<NameChange>& changes) {
  std::vector<std::string> leftovers;
  for (const NameChange& change : changes) {
    if (IsEarlierTemporaryName(change.From)) leftovers.push_back(change.From);
  }
  if (leftovers.empty()) return;
  throw RenameError("目录中有此前中断的更名留下的文件，请先去掉其名称末尾的“" +
                    std::string(kRenamingSuffix) + "”恢复原名：" + ListOfNames(leftovers));
}

std::string StepFailure(const std::string& from, const std::string& to, int error) {
  if (error == EEXIST) return "无法更名：" + Quoted(to) + "已存在";
  return "无法将" + Quoted(from) + "更名为" + Quoted(to) + "：" + std::strerror(error);
}

// The files that stayed away from their old names, each with its present
// and its old name.
std::string StrandedFiles(const RenameSteps& steps, const std::vector<std::size_t>& stranded) {
  std::vector<std::string> names;
  for (const std::size_t k : stranded) {
    names.push_back(steps.CurrentPath(k) + "（原名" + steps.Entry(k).Old + "）");
  }
  return ListOfNames(names);
}

[[noreturn]] void RollBackAndThrow(RenameSteps& steps, std::string reason) {
  const std::vector<std::size_t> stranded = steps.RollBack();
  if (!stranded.empty()) reason += "；以下文件未能恢复原名：" + StrandedFiles(steps, stranded);
  throw RenameError(reason);
}

// Both forward phases; the reason of the first refused step, or empty.
std::string MoveForward(RenameSteps& steps) {
  for (const RenamePhase phase : {RenamePhase::ToTemporary, RenamePhase::ToNew}) {
    if (const auto refusal = steps.Forward(phase)) {
      const At to = phase == RenamePhase::ToNew ? At::New : At::Temporary;
      return StepFailure(steps.PathOf(refusal->Entry, At::Old), steps.PathOf(refusal->Entry, to),
                         refusal->Error);
    }
  }
  return {};
}

std::optional<RenameJournal> ReadJournal(const std::string& directory) {
  try {
    return ReadRenameJournal(directory);
  } catch (const std::exception& error) {
    throw RenameError(error.what());
  }
}

// Finishes the journal's rename when it was moving files to their new
// names and every one of them can take it; otherwise undoes it.
void Settle(const std::string& directory, const RenameJournal& journal,
            const RenameStepObserver& afterStep) {
  RenameSteps steps = RenameSteps::Resume(directory, journal, afterStep);
  if (journal.Phase == RenamePhase::ToNew) {
    try {
      if (!steps.Forward(RenamePhase::ToNew)) {
        steps.Finish();
        return;
      }
    } catch (const std::exception&) {
      // Undone below instead.
    }
  }
  const std::vector<std::size_t> stranded = steps.RollBack();
  if (stranded.empty()) return;
  throw RenameError("目录" + Quoted(directory) + "中此前中断的更名既无法完成也无法撤销，更名记录" +
                    Quoted(RenameJournalPath(directory)) + "已保留；以下文件未能恢复原名：" +
                    StrandedFiles(steps, stranded));
}

bool IsThisProcess(const ProcessOwner& owner) {
  const ProcessOwner& self = ThisProcess();
  return owner.Host == self.Host && owner.Pid == self.Pid && owner.StartTicks == self.StartTicks;
}

}  // namespace

void RenameFilesInPlace(const std::string& directory, const std::vector<NameChange>& changes,
                        const RenameStepObserver& afterStep) {
  RefuseEarlierTemporaryNames(changes);
  std::vector<RenameEntry> entries;
  for (const NameChange& change : changes) {
    if (change.From == change.To) continue;
    entries.push_back({change.From, FreshTemporaryName(directory), change.To});
  }
  if (entries.empty()) return;
  RenameSteps steps(directory, std::move(entries), afterStep);
  bool begun = false;
  try {
    begun = steps.Begin();
  } catch (const std::exception& error) {
    throw RenameError("无法写入更名记录：" + std::string(error.what()));
  }
  if (!begun) {
    throw RenameError("目录" + Quoted(directory) + "中已有未完成的更名记录" +
                      Quoted(RenameJournalPath(directory)));
  }
  std::string reason;
  try {
    reason = MoveForward(steps);
  } catch (const std::exception& error) {
    reason = error.what();
  }
  if (!reason.empty()) RollBackAndThrow(steps, reason);
  steps.Finish();
}

void FinishInterruptedRename(const std::string& directory, const RenameStepObserver& afterStep) {
  const std::optional<RenameJournal> journal = ReadJournal(directory);
  if (!journal) return;
  const std::optional<ProcessOwner> owner = ParseOwner(journal->Owner);
  if (!owner) {
    throw RenameError("更名记录" + Quoted(RenameJournalPath(directory)) + "未写明所属进程");
  }
  if (!IsThisProcess(*owner) && StateOf(*owner) != OwnerState::Gone) {
    throw RenameError("目录" + Quoted(directory) + "正由另一进程更名（主机" + owner->Host +
                      "，进程" + std::to_string(owner->Pid) + "）");
  }
  Settle(directory, *journal, afterStep);
}

void RefuseUnfinishedRename(const std::string& directory) {
  if (!Exists(RenameJournalPath(directory))) return;
  throw RenameError("目录" + Quoted(directory) +
                    "中有未完成的原地更名，部分文件暂用隐藏的临时名称；请先不设输出目录再次更名，"
                    "以完成或撤销它");
}

int RecoverInterruptedRenames(const std::string& root) {
  std::vector<std::string> directories;
  std::error_code ec;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code entryError;
    if (it->path().filename() == kRenameJournalName && it->is_regular_file(entryError) &&
        !it->is_symlink(entryError)) {
      directories.push_back(it->path().parent_path().string());
    }
  }
  int settled = 0;
  for (const std::string& directory : directories) {
    try {
      const std::optional<RenameJournal> journal = ReadRenameJournal(directory);
      const std::optional<ProcessOwner> owner = journal ? ParseOwner(journal->Owner) : std::nullopt;
      if (!owner || StateOf(*owner) != OwnerState::Gone) continue;
      std::optional<ItemClaim> claim = ItemClaim::Take(root, directory);
      if (!claim) continue;
      // Read again under the claim: another run may have settled it.
      FinishInterruptedRename(directory);
      ++settled;
    } catch (const std::exception&) {
      // Stays; the directory's item reports why.
    }
  }
  return settled;
}

}  // namespace zelk
