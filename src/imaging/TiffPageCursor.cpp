#include "imaging/TiffPageCursor.h"

#include "imaging/PageRange.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace zelk {
namespace {

struct Identity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long modifiedNs = 0;
  bool operator==(const Identity&) const = default;
};

std::optional<Identity> IdentityOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return Identity{info.st_dev, info.st_ino, info.st_size,
                  static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

struct Cursor {
  std::string path;
  Identity identity;
  std::unique_ptr<TiffFile> file;
  int page = 0;
};

thread_local Cursor cursor;

// Moves the cursor forward to `pageIndex`; false when a directory on the
// way cannot be read.
bool Advance(int pageIndex) {
  while (cursor.page < pageIndex) {
    if (!TIFFReadDirectory(cursor.file->get())) return false;
    ++cursor.page;
  }
  return true;
}

}  // namespace

int TiffPageCount(const TiffFile& file) {
  return static_cast<int>(std::min<tdir_t>(TIFFNumberOfDirectories(file.get()), 1 << 30));
}

TiffFile& OpenTiffAtPage(const std::string& path, int pageIndex) {
  const std::optional<Identity> identity = IdentityOf(path);
  const bool reusable = cursor.file && identity && cursor.path == path &&
                        cursor.identity == *identity && cursor.page <= pageIndex;
  if (reusable && Advance(pageIndex)) return *cursor.file;

  cursor.file.reset();
  // Without memory mapping: a file truncated by another program while it
  // is mapped would kill the process instead of failing the read.
  auto file = std::make_unique<TiffFile>(path, "rm");
  if (pageIndex > 0 && !TIFFSetDirectory(file->get(), static_cast<tdir_t>(pageIndex))) {
    TiffFile counter(path, "rhm");
    const int count = TiffPageCount(counter);
    if (pageIndex < count) file->Fail(ErrorKind::Damaged, "cannot read page " + std::to_string(pageIndex + 1));
    ThrowPageBeyondEnd(path, pageIndex + 1, count);
  }
  cursor.path = path;
  cursor.identity = identity.value_or(Identity{});
  cursor.page = pageIndex;
  cursor.file = std::move(file);
  if (!identity) {
    // Unknown identity: usable now, never reused.
    cursor.path.clear();
  }
  return *cursor.file;
}

}  // namespace zelk
