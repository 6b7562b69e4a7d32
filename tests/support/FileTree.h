#pragma once
// Building small source and output trees for scan and run tests.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

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

}  // namespace zelk::test
