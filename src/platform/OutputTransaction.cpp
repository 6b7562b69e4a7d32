#include "platform/OutputTransaction.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <set>

#include "platform/AbandonedFiles.h"
#include "platform/DurableFiles.h"
#include "platform/ProcessOwner.h"

namespace zelk {
namespace fs = std::filesystem;

bool IsTemporaryOutput(std::string_view name) {
  return name.size() > kTemporaryOutputSuffix.size() && name.ends_with(kTemporaryOutputSuffix);
}

fs::path TemporaryPathBeside(const fs::path& finalPath) {
  static std::atomic<unsigned long> counter{0};
  char number[17];
  const auto end = std::to_chars(number, number + sizeof number, ++counter, 16).ptr;
  std::string name = ".zelk-" + OwnerToken(ThisProcess()) + "-" + std::string(number, end);
  name += kTemporaryOutputSuffix;
  return finalPath.parent_path() / name;
}

OutputTransaction::~OutputTransaction() { Discard(); }

std::string OutputTransaction::Add(const std::string& finalPath, bool appendToExisting,
                                   OutputKind kind) {
  const fs::path target(finalPath);
  for (const Output& output : outputs_) {
    if (output.finalPath == target) return output.temporaryPath.string();
  }
  if (target.has_parent_path()) fs::create_directories(target.parent_path());
  SweepBeforeWriting(target.has_parent_path() ? target.parent_path() : fs::path("."));
  Output output{target, TemporaryPathBeside(target), kind};
  std::error_code ec;
  if (appendToExisting && fs::is_regular_file(target, ec)) {
    fs::copy_file(target, output.temporaryPath, fs::copy_options::overwrite_existing);
  }
  outputs_.push_back(output);
  return output.temporaryPath.string();
}

void OutputTransaction::Commit() {
  std::stable_partition(outputs_.begin(), outputs_.end(),
                        [](const Output& output) { return output.kind == OutputKind::Companion; });
  std::set<fs::path> directories;
  for (size_t i = 0; i < outputs_.size(); ++i) {
    const Output& output = outputs_[i];
    std::error_code ec;
    if (!fs::exists(output.temporaryPath, ec)) continue;
    try {
      SyncFile(output.temporaryPath);
      fs::rename(output.temporaryPath, output.finalPath);
    } catch (const fs::filesystem_error&) {
      outputs_.erase(outputs_.begin(), outputs_.begin() + static_cast<long>(i));
      Discard();
      throw;
    }
    directories.insert(output.finalPath.parent_path());
  }
  outputs_.clear();
  for (const fs::path& directory : directories) SyncDirectory(directory);
}

void OutputTransaction::Discard() {
  for (const Output& output : outputs_) {
    std::error_code ignored;
    fs::remove(output.temporaryPath, ignored);
  }
  outputs_.clear();
}

}  // namespace zelk
