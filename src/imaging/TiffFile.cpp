#include "imaging/TiffFile.h"

#include "imaging/LibraryMessages.h"
#include "imaging/Page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace zelk {

struct TiffFile::State {
  int fd = -1;
  bool writing = false;
  bool replacing = false;    // "w" mode: the file is created or replaced
  bool regularFile = false;  // only a regular file is ever shortened or removed
  off_t originalSize = 0;    // length before an append
  bool discardWrites = false;
  int errors = 0;
  int warnings = 0;
  std::string firstError;
};

namespace {

using State = TiffFile::State;

State& StateOf(thandle_t handle) { return *static_cast<State*>(handle); }

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
  auto* out = static_cast<char*>(buffer);
  tmsize_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(StateOf(handle).fd, out + done, static_cast<size_t>(size - done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += got;
  }
  return done;
}

tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t size) {
  State& state = StateOf(handle);
  if (state.discardWrites) return 0;
  const auto* in = static_cast<const char*>(buffer);
  tmsize_t done = 0;
  while (done < size) {
    const ssize_t put = ::write(state.fd, in + done, static_cast<size_t>(size - done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += put;
  }
  return done;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  const off_t result = ::lseek(StateOf(handle).fd, static_cast<off_t>(offset), whence);
  return result < 0 ? static_cast<toff_t>(-1) : static_cast<toff_t>(result);
}

int CloseProc(thandle_t) { return 0; }  // the descriptor is closed by TiffFile

toff_t SizeProc(thandle_t handle) {
  struct stat info {};
  return ::fstat(StateOf(handle).fd, &info) == 0 ? static_cast<toff_t>(info.st_size) : 0;
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* userData, const char* module, const char* fmt, va_list ap) {
  State& state = *static_cast<State*>(userData);
  if (state.errors++ == 0) {
    char text[512];
    std::vsnprintf(text, sizeof text, fmt, ap);
    state.firstError = (module != nullptr && *module != '\0') ? std::string(module) + ": " + text
                                                              : std::string(text);
  }
  return 1;  // handled: libtiff must not call its global handlers
}

int OnWarning(TIFF*, void* userData, const char*, const char*, va_list) {
  ++static_cast<State*>(userData)->warnings;
  return 1;
}

}  // namespace

TiffFile::TiffFile(const std::string& path, const char* mode)
    : path_(path), state_(std::make_unique<State>()) {
  SilenceImageLibraries();
  const char kind = mode[0];
  state_->writing = kind == 'w' || kind == 'a';
  int flags = O_RDONLY;
  if (kind == 'w') {
    state_->replacing = true;
    flags = O_RDWR | O_CREAT | O_TRUNC;
  } else if (kind == 'a') {
    flags = O_RDWR | O_CREAT;
  }
  state_->fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (state_->fd < 0) {
    throw ImageError(path + ": cannot open the file (" + std::strerror(errno) + ")");
  }
  struct stat info {};
  if (::fstat(state_->fd, &info) == 0) {
    state_->originalSize = info.st_size;
    state_->regularFile = S_ISREG(info.st_mode);
  }

  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options != nullptr) {
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, state_.get());
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, state_.get());
    tif_ = TIFFClientOpenExt(path.c_str(), mode, state_.get(), ReadProc, WriteProc, SeekProc,
                             CloseProc, SizeProc, MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
  }
  if (tif_ == nullptr) {
    TakeBackWrites();
    ::close(state_->fd);
    Fail(kind == 'r' ? "cannot read as TIFF" : "cannot write as TIFF");
  }
}

TiffFile::~TiffFile() {
  if (tif_ == nullptr) return;
  TakeBackWrites();
  TIFFClose(tif_);
  ::close(state_->fd);
}

void TiffFile::Close() {
  if (tif_ == nullptr) return;
  const int errorsBefore = state_->errors;
  TIFFClose(tif_);
  tif_ = nullptr;
  const bool failed = state_->errors != errorsBefore;
  if (failed) TakeBackWrites();
  ::close(state_->fd);
  if (failed) Fail("cannot finish writing");
}

void TiffFile::TakeBackWrites() {
  if (!state_->writing) return;
  state_->discardWrites = true;
  if (!state_->regularFile) return;
  if (state_->replacing) {
    ::unlink(path_.c_str());
  } else if (::ftruncate(state_->fd, state_->originalSize) != 0) {
    // Nothing more can be done; the caller reports the failure that led here.
  }
}

int TiffFile::errorCount() const { return state_->errors; }
int TiffFile::warningCount() const { return state_->warnings; }

void TiffFile::Fail(const std::string& what) const {
  std::string message = path_ + ": " + what;
  if (!state_->firstError.empty()) message += ": " + state_->firstError;
  throw ImageError(message);
}

}  // namespace zelk
