#pragma once
// A libtiff handle over a file on disk or a file held in memory, whose
// errors and warnings are collected per handle instead of being printed,
// so that several threads can read and write TIFF files at once and each
// failure names its own file and cause.
//
// A file on disk is accessed through plain reads and writes (never memory
// mapped, so another program shortening it cannot crash this one).  What
// a writing handle wrote is kept only when Close() succeeds: a handle
// destroyed without it, or whose Close() fails, takes its writes back (an
// appended file returns to its former bytes and length, a created or
// replaced file is removed, a memory file is emptied), so a failed page
// never leaves a half-written directory behind and never counts as written.

#include <tiffio.h>

#include "platform/ErrorKind.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelk {

class TiffMemoryStorage;

class TiffFile {
 public:
  // The bytes a memory file starts from: empty to write one, a whole TIFF
  // to read it.
  struct InMemory {
    std::vector<uint8_t> bytes;
  };

  // `mode` as for TIFFOpen: "r", "w" (create or replace) or "a" (append),
  // with libtiff's modifiers.  Throws ImageError with libtiff's reason
  // when the file cannot be opened.
  TiffFile(const std::string& path, const char* mode);
  TiffFile(InMemory memory, const char* mode);
  ~TiffFile();
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;

  TIFF* get() const { return tif_; }
  // The file's path; empty for a memory file.
  const std::string& path() const { return path_; }

  // Messages reported on this handle so far.
  int errorCount() const;
  int warningCount() const;

  // Throws ImageError of `kind` for the file's path (empty for a memory
  // file), the detail "<what>: <first error libtiff reported>".
  [[noreturn]] void Fail(ErrorKind kind, const std::string& what) const;

  // Closes the handle, writing what libtiff still holds, and keeps the
  // writes; throws ImageError (after taking the writes back) on failure.
  void Close();

  // The whole content of a memory file once Close() has succeeded.
  std::vector<uint8_t> TakeBytes();

  struct State;  // the storage and collected messages, shared with libtiff's callbacks

 private:
  void Open(const char* name, const char* mode);

  std::string path_;
  std::unique_ptr<State> state_;
  TiffMemoryStorage* memory_ = nullptr;  // the storage of a memory file
  TIFF* tif_ = nullptr;
};

}  // namespace zelk
