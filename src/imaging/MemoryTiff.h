#pragma once
// A TIFF file held in memory, for using libtiff's codecs without touching
// the disk.  libtiff's messages are collected per handle, never printed.

#include <tiffio.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelk {

class MemoryTiff {
 public:
  // mode "w" starts an empty file; "r" reads `bytes`.
  MemoryTiff(std::vector<uint8_t> bytes, const char* mode);
  ~MemoryTiff();
  MemoryTiff(const MemoryTiff&) = delete;
  MemoryTiff& operator=(const MemoryTiff&) = delete;

  TIFF* handle() const { return tiff_; }
  // Closes the handle (writing what is pending) and hands out the bytes.
  std::vector<uint8_t> Close();
  // libtiff's last error message, or `fallback` when it said nothing.
  std::string LastError(const std::string& fallback) const;

  struct Buffer {
    std::vector<uint8_t> bytes;
    uint64_t position = 0;
    std::string lastError;
  };

 private:
  std::unique_ptr<Buffer> buffer_;
  TIFF* tiff_ = nullptr;
};

}  // namespace zelk
