#include "jobs/RenameInPlace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/DurableFiles.h"
#include "platform/Quoting.h"
#include "scan/DirectoryListing.h"

namespace zelk {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// One file's way from its old name through a temporary name to its new one.
struct Move {
  std::string Old;
  std::string Temporary;
  std::string New;
  enum class At { Old, Temporary, New } Where = At::Old;
};

// A free temporary name beside `path`.
std::string TemporaryNameFor(const std::string& path) {
  std::string candidate = path + kRenamingSuffix;
  for (int n = 2; Exists(candidate); ++n) {
    candidate = path + kRenamingSuffix + std::to_string(n);
  }
  return candidate;
}

// Puts every moved file back under its old name; returns the names that
// could not be put back.
std::vector<std::string> PutBack(std::vector<Move>& moves) {
  std::vector<std::string> stranded;
  for (auto move = moves.rbegin(); move != moves.rend(); ++move) {
    if (move->Where == Move::At::Old) continue;
    const std::string& now = move->Where == Move::At::New ? move->New : move->Temporary;
    if (RenameWithoutReplacing(now, move->Old) == 0) {
      move->Where = Move::At::Old;
    } else {
      stranded.push_back(now);
    }
  }
  return stranded;
}

[[noreturn]] void Fail(std::vector<Move>& moves, std::string reason) {
  const std::vector<std::string> stranded = PutBack(moves);
  if (!stranded.empty()) {
    reason += "；以下文件未能恢复原名：";
    for (std::size_t i = 0; i < stranded.size(); ++i) {
      reason += (i > 0 ? "、" : "") + stranded[i];
    }
  }
  throw RenameError(reason);
}

std::string StepFailure(const std::string& from, const std::string& to, int error) {
  if (error == EEXIST) return "无法更名：" + Quoted(to) + "已存在";
  return "无法将" + Quoted(from) + "更名为" + Quoted(to) + "：" + std::strerror(error);
}

}  // namespace

void RenameFilesInPlace(const std::string& directory, const std::vector<NameChange>& changes) {
  std::vector<Move> moves;
  for (const NameChange& change : changes) {
    if (change.From == change.To) continue;
    moves.push_back({JoinPath(directory, change.From), {}, JoinPath(directory, change.To)});
  }
  for (Move& move : moves) {
    move.Temporary = TemporaryNameFor(move.Old);
    if (const int error = RenameWithoutReplacing(move.Old, move.Temporary)) {
      Fail(moves, StepFailure(move.Old, move.Temporary, error));
    }
    move.Where = Move::At::Temporary;
  }
  for (Move& move : moves) {
    if (const int error = RenameWithoutReplacing(move.Temporary, move.New)) {
      Fail(moves, StepFailure(move.Old, move.New, error));
    }
    move.Where = Move::At::New;
  }
}

}  // namespace zelk
