#pragma once
// Building small source and output trees for scan and run tests.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zelk::test {

// Creates the file (and its missing parent directories) with `content`.
inline void Touch(const std::filesystem::path& path, std::string_view content = "x") {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

inline void MakeDirs(const std::filesystem::path& path) {
  std::filesystem::create_directories(path);
}

// Sets the modification time to `seconds` ago.
inline void SetAge(const std::filesystem::path& path, int seconds) {
  std::filesystem::last_write_time(
      path, std::filesystem::file_time_type::clock::now() - std::chrono::seconds(seconds));
}

// Sets the modification time of everything below and including `root`.
inline void SetTreeAge(const std::filesystem::path& root, int seconds) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    SetAge(entry.path(), seconds);
  }
  SetAge(root, seconds);
}

// Files below `root`, relative to it, sorted; directories end with "/".
inline std::vector<std::string> TreeOf(const std::filesystem::path& root) {
  std::vector<std::string> entries;
  if (!std::filesystem::exists(root)) return entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    // A link is listed under its own name, not its target's.
    std::string relative = entry.path().lexically_relative(root).string();
    if (entry.is_directory() && !entry.is_symlink()) relative += "/";
    entries.push_back(relative);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace zelk::test
