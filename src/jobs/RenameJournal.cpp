#include "jobs/RenameJournal.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "filesafety/AbandonedFiles.h"
#include "filesafety/DurableFiles.h"
#include "filesafety/OutputTransaction.h"
#include "filesafety/ProcessOwner.h"
#include "platform/Quoting.h"
#include "scan/DirectoryListing.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kMagic = "zelk-rename-journal 1";
constexpr std::string_view kEntryTag = "E";
constexpr std::string_view kPhaseTag = "P";
constexpr std::array<std::string_view, 4> kPhaseNames = {"to-temporary", "to-new",
                                                         "new-to-temporary", "temporary-to-old"};

void AddField(std::string& out, std::string_view field) {
  out += field;
  out += '\0';
}

std::optional<RenamePhase> PhaseNamed(std::string_view name) {
  for (std::size_t k = 0; k < kPhaseNames.size(); ++k) {
    if (kPhaseNames[k] == name) return static_cast<RenamePhase>(k);
  }
  return std::nullopt;
}

// A plain name in the directory: never a path, "." or "..".
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// The NUL-terminated fields of `bytes`; a last field without its NUL was
// torn and is left out.
std::vector<std::string_view> FieldsOf(std::string_view bytes) {
  std::vector<std::string_view> fields;
  for (std::size_t end; (end = bytes.find('\0')) != std::string_view::npos;) {
    fields.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 1);
  }
  return fields;
}

[[noreturn]] void ThrowWriteError(const std::string& what, const fs::path& path) {
  throw fs::filesystem_error(what, path,
                             std::error_code(errno ? errno : EIO, std::generic_category()));
}

void WriteSynced(const fs::path& path, std::string_view bytes) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) ThrowWriteError("cannot write the rename journal", path);
  SyncFile(path);
}

}  // namespace

std::string RenameJournalPath(const std::string& directory) {
  return JoinPath(directory, std::string(kRenameJournalName));
}

std::string EncodeRenamePhase(RenamePhase phase) {
  std::string out;
  AddField(out, kPhaseTag);
  AddField(out, kPhaseNames[static_cast<std::size_t>(phase)]);
  return out;
}

std::string EncodeRenameJournal(const RenameJournal& journal) {
  std::string out;
  AddField(out, kMagic);
  AddField(out, journal.Owner);
  for (const RenameEntry& entry : journal.Entries) {
    AddField(out, kEntryTag);
    AddField(out, entry.Old);
    AddField(out, entry.Temporary);
    AddField(out, entry.New);
  }
  return out + EncodeRenamePhase(journal.Phase);
}

std::optional<RenameJournal> DecodeRenameJournal(std::string_view bytes) {
  const std::vector<std::string_view> fields = FieldsOf(bytes);
  if (fields.size() < 2 || fields[0] != kMagic) return std::nullopt;
  RenameJournal journal;
  journal.Owner = std::string(fields[1]);
  bool phaseSeen = false;
  std::size_t at = 2;
  // Entries, then phase markers; whatever follows the last whole record
  // (a torn or zero-filled tail) ends the journal.
  while (at < fields.size()) {
    if (fields[at] == kEntryTag && !phaseSeen && at + 3 < fields.size()) {
      RenameEntry entry{std::string(fields[at + 1]), std::string(fields[at + 2]),
                        std::string(fields[at + 3])};
      if (!IsPlainName(entry.Old) || !IsPlainName(entry.New) || !IsPlainName(entry.Temporary) ||
          !entry.Temporary.starts_with('.')) {
        return std::nullopt;
      }
      journal.Entries.push_back(std::move(entry));
      at += 4;
    } else if (fields[at] == kPhaseTag && at + 1 < fields.size() && PhaseNamed(fields[at + 1])) {
      journal.Phase = *PhaseNamed(fields[at + 1]);
      phaseSeen = true;
      at += 2;
    } else {
      break;
    }
  }
  if (!phaseSeen) return std::nullopt;
  return journal;
}

bool CreateRenameJournal(const std::string& directory, const std::vector<RenameEntry>& entries) {
  const fs::path journal = RenameJournalPath(directory);
  SweepBeforeWriting(journal.parent_path());
  const fs::path temporary = TemporaryPathBeside(journal);
  try {
    WriteSynced(
        temporary,
        EncodeRenameJournal({DescribeOwner(ThisProcess()), entries, RenamePhase::ToTemporary}));
    if (const int error = RenameWithoutReplacing(temporary.string(), journal.string())) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      if (error == EEXIST) return false;
      throw fs::filesystem_error("cannot put the rename journal in place", journal,
                                 std::error_code(error, std::generic_category()));
    }
  } catch (...) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw;
  }
  SyncDirectory(directory);
  return true;
}

void RecordRenamePhase(const std::string& directory, RenamePhase phase) {
  const fs::path journal = RenameJournalPath(directory);
  // Only ever appended to a journal that is there.
  std::error_code error;
  if (!fs::is_regular_file(fs::symlink_status(journal, error))) {
    throw fs::filesystem_error("the rename journal is missing", journal,
                               std::make_error_code(std::errc::no_such_file_or_directory));
  }
  // Never through a link put in the journal's place since.
  if (!AppendInOneWrite(journal.string(), EncodeRenamePhase(phase))) {
    ThrowWriteError("cannot write the rename journal", journal);
  }
  SyncFile(journal);
}

std::optional<RenameJournal> ReadRenameJournal(const std::string& directory) {
  const fs::path journal = RenameJournalPath(directory);
  std::error_code error;
  const fs::file_status status = fs::symlink_status(journal, error);
  if (status.type() == fs::file_type::not_found) return std::nullopt;
  std::ifstream in(journal, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<RenameJournal> read;
  if (fs::is_regular_file(status) && in) read = DecodeRenameJournal(bytes);
  if (!read) throw std::runtime_error("无法读取更名记录" + Quoted(journal.string()));
  return read;
}

void RemoveRenameJournal(const std::string& directory) {
  fs::remove(RenameJournalPath(directory));
  SyncDirectory(directory);
}

}  // namespace zelk
