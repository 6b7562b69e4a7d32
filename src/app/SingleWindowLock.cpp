#include "app/SingleWindowLock.h"

#include "app/WindowSummons.h"

#include <filesystem>

namespace zelk {

namespace {

std::string LockPathIn(const std::string& settingsDir) {
  return (std::filesystem::path(settingsDir) / kWindowLockFileName).string();
}

}  // namespace

SingleWindowLock::SingleWindowLock(const std::string& settingsDir)
    : path_(LockPathIn(settingsDir)), lock_(QString::fromStdString(path_)) {
  // Age alone never makes the lock stale: a window runs for weeks.
  lock_.setStaleLockTime(0);
}

SingleWindowLock::Outcome SingleWindowLock::TryAcquire() {
  if (lock_.isLocked() || lock_.tryLock(0)) return Outcome::Acquired;
  return lock_.error() == QLockFile::LockFailedError ? Outcome::HeldByAnother
                                                     : Outcome::Unavailable;
}

bool ClaimProgramDirectory(SingleWindowLock& lock, MessagePresenter& presenter,
                           const QString& summonsName) {
  if (lock.TryAcquire() != SingleWindowLock::Outcome::HeldByAnother) return true;
  if (!summonsName.isEmpty() && SummonRunningWindow(summonsName)) return false;
  ShowNotice(presenter, nullptr, MessageIcon::Information,
             QString::fromUtf8(kAlreadyRunningMessage));
  return false;
}

}  // namespace zelk
