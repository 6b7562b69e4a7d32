#include "filesafety/CommitFence.h"

namespace zelk {
namespace {

thread_local const ItemClaim* fence = nullptr;

}  // namespace

CommitFence::CommitFence(const ItemClaim& claim) : previous_(fence) { fence = &claim; }

CommitFence::~CommitFence() { fence = previous_; }

void CheckCommitFence() {
  if (fence != nullptr && !fence->StillHeld()) {
    throw LostClaimError("the item's claim was taken over by another process");
  }
}

}  // namespace zelk
