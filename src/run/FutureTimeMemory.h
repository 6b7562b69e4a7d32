#pragma once
// Items dated in the future (a scanner or share whose clock runs ahead of
// this machine's) would never grow older than the settle time and so would
// wait for ever.  Such an item counts as settled once scans at least the
// settle time apart have seen it unchanged (the same newest time, entries
// and bytes).  This memory keeps, from one run to the next, when each such
// item was first seen as it is; a run of one shard of several keeps its
// own, beside its lists.  Losing it (a damaged file, two runs writing it
// at once) costs one more settle time, never an item.

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

#include "platform/Clock.h"
#include "scan/ItemStamp.h"
#include "scan/Shard.h"

namespace zelk {

// ".zelk-future-times" in Logs, with the shard's ".shard-03-of-16" after it
// for one shard of several (not a result list: no ".txt").
std::string FutureTimeMemoryName(const Shard& shard);

class FutureTimeMemory {
 public:
  // Reads what `file` remembers; a missing or damaged file remembers nothing.
  FutureTimeMemory(std::string file, std::chrono::seconds settleTime, TimePoint now);

  enum class Verdict {
    FirstSeen,  // seen as it is for the first time: held back, remembered
    Waiting,    // seen so before, less than the settle time ago: held back
    Settled,    // seen unchanged for at least the settle time: let through
  };
  Verdict Judge(const std::string& path, const ItemStamp& stamp);

  // Writes back the items still held back; those let through or no longer
  // seen are forgotten.  Errors are ignored (see above).
  void Save() const;

 private:
  struct Sighting {
    ItemStamp Stamp;
    long long FirstSeen = 0;  // seconds since the epoch, by this machine's clock
    bool Held = false;        // held back by this run
  };
  std::string file_;
  std::chrono::seconds settleTime_;
  long long now_ = 0;
  bool existed_ = false;
  std::map<std::uint64_t, Sighting> items_;  // by StableHash of the path
};

}  // namespace zelk
