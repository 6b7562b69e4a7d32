#pragma once
// How much memory the system can give to new work without swapping.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelk {

// MemAvailable of /proc/meminfo; where that is missing, the free physical
// pages that sysconf reports.  Nothing when neither can be read.
std::optional<std::uint64_t> AvailableMemoryBytes();

// The MemAvailable line of a /proc/meminfo text ("MemAvailable: 123 kB"),
// in bytes; nothing when the line is missing or unreadable.
std::optional<std::uint64_t> MemAvailableOf(std::string_view meminfo);

}  // namespace zelk
