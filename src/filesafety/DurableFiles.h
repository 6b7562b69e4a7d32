#pragma once
// File operations that survive a power cut and never replace by accident.
//
// A rename is only durable once the directory holding the new name has
// reached the disk, and the renamed file's data must be there before the
// rename, or a power cut can leave a zero-length file under the final name.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace zelk {

// Writes all of `data` to `fd`, going on after interrupted and partial
// writes.  False on a failure, with errno telling why.
bool WriteAllBytes(int fd, std::string_view data);

// Copies what is left to read of `in` to `out` and flushes `out` to the
// disk.  Returns the error, or nothing.
std::error_code CopyDataSynced(int in, int out);

// Appends `data` to the file at `path` (created with mode 0666 less the
// umask when missing) in one write call on a descriptor opened for
// appending, so that lines appended by several processes at once never
// interleave on a local file system; only a write the system cuts short
// (a full disk, a signal) goes on with a second call.  A link at `path` is
// never written through (errno ELOOP): whoever may write in the directory
// could otherwise point the appends at any file the process may write.
// False on a failure, with errno telling why.
bool AppendInOneWrite(const std::string& path, std::string_view data);

// Flushes a file's data to the disk (fsync).  Throws std::filesystem_error.
void SyncFile(const std::filesystem::path& file);

// Flushes a directory's entries to the disk, so that names created,
// renamed or removed in it stay.  Throws std::filesystem_error.
void SyncDirectory(const std::filesystem::path& directory);

// Every file below `directory` (not following links), then the
// directories themselves, deepest first.  Throws std::filesystem_error.
void SyncTree(const std::filesystem::path& directory);

// Renames `from` to `to` unless something exists at `to`; returns 0 or the
// errno value (EEXIST when `to` is taken).  Works for files and
// directories.
int RenameWithoutReplacing(const std::string& from, const std::string& to);

// Copies the file at `from` to the new file `to` (which must not exist),
// its data synced, without following a link at `from` (a link is copied as
// a link).  On failure nothing is left at `to` and the error is returned.
std::error_code CopyFileSynced(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace zelk
