#include "imaging/PdfSpool.h"

#include "imaging/Page.h"

#include <qpdf/Pipeline.hh>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zelk {
namespace {

ImageError SystemError(const std::string& what) {
  return ImageError(ErrorKindOfErrno(errno, ErrorKind::WriteFailed), "",
                    what + ": " + std::strerror(errno));
}

int OpenUnnamedFile(const std::string& directory) {
  int fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  // File systems without unnamed files: a named one, removed at once.
  std::string pattern = directory + "/.zelk-spool-XXXXXX";
  fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    throw SystemError("cannot create a temporary file in " + directory);
  }
  ::unlink(pattern.c_str());
  return fd;
}

}  // namespace

PdfSpool::PdfSpool(const std::string& directory) : fd_(OpenUnnamedFile(directory)) {}

PdfSpool::~PdfSpool() {
  if (fd_ >= 0) ::close(fd_);
}

void PdfSpool::Store(const QPDFObjGen& stream, const std::vector<uint8_t>& data) {
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t n = ::pwrite(fd_, data.data() + written, data.size() - written,
                               static_cast<off_t>(size_ + written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw SystemError("cannot write page data to the temporary file");
    written += static_cast<size_t>(n);
  }
  extents_[stream] = {size_, data.size()};
  size_ += data.size();
}

void PdfSpool::provideStreamData(QPDFObjGen const& stream, Pipeline* pipeline) {
  const auto found = extents_.find(stream);
  if (found == extents_.end()) throw std::logic_error("page data missing from the temporary file");
  std::vector<unsigned char> chunk(1 << 16);
  uint64_t offset = found->second.offset;
  uint64_t left = found->second.length;
  while (left > 0) {
    const size_t want = left < chunk.size() ? static_cast<size_t>(left) : chunk.size();
    const ssize_t n = ::pread(fd_, chunk.data(), want, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw SystemError("cannot read page data back");
    pipeline->write(chunk.data(), static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
    left -= static_cast<uint64_t>(n);
  }
  pipeline->finish();
}

}  // namespace zelk
