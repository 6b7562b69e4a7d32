#include "imaging/TiffStorage.h"

#include "imaging/Page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace zelk {
namespace {

// Repeats a read or write (`step(done, left)`, a system call's result)
// until `size` bytes have moved, the call makes no progress or fails;
// the number of bytes moved.
template <typename Step>
tmsize_t Transfer(tmsize_t size, Step step) {
  tmsize_t done = 0;
  while (done < size) {
    const ssize_t moved = step(done, static_cast<size_t>(size - done));
    if (moved < 0 && errno == EINTR) continue;
    if (moved <= 0) break;
    done += moved;
  }
  return done;
}

}  // namespace

TiffFileStorage::TiffFileStorage(const std::string& path, const char* mode) : path_(path) {
  const char kind = mode[0];
  writing_ = kind == 'w' || kind == 'a';
  int flags = O_RDONLY;
  if (kind == 'w') {
    replacing_ = true;
    flags = O_RDWR | O_CREAT | O_TRUNC;
  } else if (kind == 'a') {
    flags = O_RDWR | O_CREAT;
  }
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    throw ImageError(ErrorKindOfErrno(errno, ErrorKind::Unreadable), path,
                     std::string("cannot open the file: ") + std::strerror(errno));
  }
  struct stat info {};
  if (::fstat(fd_, &info) == 0) {
    originalSize_ = info.st_size;
    regularFile_ = S_ISREG(info.st_mode);
  }
}

TiffFileStorage::~TiffFileStorage() { Release(); }

tmsize_t TiffFileStorage::Read(void* buffer, tmsize_t size) {
  auto* out = static_cast<char*>(buffer);
  return Transfer(size, [&](tmsize_t done, size_t left) { return ::read(fd_, out + done, left); });
}

tmsize_t TiffFileStorage::Write(const void* buffer, tmsize_t size) {
  if (discardWrites_ || !KeepOverwritten(size)) return 0;
  const auto* in = static_cast<const char*>(buffer);
  return Transfer(size, [&](tmsize_t done, size_t left) { return ::write(fd_, in + done, left); });
}

toff_t TiffFileStorage::Seek(toff_t offset, int whence) {
  const off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
  return result < 0 ? static_cast<toff_t>(-1) : static_cast<toff_t>(result);
}

toff_t TiffFileStorage::Size() {
  struct stat info {};
  return ::fstat(fd_, &info) == 0 ? static_cast<toff_t>(info.st_size) : 0;
}

bool TiffFileStorage::KeepOverwritten(tmsize_t size) {
  if (!writing_ || replacing_ || !regularFile_) return true;
  const off_t position = ::lseek(fd_, 0, SEEK_CUR);
  if (position < 0) return false;
  if (position >= originalSize_ || size <= 0) return true;
  Overwritten kept{position, std::vector<char>(static_cast<size_t>(
                                 std::min<int64_t>(size, originalSize_ - position)))};
  if (::pread(fd_, kept.bytes.data(), kept.bytes.size(), position) !=
      static_cast<ssize_t>(kept.bytes.size())) {
    return false;
  }
  overwritten_.push_back(std::move(kept));
  return true;
}

void TiffFileStorage::TakeBackWrites() {
  if (!writing_) return;
  discardWrites_ = true;
  if (!regularFile_) return;
  if (replacing_) {
    ::unlink(path_.c_str());
    return;
  }
  // The former bytes go back latest first, so that a range overwritten
  // twice ends with its first bytes.
  for (auto kept = overwritten_.rbegin(); kept != overwritten_.rend(); ++kept) {
    if (::pwrite(fd_, kept->bytes.data(), kept->bytes.size(), kept->offset) !=
        static_cast<ssize_t>(kept->bytes.size())) {
      break;
    }
  }
  if (::ftruncate(fd_, static_cast<off_t>(originalSize_)) != 0) {
    // Nothing more can be done; the caller reports the failure that led here.
  }
}

void TiffFileStorage::Release() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

tmsize_t TiffMemoryStorage::Read(void* buffer, tmsize_t size) {
  if (size < 0 || position_ >= bytes_.size()) return 0;
  const size_t n = std::min<size_t>(static_cast<size_t>(size), bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t TiffMemoryStorage::Write(const void* buffer, tmsize_t size) {
  if (discardWrites_) return 0;
  if (size < 0) return -1;
  const size_t end = position_ + static_cast<size_t>(size);
  if (end > bytes_.size()) {
    // libtiff is C: an exception must not pass through it.  A short write
    // is how it learns that the data did not fit.
    try {
      bytes_.resize(end);
    } catch (const std::exception&) {  // no memory, or beyond what a vector holds
      return 0;
    }
  }
  std::memcpy(bytes_.data() + position_, buffer, static_cast<size_t>(size));
  position_ = end;
  return size;
}

toff_t TiffMemoryStorage::Seek(toff_t offset, int whence) {
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = position_;
  if (whence == SEEK_END) base = bytes_.size();
  position_ = base + offset;
  return position_;
}

toff_t TiffMemoryStorage::Size() { return bytes_.size(); }

void TiffMemoryStorage::TakeBackWrites() {
  discardWrites_ = true;
  bytes_.clear();
}

}  // namespace zelk
