#pragma once
// When an item last changed, as a scan sees it: the newest modification
// time of a file, or of a leaf directory and its entries, with the number
// of entries and their bytes, so that two scans can tell whether the item
// changed between them.  A link's own time says nothing of its target and
// is passed over inside a directory; an item that is a link to a file
// counts by its target.

#include <chrono>
#include <optional>
#include <string>

namespace zelk {

struct ItemStamp {
  std::chrono::system_clock::time_point Newest;
  long long Entries = 0;
  long long Bytes = 0;
  bool operator==(const ItemStamp&) const = default;
};

// std::nullopt when the item cannot be read.
std::optional<ItemStamp> StampOf(const std::string& path);

}  // namespace zelk
