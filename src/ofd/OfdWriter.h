#pragma once
// The OFD twin of a PDF: the same pages, the same images and the same
// invisible text, as an OFD package (the Chinese fixed-layout format).
//
// OfdDocumentWriter takes each page as the PDF writer got it (the page, the
// image encoded for the PDF and the PDF page options), so that the twin's
// pages have the PDF's sizes and its text lies where the PDF's does.  A
// JPEG image is stored as it is; every other image (CCITT, Flate) as a PNG
// of the same pixels, which every OFD reader decodes.  Each page's files go
// to a spool file beside the output as soon as the page is added; the
// package is written at Finish().

#include "imaging/Page.h"
#include "imaging/PdfWriter.h"

#include <memory>
#include <string>

namespace zelk {

class OfdDocumentWriter {
 public:
  // The package will be written to `outputPath`.  When `startFrom` names
  // an existing file, it must be an OFD package (another program's too) and
  // its pages come first; it may be `outputPath` itself.  `title` is the
  // document's title (empty: the output file's name without its
  // extension).  Throws ImageError when the existing file cannot be read
  // as an OFD package or no spool file can be made beside the output.
  explicit OfdDocumentWriter(const std::string& outputPath, const std::string& startFrom = {},
                             const std::string& title = {});
  ~OfdDocumentWriter();  // without Finish() nothing is written
  OfdDocumentWriter(const OfdDocumentWriter&) = delete;
  OfdDocumentWriter& operator=(const OfdDocumentWriter&) = delete;

  // Adds `page` as the last page: `image` is what the PDF page shows
  // (EncodePdfImage of `page`), placed as PdfDocumentWriter places it under
  // `options`, with options.text drawn invisibly over or under it.
  void AddPage(const Page& page, const PdfImage& image, const PdfPageOptions& options = {});

  // Writes the package; throws ImageError on failure.  Call at most once.
  void Finish();

  int PageCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace zelk
