#include "filesafety/AbandonedFiles.h"

#include <signal.h>

#include <cerrno>
#include <chrono>
#include <charconv>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "filesafety/FileSystemAge.h"
#include "filesafety/ItemClaim.h"
#include "filesafety/OutputTransaction.h"
#include "filesafety/ProcessOwner.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kTemporaryPrefix = ".zelk-";
constexpr std::chrono::hours kRemoteTemporaryAge{24};

// Temporary names of earlier versions: "<final name>.<pid>-<n>.zelk-tmp",
// written on this host.
bool EarlierOwnerGone(std::string_view name) {
  name.remove_suffix(kTemporaryOutputSuffix.size());
  const std::size_t dash = name.rfind('-');
  const std::size_t dot = dash == std::string_view::npos ? dash : name.rfind('.', dash);
  if (dot == std::string_view::npos) return false;
  long pid = 0;
  const std::string_view digits = name.substr(dot + 1, dash - dot - 1);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// The owner of a temporary output named ".zelk-<token>-<n>.zelk-tmp"
// (the token is all but the last number).
std::optional<OwnerState> OwnerOfTemporary(std::string_view name) {
  if (!IsTemporaryOutput(name) || !name.starts_with(kTemporaryPrefix)) return std::nullopt;
  name.remove_prefix(kTemporaryPrefix.size());
  name.remove_suffix(kTemporaryOutputSuffix.size());
  const std::size_t dash = name.rfind('-');
  if (dash == std::string_view::npos) return std::nullopt;
  return StateOfToken(name.substr(0, dash));
}

// A temporary output of a run on another host, untouched for a day: no
// live run leaves a file it writes alone that long, so its writer was
// killed or its machine lost.
bool RemoteAndLongUntouched(const fs::path& path) {
  return OwnerOfTemporary(path.filename().string()) == OwnerState::Elsewhere &&
         OlderOnItsFileSystem(path, kRemoteTemporaryAge);
}

}  // namespace

bool IsAbandonedTemporaryOutput(const std::string& name) {
  if (!IsTemporaryOutput(name)) return false;
  if (!name.starts_with(kTemporaryPrefix)) return EarlierOwnerGone(name);
  return OwnerOfTemporary(name) == OwnerState::Gone;
}

int RemoveAbandonedIn(const fs::path& directory) {
  int removed = 0;
  std::error_code ec;
  fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code entryError;
    if (it->is_symlink(entryError)) continue;
    if (IsClaimFile(name)) {
      if (it->is_regular_file(entryError) && ClearAbandonedClaim(it->path())) ++removed;
      continue;
    }
    if (!IsAbandonedTemporaryOutput(name) && !RemoteAndLongUntouched(it->path())) continue;
    if (fs::remove_all(it->path(), entryError) > 0) ++removed;
  }
  return removed;
}

namespace {

std::mutex sweptGuard;
std::set<std::string> swept;

}  // namespace

void SweepBeforeWriting(const fs::path& directory) {
  {
    const std::lock_guard<std::mutex> lock(sweptGuard);
    if (!swept.insert(directory.lexically_normal().string()).second) return;
  }
  RemoveAbandonedIn(directory);
}

void ForgetSweptDirectories() {
  const std::lock_guard<std::mutex> lock(sweptGuard);
  swept.clear();
}

}  // namespace zelk
