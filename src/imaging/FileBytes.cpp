#include "imaging/FileBytes.h"

#include "imaging/Page.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace zelk {
namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// The system's failure to open or read `path`, by errno.
ImageError ReadFailure(const std::string& path, const std::string& what) {
  return ImageError(ErrorKindOfErrno(errno, ErrorKind::Unreadable), path,
                    what + ": " + std::strerror(errno));
}

FilePtr OpenForReading(const std::string& path) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) throw ReadFailure(path, "cannot open the file");
  return file;
}

[[noreturn]] void ThrowEmpty(const std::string& path) {
  throw ImageError(ErrorKind::Empty, path, "the file is empty");
}

}  // namespace

std::vector<uint8_t> ReadFileHead(const std::string& path, size_t maxBytes) {
  FilePtr file = OpenForReading(path);
  std::vector<uint8_t> bytes(maxBytes);
  const size_t got = std::fread(bytes.data(), 1, maxBytes, file.get());
  if (std::ferror(file.get())) {
    throw ReadFailure(path, "cannot read the file");
  }
  if (got == 0) ThrowEmpty(path);
  bytes.resize(got);
  return bytes;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path, size_t maxBytes) {
  FilePtr file = OpenForReading(path);
  if (std::fseek(file.get(), 0, SEEK_END) != 0) {
    throw ReadFailure(path, "cannot read the file");
  }
  const long size = std::ftell(file.get());
  if (size < 0) throw ReadFailure(path, "cannot read the file");
  if (size == 0) ThrowEmpty(path);
  if (static_cast<unsigned long>(size) > maxBytes) {
    throw ImageError(ErrorKind::TooLarge, path, "the file is too large to be read as one image");
  }
  std::rewind(file.get());
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    throw ImageError(ErrorKind::Unreadable, path, "the file changed while being read");
  }
  return bytes;
}

bool FileHasData(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) && std::filesystem::file_size(path, ec) > 0 &&
         !ec;
}

}  // namespace zelk
