#pragma once
// The claim under which this thread converts an item.  A run stalled past
// the stale age (a stopped process, a hung network mount) may have lost
// its claim to another host, which converts the item again: the stalled
// run must then not put its older outputs over the newer ones.  Outputs
// are therefore renamed into place only while the claim file still holds
// this claim's text, with its fencing value (ItemClaim), checked right
// before each rename.

#include <stdexcept>

#include "filesafety/ItemClaim.h"

namespace zelk {

// The item's claim is no longer this run's; its outputs are dropped.
class LostClaimError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Makes `claim` the fence of the calling thread for its lifetime.
class CommitFence {
 public:
  explicit CommitFence(const ItemClaim& claim);
  ~CommitFence();
  CommitFence(const CommitFence&) = delete;
  CommitFence& operator=(const CommitFence&) = delete;

 private:
  const ItemClaim* previous_;
};

// Throws LostClaimError when the calling thread has a fence whose claim is
// no longer held; nothing when it has none.
void CheckCommitFence();

}  // namespace zelk
