#pragma once
// Keeps this process's item claims fresh, so that runs on other hosts can
// tell a held claim from an abandoned one.
//
// A run on another host cannot ask whether the process named in a claim
// still lives.  So while a process holds claims, a thread of its own sets
// each claim's modification time to the present every refresh interval
// (a minute), and a claim of another host that has gone unrefreshed for
// kRemoteClaimStaleAge is taken for abandoned: its owner was killed, its
// machine went down or lost the shared file system.  The age is many
// intervals long, so a slow file server or attribute caching on a network
// file system never make a live claim look stale.

#include <chrono>
#include <filesystem>
#include <string>

namespace zelk {

// How long a claim of another host may go unrefreshed before it is taken
// over.
inline constexpr std::chrono::minutes kRemoteClaimStaleAge{10};

// Starts refreshing the claim at `claim` whose text is `content`; a claim
// that no longer holds that text (taken over meanwhile) is left alone.
void KeepClaimFresh(const std::filesystem::path& claim, const std::string& content);

// Stops refreshing the claim at `claim`.
void StopKeepingClaimFresh(const std::filesystem::path& claim);

// How often claims are refreshed: a minute unless changed (tests shorten it).
void SetClaimRefreshInterval(std::chrono::milliseconds interval);

}  // namespace zelk
