#pragma once
// Copying or moving a failed item's source into the Error tree under the
// output root.  Each function creates the target directory with every
// missing parent, replaces files of the same name and throws
// std::filesystem::filesystem_error when it cannot finish.

#include <string>

namespace zelk {

// Copies the directory `source` with its files and subdirectories into
// `target` (merged with what is there already).  Symbolic links are copied
// as links, never followed.
void CopyDirectoryInto(const std::string& source, const std::string& target);

// Copies the file into `directory` under its own name.
void CopyFileInto(const std::string& file, const std::string& directory);

// Moves the file into `directory` under its own name.  Across file systems
// it is copied first and removed from the source only when the copy is
// complete.
void MoveFileInto(const std::string& file, const std::string& directory);

}  // namespace zelk
