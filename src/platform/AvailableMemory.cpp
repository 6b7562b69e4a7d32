#include "platform/AvailableMemory.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <string>

namespace zelk {

std::optional<std::uint64_t> MemAvailableOf(std::string_view meminfo) {
  constexpr std::string_view kKey = "MemAvailable:";
  std::size_t at = 0;
  while (at < meminfo.size()) {
    std::size_t end = meminfo.find('\n', at);
    if (end == std::string_view::npos) end = meminfo.size();
    std::string_view line = meminfo.substr(at, end - at);
    at = end + 1;
    if (!line.starts_with(kKey)) continue;
    line.remove_prefix(kKey.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    std::uint64_t kilobytes = 0;
    const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), kilobytes);
    if (error != std::errc() || rest == line.data()) return std::nullopt;
    if (std::string_view(rest, line.data() + line.size()) != " kB") return std::nullopt;
    if (kilobytes > UINT64_MAX / 1024) return std::nullopt;
    return kilobytes * 1024;
  }
  return std::nullopt;
}

std::optional<std::uint64_t> AvailableMemoryBytes() {
  std::ifstream in("/proc/meminfo");
  const std::string meminfo{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (const auto available = MemAvailableOf(meminfo)) return available;
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return std::nullopt;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

}  // namespace zelk
