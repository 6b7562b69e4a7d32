#pragma once
// TIFF output through libtiff, one directory per page.
//
// Appending opens the file in libtiff's append mode: the new page's data
// and directory go to the end and the last directory is linked to it; the
// pages already there are neither read nor rewritten, so a page costs the
// same time and memory however long the document is.

#include "imaging/Page.h"
#include "imaging/SaveFormat.h"
#include "imaging/TiffFile.h"

#include <memory>
#include <string>

namespace zelk {

// The strips `page` is stored as with `spec` (see SaveTiffPage): the
// page's own stored strips when they serve (TiffPassThrough.h), else its
// pixels encoded.  `path` names the page in messages.  May run on any
// thread.
std::shared_ptr<const TiffStrips> EncodeTiffPage(const Page& page, const SaveSpec& spec,
                                                 const std::string& path);

// Writes `strips` as a page of the TIFF at `path` with the resolution
// (append / replace and failure as SaveTiffPage).
void WriteTiffPage(const TiffStrips& strips, int xDpi, int yDpi, const std::string& path,
                   bool append);

// One multi-page TIFF kept open while its pages are added.  Opening a file
// to append makes libtiff walk every page already there to find the last
// one, so a long document written page by page through WriteTiffPage costs
// time in the square of its length; one handle links each new page to the
// one before directly.  Nothing is kept unless Finish() succeeds: without
// it an appended file returns to its former bytes, a new one is removed.
class TiffDocumentWriter {
 public:
  // `append`: pages follow those of the file at `path` when it has any;
  // otherwise the file is created or replaced.  Throws ImageError.
  TiffDocumentWriter(const std::string& path, bool append);
  ~TiffDocumentWriter();
  TiffDocumentWriter(const TiffDocumentWriter&) = delete;
  TiffDocumentWriter& operator=(const TiffDocumentWriter&) = delete;

  // Adds a page; throws ImageError (the document is then unusable).
  void AddPage(const TiffStrips& strips, int xDpi, int yDpi);
  // Writes what libtiff still holds and keeps the pages.  Throws ImageError.
  void Finish();

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::unique_ptr<TiffFile> file_;
};

// Writes `page` with the compression of `spec.code` at `spec.bitsPerPixel`
// (1, 8 or 24; 0 keeps the page's own depth class) and `spec.qualityFactor`
// (JPEG codes only).  `append`: add the page to the file
// when it exists; otherwise the file is created or replaced.
//
// Stored data that serves as well as encoding (TiffPassThrough.h) is
// copied as it stands.  A palette page at 8 bits keeps
// its palette; JPEG codes write grey pages as one-component JPEG.
//
// Throws ImageError for a code outside the TIFF set, a CCITT code on a page
// deeper than 1 bit, or a failed write.  Checks happen before the file is
// touched; a write that fails half-way is taken back (an appended file
// returns to its former bytes and length, a new or replaced one is removed).
void SaveTiffPage(const Page& page, const std::string& path, const SaveSpec& spec, bool append);

}  // namespace zelk
