#include "imaging/MemoryTiff.h"

#include "imaging/Page.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace zelk {
namespace {

using Buffer = MemoryTiff::Buffer;

tmsize_t ReadProc(thandle_t handle, void* data, tmsize_t size) {
  auto* b = static_cast<Buffer*>(handle);
  if (size < 0 || b->position >= b->bytes.size()) return 0;
  const size_t n = std::min<size_t>(static_cast<size_t>(size), b->bytes.size() - b->position);
  std::memcpy(data, b->bytes.data() + b->position, n);
  b->position += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t handle, void* data, tmsize_t size) {
  auto* b = static_cast<Buffer*>(handle);
  if (size < 0) return -1;
  const size_t end = b->position + static_cast<size_t>(size);
  if (end > b->bytes.size()) b->bytes.resize(end);
  std::memcpy(b->bytes.data() + b->position, data, static_cast<size_t>(size));
  b->position = end;
  return size;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  auto* b = static_cast<Buffer*>(handle);
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = b->position;
  if (whence == SEEK_END) base = b->bytes.size();
  b->position = base + offset;
  return b->position;
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t handle) { return static_cast<Buffer*>(handle)->bytes.size(); }

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

int ErrorHandler(TIFF*, void* userData, const char* module, const char* format, va_list args) {
  char message[512];
  std::vsnprintf(message, sizeof message, format, args);
  auto* b = static_cast<Buffer*>(userData);
  b->lastError = std::string(module ? module : "libtiff") + ": " + message;
  return 1;  // handled: nothing reaches the terminal
}

int WarningHandler(TIFF*, void*, const char*, const char*, va_list) { return 1; }

}  // namespace

MemoryTiff::MemoryTiff(std::vector<uint8_t> bytes, const char* mode)
    : buffer_(std::make_unique<Buffer>()) {
  buffer_->bytes = std::move(bytes);
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options, ErrorHandler, buffer_.get());
  TIFFOpenOptionsSetWarningHandlerExtR(options, WarningHandler, buffer_.get());
  tiff_ = TIFFClientOpenExt("memory", mode, buffer_.get(), ReadProc, WriteProc, SeekProc,
                            CloseProc, SizeProc, MapProc, UnmapProc, options);
  TIFFOpenOptionsFree(options);
  if (!tiff_) throw ImageError(LastError("cannot open a TIFF in memory"));
}

MemoryTiff::~MemoryTiff() {
  if (tiff_) TIFFClose(tiff_);
}

std::vector<uint8_t> MemoryTiff::Close() {
  if (tiff_) {
    TIFFClose(tiff_);
    tiff_ = nullptr;
  }
  return std::move(buffer_->bytes);
}

std::string MemoryTiff::LastError(const std::string& fallback) const {
  return buffer_->lastError.empty() ? fallback : buffer_->lastError;
}

}  // namespace zelk
