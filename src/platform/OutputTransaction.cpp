#include "platform/OutputTransaction.h"

#include <unistd.h>

#include <atomic>

namespace zelk {
namespace fs = std::filesystem;

namespace {

// Unique among the transactions of all running processes, so that two
// items (or two program instances) never share a temporary file.
fs::path TemporaryPathFor(const fs::path& finalPath) {
  static std::atomic<unsigned long> counter{0};
  std::string name = finalPath.filename().string();
  name += "." + std::to_string(::getpid()) + "-" + std::to_string(++counter);
  name += kTemporaryOutputSuffix;
  return finalPath.parent_path() / name;
}

}  // namespace

bool IsTemporaryOutput(std::string_view name) {
  return name.size() > kTemporaryOutputSuffix.size() && name.ends_with(kTemporaryOutputSuffix);
}

OutputTransaction::~OutputTransaction() { Discard(); }

std::string OutputTransaction::Add(const std::string& finalPath, bool appendToExisting) {
  const fs::path target(finalPath);
  for (const Output& output : outputs_) {
    if (output.finalPath == target) return output.temporaryPath.string();
  }
  if (target.has_parent_path()) fs::create_directories(target.parent_path());
  Output output{target, TemporaryPathFor(target)};
  std::error_code ec;
  if (appendToExisting && fs::is_regular_file(target, ec)) {
    fs::copy_file(target, output.temporaryPath, fs::copy_options::overwrite_existing);
  }
  outputs_.push_back(output);
  return output.temporaryPath.string();
}

void OutputTransaction::Commit() {
  for (size_t i = 0; i < outputs_.size(); ++i) {
    std::error_code ec;
    if (!fs::exists(outputs_[i].temporaryPath, ec)) continue;
    fs::rename(outputs_[i].temporaryPath, outputs_[i].finalPath, ec);
    if (ec) {
      outputs_.erase(outputs_.begin(), outputs_.begin() + static_cast<long>(i));
      const Output failed = outputs_.front();
      Discard();
      throw fs::filesystem_error("cannot put the output in place", failed.temporaryPath,
                                 failed.finalPath, ec);
    }
  }
  outputs_.clear();
}

void OutputTransaction::Discard() {
  for (const Output& output : outputs_) {
    std::error_code ignored;
    fs::remove(output.temporaryPath, ignored);
  }
  outputs_.clear();
}

int RemoveTemporaryOutputs(const fs::path& root) {
  int removed = 0;
  std::error_code ec;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code entryError;
    if (!it->is_regular_file(entryError) || it->is_symlink(entryError)) continue;
    if (!IsTemporaryOutput(it->path().filename().string())) continue;
    if (fs::remove(it->path(), entryError)) ++removed;
  }
  return removed;
}

}  // namespace zelk
