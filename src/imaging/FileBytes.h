#pragma once
// Whole-file and file-head reads for the image readers, with the errors
// phrased for the user (the file's path and what went wrong).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

// At most `maxBytes` from the start of the file.  Throws ImageError when the
// file cannot be opened or is empty.
std::vector<uint8_t> ReadFileHead(const std::string& path, size_t maxBytes);

// The whole file.  Throws ImageError when it cannot be read, is empty or is
// larger than `maxBytes` (single-image files are read whole; a file beyond
// the limit is not an image the toolkit could hold anyway).
std::vector<uint8_t> ReadWholeFile(const std::string& path, size_t maxBytes);

// True when `path` is a regular file with at least one byte (an empty file
// holds no page, so appending to it is the same as starting it).
bool FileHasData(const std::string& path);

}  // namespace zelk
