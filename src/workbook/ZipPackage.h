#pragma once
// Read access to the parts of a zip package (an .xlsx workbook), through
// libzip.  Part names are matched without regard to case, as producers do
// not agree on it.

#include <string>

struct zip;

namespace zelk {

class ZipPackage {
 public:
  // Throws SheetReadError when `path` is not a readable zip archive.
  explicit ZipPackage(const std::string& path);
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  bool Has(const std::string& part) const;

  // The whole part.  Throws SheetReadError when it is missing, cannot be
  // inflated or is larger than any workbook part this program reads
  // sensibly (a guard against archives that inflate without end).
  std::string Read(const std::string& part) const;

 private:
  std::string path_;
  zip* archive_ = nullptr;
};

// The part a relationship target names: `target` taken relative to the
// directory of `sourcePart` ("xl/workbook.xml" + "worksheets/s.xml" gives
// "xl/worksheets/s.xml"), or from the package root when it starts with "/";
// "." and ".." segments resolved.
std::string ResolvePartName(const std::string& sourcePart, const std::string& target);

}  // namespace zelk
