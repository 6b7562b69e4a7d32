#pragma once
// A libtiff handle whose errors and warnings are collected per handle
// instead of being printed, so that several threads can read and write
// TIFF files at once and each failure names its own file and cause.
//
// The file is accessed through plain reads and writes (never memory
// mapped, so another program shortening it cannot crash this one).  What
// a writing handle wrote is kept only when Close() succeeds: a handle
// destroyed without it takes its writes back (an appended file returns to
// its former length, a created or replaced file is removed), so a failed
// page never leaves a half-written directory behind.

#include <tiffio.h>

#include <memory>
#include <string>

namespace zelk {

class TiffFile {
 public:
  // `mode` as for TIFFOpen: "r", "w" (create or replace) or "a" (append),
  // with libtiff's modifiers.  Throws ImageError with libtiff's reason
  // when the file cannot be opened.
  TiffFile(const std::string& path, const char* mode);
  ~TiffFile();
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;

  TIFF* get() const { return tif_; }
  const std::string& path() const { return path_; }

  // Messages reported on this handle so far.
  int errorCount() const;
  int warningCount() const;

  // Throws ImageError: "<path>: <what>: <first error libtiff reported>".
  [[noreturn]] void Fail(const std::string& what) const;

  // Closes the handle, writing what libtiff still holds, and keeps the
  // writes; throws ImageError (after taking the writes back) on failure.
  void Close();

  struct State;  // the descriptor and collected messages, shared with libtiff's callbacks

 private:
  void TakeBackWrites();

  std::string path_;
  std::unique_ptr<State> state_;
  TIFF* tif_ = nullptr;
};

}  // namespace zelk
