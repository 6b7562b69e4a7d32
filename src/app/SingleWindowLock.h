#pragma once
// One window per settings file.  Two windows on one ZELK.conf (one started
// at log-in, one by hand) would each run the schedule on the same trees, so
// the window holds a lock on "ZELK.conf.lock" beside the settings file for
// as long as its process lives, and a second start ends at once.
//
// The lock is a QLockFile: the file records the holder's process id, name
// and host, and the holder keeps it locked with flock and fcntl.  A lock left
// by a process that died without removing it (a crash, SIGKILL, a power cut)
// is taken over at the next start; only the death of its owner makes a lock
// stale, never its age.  A lock held from another host sharing the
// directory is never taken over.

#include <QLockFile>
#include <QString>
#include <string>

#include "dialogs/MessagePresenter.h"

namespace zelk {

inline constexpr const char* kWindowLockFileName = "ZELK.conf.lock";
inline constexpr const char* kAlreadyRunningMessage = "程序已在运行。";
// The exit status of a start that found another window on its settings.
inline constexpr int kAlreadyRunningExitStatus = 3;

class SingleWindowLock {
 public:
  enum class Outcome {
    Acquired,       // this process holds the lock until it ends
    HeldByAnother,  // a live process holds it
    Unavailable,    // the lock file cannot be made here (a read-only directory)
  };

  // The lock on the settings file in `settingsDir`; nothing is taken yet.
  explicit SingleWindowLock(const std::string& settingsDir);
  // Gives the lock up when it was acquired (the lock file is removed).
  ~SingleWindowLock() = default;
  SingleWindowLock(const SingleWindowLock&) = delete;
  SingleWindowLock& operator=(const SingleWindowLock&) = delete;

  // One attempt, without waiting.
  Outcome TryAcquire();

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  QLockFile lock_;
};

// The first step of the window's start-up, before anything is read or
// written: takes the lock of the settings file.  When another window
// holds it, asks that window to come to the front (WindowSummons.h, under
// `summonsName`) and, only when it does not answer, shows "程序已在运行。"
// (information icon, the program's message title) through `presenter`;
// either way returns false: the caller ends the program with
// kAlreadyRunningExitStatus.  A lock that cannot be made at all does not
// keep the program from starting.
bool ClaimProgramDirectory(SingleWindowLock& lock, MessagePresenter& presenter,
                           const QString& summonsName = {});

}  // namespace zelk
