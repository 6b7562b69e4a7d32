#pragma once
// Opening a directory below a root without following links.
//
// Whoever may write in a shared destination could plant a link there
// ("dst/x -> /elsewhere") and so send the outputs of every run to any
// directory the run may write.  Every directory an output, companion,
// claim or copy goes into is therefore reached from its root one level at
// a time, each level opened with O_NOFOLLOW | O_DIRECTORY relative to the
// one above it (this works on local and network file systems alike), and
// a missing level is made with mkdirat in the level above.  A link met on
// the way is refused with LinkInPathError naming it.  The root itself may
// be a link: the operator chose it.

#include <filesystem>

#include "platform/ErrorKind.h"

namespace zelk {

// A link met between a root and the directory being opened: of kind
// LinkRefused, naming the link.
class LinkInPathError : public KindedError {
 public:
  explicit LinkInPathError(const std::filesystem::path& link);
  const std::filesystem::path& Link() const { return link_; }

 private:
  std::filesystem::path link_;
};

// An open directory reached from a root without following a link below it.
class DirectoryBeneath {
 public:
  // Opens `directory`, which is `root` or lies below it, one level at a
  // time from `root`.  With `create`, makes the missing levels (the root
  // too, when it is missing).  Throws LinkInPathError for a link below the
  // root, std::filesystem_error for anything else (a file in the way,
  // `directory` outside `root`, a level missing without `create`).
  static DirectoryBeneath Open(const std::filesystem::path& root,
                               const std::filesystem::path& directory, bool create);

  DirectoryBeneath(DirectoryBeneath&& other) noexcept;
  DirectoryBeneath& operator=(DirectoryBeneath&& other) noexcept;
  DirectoryBeneath(const DirectoryBeneath&) = delete;
  DirectoryBeneath& operator=(const DirectoryBeneath&) = delete;
  ~DirectoryBeneath();

  int Fd() const { return fd_; }
  const std::filesystem::path& Path() const { return path_; }

  // Flushes the directory's entries to the disk, so that names created or
  // renamed in it stay.  Throws std::filesystem_error.
  void Sync() const;

 private:
  DirectoryBeneath(int fd, std::filesystem::path path);

  int fd_ = -1;
  std::filesystem::path path_;
};

}  // namespace zelk
