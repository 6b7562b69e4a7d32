#pragma once
// Errors the recognition engine raises.

#include <stdexcept>
#include <string>

#include "platform/ErrorKind.h"

namespace zelk {

// The engine could not be started: language data missing or unreadable,
// unknown language, no worker could be created.  Its number is what the
// jobs show with the message; the description names the reason.
class EngineLoadError : public std::runtime_error {
 public:
  static constexpr int kNumber = 10000;
  explicit EngineLoadError(const std::string& reason);
  int Number() const { return kNumber; }
};

// One page could not be recognised.  The page's item fails; the run goes on.
class RecognitionError : public KindedError {
 public:
  explicit RecognitionError(const std::string& detail)
      : KindedError(ErrorKind::RecognitionFailed, "", detail) {}

 protected:
  RecognitionError(ErrorKind kind, const std::string& detail) : KindedError(kind, "", detail) {}
};

// The page was dropped before a worker took it (the document was closed or
// the pending pages were cancelled), or a stop request cut its recognition
// short.
class RecognitionCancelled : public RecognitionError {
 public:
  RecognitionCancelled() : RecognitionError(ErrorKind::Cancelled, "recognition cancelled") {}
};

}  // namespace zelk

namespace zelk {

// A recognised document could not be written to its target file.
class ExportError : public KindedError {
 public:
  ExportError(const std::string& file, const std::string& detail)
      : KindedError(ErrorKind::WriteFailed, file, detail) {}
};

}  // namespace zelk
