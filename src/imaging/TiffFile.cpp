#include "imaging/TiffFile.h"

#include "imaging/LibraryMessages.h"
#include "imaging/Page.h"
#include "imaging/TiffStorage.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>

namespace zelk {

struct TiffFile::State {
  std::unique_ptr<TiffStorage> storage;
  int errors = 0;
  int warnings = 0;
  std::string firstError;
};

namespace {

using State = TiffFile::State;

TiffStorage& StorageOf(thandle_t handle) { return *static_cast<State*>(handle)->storage; }

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
  return StorageOf(handle).Read(buffer, size);
}

tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t size) {
  return StorageOf(handle).Write(buffer, size);
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  return StorageOf(handle).Seek(offset, whence);
}

int CloseProc(thandle_t) { return 0; }  // the storage is released by TiffFile

toff_t SizeProc(thandle_t handle) { return StorageOf(handle).Size(); }

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
  state_->storage = std::make_unique<TiffFileStorage>(path, mode);
  Open(path.c_str(), mode);
}

TiffFile::TiffFile(InMemory memory, const char* mode) : state_(std::make_unique<State>()) {
  SilenceImageLibraries();
  auto storage = std::make_unique<TiffMemoryStorage>(std::move(memory.bytes));
  memory_ = storage.get();
  state_->storage = std::move(storage);
  Open("memory", mode);
}

namespace {

// Whether the file begins with a TIFF or BigTIFF header (a memory file is
// taken as one): a file that does not is some other format.
bool StartsAsTiff(const std::string& path) {
  if (path.empty()) return true;
  std::ifstream in(path, std::ios::binary);
  char head[4] = {};
  in.read(head, sizeof head);
  const bool intel = head[0] == 'I' && head[1] == 'I' && head[3] == 0;
  const bool motorola = head[0] == 'M' && head[1] == 'M' && head[2] == 0;
  return in.gcount() == 4 && ((intel && (head[2] == 42 || head[2] == 43)) ||
                              (motorola && (head[3] == 42 || head[3] == 43)));
}

}  // namespace

void TiffFile::Open(const char* name, const char* mode) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options != nullptr) {
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, state_.get());
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, state_.get());
    tif_ = TIFFClientOpenExt(name, mode, state_.get(), ReadProc, WriteProc, SeekProc, CloseProc,
                             SizeProc, MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
  }
  if (tif_ == nullptr) {
    state_->storage->TakeBackWrites();
    state_->storage->Release();
    if (mode[0] != 'r') Fail(ErrorKind::WriteFailed, "cannot write as TIFF");
    Fail(StartsAsTiff(path_) ? ErrorKind::Damaged : ErrorKind::NotThatFormat, "cannot read as TIFF");
  }
}

TiffFile::~TiffFile() {
  if (tif_ == nullptr) return;
  state_->storage->TakeBackWrites();
  TIFFClose(tif_);
  state_->storage->Release();
}

void TiffFile::Close() {
  if (tif_ == nullptr) return;
  const int errorsBefore = state_->errors;
  TIFFClose(tif_);
  tif_ = nullptr;
  const bool failed = state_->errors != errorsBefore;
  if (failed) state_->storage->TakeBackWrites();
  state_->storage->Release();
  if (failed) Fail(ErrorKind::WriteFailed, "cannot finish writing");
}

std::vector<uint8_t> TiffFile::TakeBytes() {
  return memory_ != nullptr && tif_ == nullptr ? memory_->TakeBytes() : std::vector<uint8_t>();
}

int TiffFile::errorCount() const { return state_->errors; }
int TiffFile::warningCount() const { return state_->warnings; }

void TiffFile::Fail(ErrorKind kind, const std::string& what) const {
  std::string detail = what;
  if (!state_->firstError.empty()) detail += ": " + state_->firstError;
  throw ImageError(kind, path_, detail);
}

}  // namespace zelk
