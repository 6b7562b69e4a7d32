#pragma once
// Where the bytes of a TiffFile live: a file reached through its
// descriptor, or a buffer in memory.  libtiff reads, writes and seeks
// through a storage, and a storage can take back what was written to it so
// that a failed write leaves nothing half-done behind.

#include <tiffio.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zelk {

class TiffStorage {
 public:
  virtual ~TiffStorage() = default;

  // As libtiff's client procedures: the number of bytes moved (short on
  // failure), the new position, the current size.
  virtual tmsize_t Read(void* buffer, tmsize_t size) = 0;
  virtual tmsize_t Write(const void* buffer, tmsize_t size) = 0;
  virtual toff_t Seek(toff_t offset, int whence) = 0;
  virtual toff_t Size() = 0;

  // Undoes what was written so far and refuses every further write.
  virtual void TakeBackWrites() = 0;
  // Called once libtiff is done with the storage: gives back what the
  // operating system lent it.
  virtual void Release() {}
};

// A file on disk, accessed through plain reads and writes (never memory
// mapped, so another program shortening it cannot crash this one).
class TiffFileStorage final : public TiffStorage {
 public:
  // `mode` as for TIFFOpen: "r", "w" (create or replace) or "a" (append).
  // Throws ImageError when the file cannot be opened.
  TiffFileStorage(const std::string& path, const char* mode);
  ~TiffFileStorage() override;
  TiffFileStorage(const TiffFileStorage&) = delete;
  TiffFileStorage& operator=(const TiffFileStorage&) = delete;

  tmsize_t Read(void* buffer, tmsize_t size) override;
  tmsize_t Write(const void* buffer, tmsize_t size) override;
  toff_t Seek(toff_t offset, int whence) override;
  toff_t Size() override;
  // An appended file returns to its former bytes and length, a created or
  // replaced file is removed; anything but a regular file is left alone.
  void TakeBackWrites() override;
  void Release() override;  // closes the descriptor

 private:
  // Bytes of the former file about to be overwritten in place.
  struct Overwritten {
    int64_t offset = 0;
    std::vector<char> bytes;
  };
  // Keeps the former bytes a write of `size` bytes at the current position
  // would overwrite (libtiff links a new directory from the last one in
  // place); false when they cannot be read.
  bool KeepOverwritten(tmsize_t size);

  std::string path_;
  int fd_ = -1;
  bool writing_ = false;
  bool replacing_ = false;    // "w" mode: the file is created or replaced
  bool regularFile_ = false;  // only a regular file is ever shortened or removed
  int64_t originalSize_ = 0;  // length before an append
  std::vector<Overwritten> overwritten_;  // in the order of the writes
  bool discardWrites_ = false;
};

// A file held in memory, for using libtiff's codecs without the disk.
class TiffMemoryStorage final : public TiffStorage {
 public:
  explicit TiffMemoryStorage(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  tmsize_t Read(void* buffer, tmsize_t size) override;
  tmsize_t Write(const void* buffer, tmsize_t size) override;
  toff_t Seek(toff_t offset, int whence) override;
  toff_t Size() override;
  void TakeBackWrites() override;  // empties the buffer

  // The whole file, handed over.
  std::vector<uint8_t> TakeBytes() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
  uint64_t position_ = 0;
  bool discardWrites_ = false;
};

}  // namespace zelk
