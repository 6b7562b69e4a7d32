#pragma once
// A small file's whole content, read in one go.

#include <filesystem>
#include <optional>
#include <string>

namespace zelk {

// The bytes of the file at `path`, or nullopt when it cannot be opened.
std::optional<std::string> ReadFileText(const std::filesystem::path& path);

}  // namespace zelk
