#pragma once
// What went wrong, as a kind the operator's text is chosen by, instead of
// the wording of a library's message: the readers, writers, recognition
// and the file layer raise a KindedError carrying the kind, the file it
// concerns and the library's own detail.  The run frame shows the kind's
// Chinese text and the file; the detail goes into the reasons list only.

#include <stdexcept>
#include <string>
#include <string_view>

namespace zelk {

enum class ErrorKind {
  Unreadable,         // the file cannot be opened or read
  NotThatFormat,      // not of a format the reader reads
  Damaged,            // the data is cut short or corrupt
  Unsupported,        // a format or page layout the program does not handle
  TooLarge,           // beyond what the program holds in memory
  Empty,              // the file holds no byte
  NoPage,             // the file holds no readable page
  PageMissing,        // the page asked for lies beyond the end of the file
  Protected,          // a password keeps the file closed
  OutOfMemory,
  DiskFull,
  PermissionDenied,
  NotFound,
  LinkRefused,        // a link where the program does not follow one
  WriteFailed,        // an output could not be written
  EncodeFailed,       // a page could not be encoded or converted
  BadSetting,         // a save setting that does not fit the page or format
  RecognitionFailed,
  Cancelled,
};

// The operator's text of `kind` ("文件数据已损坏").
std::string_view ErrorKindText(ErrorKind kind);

// The kind of the system error `number` (errno), or `otherwise` for one
// without a kind of its own.
ErrorKind ErrorKindOfErrno(int number, ErrorKind otherwise);

class KindedError : public std::runtime_error {
 public:
  // what() is "<file>: <detail>" (only one of them when the other is empty).
  KindedError(ErrorKind kind, std::string file, std::string detail);

  ErrorKind Kind() const { return kind_; }
  const std::string& File() const { return file_; }
  const std::string& Detail() const { return detail_; }

 private:
  ErrorKind kind_;
  std::string file_;
  std::string detail_;
};

}  // namespace zelk
