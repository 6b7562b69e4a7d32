#include "filesafety/ItemClaim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <sstream>

#include "filesafety/AbandonedFiles.h"
#include "filesafety/ClaimHeartbeat.h"
#include "filesafety/CreatedDirectories.h"
#include "filesafety/DirectoryBeneath.h"
#include "filesafety/DurableFiles.h"
#include "filesafety/FileSystemAge.h"
#include "filesafety/OutputTransaction.h"
#include "filesafety/ProcessOwner.h"
#include "platform/FileText.h"
#include "platform/StableHash.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kClaimPrefix = ".zelk-claim-";
constexpr std::string_view kTakeoverSuffix = ".stale";
// A claim without a readable owner can only come from a file system without
// hard links, its writer killed between creating and writing it (or from
// damage); after this long it is taken for abandoned.
constexpr auto kUnreadableClaimAge = std::chrono::minutes(2);

// Creates `claim` exclusively and writes `content` into it.  Returns 0 or
// the errno value (EEXIST when the claim exists).
int CreateAndWrite(const fs::path& claim, const std::string& content) {
  const int fd = ::open(claim.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  const bool written = WriteAllBytes(fd, content);
  const int error = errno;
  ::close(fd);
  if (written) return 0;
  ::unlink(claim.c_str());
  return error;
}

// Puts a claim holding `content` at `claim`, never replacing one.  The text
// is written whole under a temporary name and then linked to the claim's
// name, so a run killed at any instant never leaves a claim without its
// owner (which others would have to take for live).  A link over NFS may
// report failure when its reply was lost: the link count tells.  On a file
// system without hard links the claim is created and written in place.
// Returns 0 or the errno value (EEXIST when the item is claimed).
int PlaceClaim(const fs::path& claim, const std::string& content) {
  const fs::path temporary = TemporaryPathBeside(claim);
  if (const int error = CreateAndWrite(temporary, content)) return error;
  int result = ::link(temporary.c_str(), claim.c_str()) == 0 ? 0 : errno;
  if (result == EPERM || result == ENOSYS || result == EOPNOTSUPP) {
    result = CreateAndWrite(claim, content);
  } else if (result != 0 && result != EEXIST) {
    struct stat info {};
    if (::stat(temporary.c_str(), &info) == 0 && info.st_nlink == 2) result = 0;
  }
  ::unlink(temporary.c_str());
  return result;
}

// 64 random bits in hex, new for every claim.
std::string FencingValue() {
  static thread_local std::mt19937_64 generator{std::random_device{}()};
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
  return text;
}

enum class Holder { Live, Abandoned, Missing };

// A claim of this host is abandoned when its process is gone; one of
// another host when it has not been refreshed for kRemoteClaimStaleAge
// (ClaimHeartbeat.h).
Holder Judge(const fs::path& claim, std::string& content) {
  const std::optional<std::string> text = ReadFileText(claim);
  if (!text) return Holder::Missing;
  content = *text;
  const std::optional<ProcessOwner> owner = ParseOwner(content);
  if (!owner) {
    return OlderOnItsFileSystem(claim, kUnreadableClaimAge) ? Holder::Abandoned : Holder::Live;
  }
  switch (StateOf(*owner)) {
    case OwnerState::Alive: return Holder::Live;
    case OwnerState::Gone: return Holder::Abandoned;
    case OwnerState::Elsewhere:
      return OlderOnItsFileSystem(claim, kRemoteClaimStaleAge) ? Holder::Abandoned : Holder::Live;
  }
  return Holder::Live;
}

// Removes an abandoned claim whose text was `seen`.  Two runs may find the
// same abandoned claim at once, and the one that is faster may already
// have put a claim of its own in its place: so the claim is first moved
// aside (only one run can move a given file), and when what was moved
// turns out not to be the abandoned claim it is put back.
void RemoveAbandoned(const fs::path& claim, const std::string& seen) {
  fs::path aside = claim;
  aside += "." + OwnerToken(ThisProcess()) + std::string(kTakeoverSuffix);
  if (::rename(claim.c_str(), aside.c_str()) != 0) return;
  const std::optional<std::string> moved = ReadFileText(aside);
  if (moved && *moved != seen) {
    // Another run's fresh claim: back under its name, unless a third run
    // has claimed the item in the meantime.
    if (::link(aside.c_str(), claim.c_str()) != 0 && errno != EEXIST) return;
  }
  ::unlink(aside.c_str());
}

}  // namespace

bool IsClaimFile(std::string_view name) { return name.starts_with(kClaimPrefix); }

fs::path ClaimPathFor(const fs::path& itemPath) {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx",
                static_cast<unsigned long long>(StableHash(itemPath.filename().string())));
  return itemPath.parent_path() / (std::string(kClaimPrefix) + hash);
}

std::optional<ItemClaim> ItemClaim::Take(const fs::path& root, const fs::path& itemPath,
                                         std::string* holder) {
  const fs::path claim = ClaimPathFor(itemPath);
  const fs::path created = HighestMissingDirectory(claim.parent_path());
  DirectoryBeneath::Open(root, claim.parent_path(), true);
  SweepBeforeWriting(claim.parent_path());
  const std::string content = DescribeOwner(ThisProcess()) + "fence=" + FencingValue() + "\n";
  // A few rounds: each either claims, finds a live holder, or clears an
  // abandoned claim and tries again.
  for (int round = 0; round < 4; ++round) {
    const int error = PlaceClaim(claim, content);
    if (error == 0) {
      KeepClaimFresh(claim, content);
      return ItemClaim(claim, content, created);
    }
    if (error != EEXIST) {
      throw fs::filesystem_error("cannot claim the item", claim,
                                 std::error_code(error, std::generic_category()));
    }
    std::string seen;
    switch (Judge(claim, seen)) {
      case Holder::Live:
        if (holder != nullptr) *holder = seen;
        return std::nullopt;
      case Holder::Abandoned: RemoveAbandoned(claim, seen); break;
      case Holder::Missing: break;  // released meanwhile: try again
    }
  }
  if (holder != nullptr) holder->clear();
  return std::nullopt;
}

ItemClaim::ItemClaim(fs::path path, std::string content, fs::path created)
    : path_(std::move(path)), content_(std::move(content)), created_(std::move(created)) {}

ItemClaim::ItemClaim(ItemClaim&& other) noexcept
    : path_(std::move(other.path_)),
      content_(std::move(other.content_)),
      created_(std::move(other.created_)) {
  other.path_.clear();
}

ItemClaim& ItemClaim::operator=(ItemClaim&& other) noexcept {
  if (this != &other) {
    Release();
    path_ = std::move(other.path_);
    content_ = std::move(other.content_);
    created_ = std::move(other.created_);
    other.path_.clear();
  }
  return *this;
}

ItemClaim::~ItemClaim() { Release(); }

bool ItemClaim::StillHeld() const {
  return !path_.empty() && ReadFileText(path_) == content_;
}

void ItemClaim::Release() {
  if (path_.empty()) return;
  StopKeepingClaimFresh(path_);
  // Only this run's own claim goes: one that was taken over after this
  // process was wrongly thought dead belongs to someone else now.
  if (ReadFileText(path_) == content_) ::unlink(path_.c_str());
  RemoveEmptyDirectories(path_.parent_path(), created_);
  path_.clear();
}

bool ClearAbandonedClaim(const fs::path& claim) {
  std::string seen;
  if (Judge(claim, seen) != Holder::Abandoned) return false;
  RemoveAbandoned(claim, seen);
  return true;
}

}  // namespace zelk
