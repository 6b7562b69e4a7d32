#include "filesafety/ClaimHeartbeat.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <stop_token>
#include <thread>

#include "platform/FileText.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

// The claims to refresh and the thread that refreshes them, started with
// the first claim and stopped when the process ends.
class Heartbeat {
 public:
  void Add(const fs::path& claim, const std::string& content) {
    std::lock_guard lock(mutex_);
    claims_[claim] = content;
    if (!thread_.joinable()) {
      thread_ = std::jthread([this](std::stop_token stop) { Beat(stop); });
    }
  }

  void Remove(const fs::path& claim) {
    std::lock_guard lock(mutex_);
    claims_.erase(claim);
  }

  void SetInterval(std::chrono::milliseconds interval) {
    std::lock_guard lock(mutex_);
    interval_ = interval;
    wake_.notify_all();
  }

 private:
  void Beat(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
      const auto interval = interval_;
      if (wake_.wait_for(lock, stop, interval, [&] { return interval_ != interval; })) continue;
      if (stop.stop_requested()) break;
      const std::map<fs::path, std::string> claims = claims_;
      lock.unlock();
      // With a null time the file system stamps its own present, so clocks
      // that differ between hosts do not matter.
      for (const auto& [claim, content] : claims) {
        if (ReadFileText(claim) == content) ::utimensat(AT_FDCWD, claim.c_str(), nullptr, 0);
      }
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::map<fs::path, std::string> claims_;
  std::chrono::milliseconds interval_ = std::chrono::minutes(1);
  std::jthread thread_;  // last: stopped and joined before the rest goes
};

Heartbeat& TheHeartbeat() {
  static Heartbeat heartbeat;
  return heartbeat;
}

}  // namespace

void KeepClaimFresh(const fs::path& claim, const std::string& content) {
  TheHeartbeat().Add(claim, content);
}

void StopKeepingClaimFresh(const fs::path& claim) { TheHeartbeat().Remove(claim); }

void SetClaimRefreshInterval(std::chrono::milliseconds interval) {
  TheHeartbeat().SetInterval(interval);
}

}  // namespace zelk
