#pragma once
// A work item's claim: the mark one run puts beside an item's output while
// it converts the item, so that no other run (in this process, another
// process or on another machine sharing the tree) works on it meanwhile.
//
// The claim is a small file created with O_EXCL, which works across
// processes and over network file systems where advisory locks may not.
// It holds its owner (ProcessOwner.h).  A claim whose owner is gone (same
// host, process ended) is taken over, and so is a claim of another host
// that its owner has not refreshed for kRemoteClaimStaleAge
// (ClaimHeartbeat.h); any other claim keeps the item from this run, which
// passes it by.
//
// Claim names are short and of fixed length (".zelk-claim-" and a hash of
// the item's name), so a claim fits beside any item whose own name is
// legal.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zelk {

// True for the name of a claim file (or of one being taken over).
bool IsClaimFile(std::string_view name);

// Where the claim on the item whose output is `itemPath` lives: in the
// directory of `itemPath`.
std::filesystem::path ClaimPathFor(const std::filesystem::path& itemPath);

class ItemClaim {
 public:
  // Claims the item whose output is `itemPath`, creating the directory the
  // claim lives in when it is missing.  That directory lies in `root` (the
  // destination) or below it and is reached from it without following a
  // link (DirectoryBeneath.h).  Returns nullopt when a live process holds
  // the claim; `holder` then gets the claim's text (host, process id,
  // since when).  Throws LinkInPathError for a link below `root`,
  // std::filesystem_error when the claim cannot be written.
  static std::optional<ItemClaim> Take(const std::filesystem::path& root,
                                       const std::filesystem::path& itemPath,
                                       std::string* holder = nullptr);

  ItemClaim(ItemClaim&& other) noexcept;
  ItemClaim& operator=(ItemClaim&& other) noexcept;
  ItemClaim(const ItemClaim&) = delete;
  ItemClaim& operator=(const ItemClaim&) = delete;
  ~ItemClaim();

  // Removes the claim (when it is still this one) and the directories that
  // Take() created for it, when they stayed empty.
  void Release();

  // Whether the claim file still holds this claim: its owner and its
  // fencing value, a random number each claim gets, so that a claim the
  // same process took again later is another claim.
  bool StillHeld() const;

 private:
  ItemClaim(std::filesystem::path path, std::string content, std::filesystem::path created);

  std::filesystem::path path_;
  std::string content_;
  std::filesystem::path created_;  // the highest directory Take() made, or empty
};

// Looks at the claim file `claim`: when its owner is gone (or it has been
// unreadable for a long time, its writer killed before it wrote a word,
// or its owner on another host stopped refreshing it), removes it and
// returns true.  A claim of a live owner stays.
bool ClearAbandonedClaim(const std::filesystem::path& claim);

}  // namespace zelk
