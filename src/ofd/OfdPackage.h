#pragma once
// An OFD package being written: the entry file OFD.xml, the document
// (Document.xml) with its page list and unit counter, the public resources
// (the text font) and the document resources (the page images), and the
// files of the pages added.
//
// A package started from an existing file keeps every entry of it as it
// is, except the document and its two resource files, which receive the
// new pages, images and font; IDs continue above its MaxUnitID.  The new
// files' bytes lie in a spool file until Write().

#include <memory>
#include <string>

#include "ofd/OfdPageLayout.h"

namespace zelk {

class OfdPackage {
 public:
  // A new package with `title`, or the package at `startFrom` when it is
  // not empty.  Throws ImageError when `startFrom` is no OFD package.
  OfdPackage(const std::string& startFrom, const std::string& title);
  ~OfdPackage();
  OfdPackage(const OfdPackage&) = delete;
  OfdPackage& operator=(const OfdPackage&) = delete;

  // A new unit ID.
  unsigned NextId();
  // The ID of the font the invisible text is set in, declared on first use.
  unsigned TextFont();
  // Declares an image whose file (`extension`) lies in the spool at
  // `offset`, `length` bytes; returns its resource ID.
  unsigned AddImage(const std::string& format, const std::string& extension,
                    unsigned long long offset, unsigned long long length);
  // Appends page `id` of `layout`'s size whose Content.xml lies in the
  // spool at `offset`, `length` bytes.
  void AddPage(unsigned id, const OfdPageLayout& layout, unsigned long long offset,
               unsigned long long length);
  int PageCount() const;

  // Writes the package to `path`, the new files read from `spoolPath`.
  // Throws ImageError.
  void Write(const std::string& path, const std::string& spoolPath);

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace zelk
