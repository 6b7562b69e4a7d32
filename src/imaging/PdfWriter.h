#pragma once
// Image-only and searchable PDF output through qpdf.
//
// PdfDocumentWriter keeps one document open while pages are added and
// writes it once, at Finish().  Each page's compressed data goes to a spool
// file as soon as the page is added, so adding a page costs that page's
// encoding only and memory stays near one page however long the document
// grows.  Jobs that put several pages into one output keep one writer for
// it; SavePdfPage is the single-page form (it reads and rewrites the whole
// existing document, so it suits one page at a time, not a long series).

#include "imaging/Page.h"
#include "imaging/SaveFormat.h"
#include "imaging/PageText.h"
#include "imaging/PdfImageEncoder.h"
#include "imaging/PdfPageGeometry.h"

#include <memory>
#include <optional>
#include <string>

namespace zelk {

struct PdfPageOptions {
  // The PDF resolution pair: the page measures pixels / dpi x 72 points.
  // 0 takes the page's own resolution, and 300 when it has none.
  int xDpi = 0;
  int yDpi = 0;
  // The Boolean PDF switch.  true: the page has exactly the image's size;
  // false: when the image lies within 3 % of a standard paper size (A3, A4,
  // A5, B4, B5, Letter, Legal, either orientation) the page has that size
  // with the image fitted and centred, else the image's size.
  bool exactImageSize = true;
  // When set, the page has this size and the image is fitted and centred
  // on it, whatever the switch says.
  std::optional<PaperSize> paper;
  // Recognised text drawn invisibly in the image's place, in the image's
  // pixel coordinates.
  const PageText* text = nullptr;
  TextLayerOrder textOrder = TextLayerOrder::TextOverImage;
};

// Where an image of `imageWidth` x `imageHeight` pixels, whose own
// resolution is `pageXDpi` x `pageYDpi`, lies on its page under `options`.
PdfPagePlacement PagePlacementOf(int imageWidth, int imageHeight, int pageXDpi, int pageYDpi,
                                 const PdfPageOptions& options);

class PdfDocumentWriter {
 public:
  // The document will be written to `outputPath`.  When `startFrom` names
  // an existing file, that file must be a PDF (another program's too) and
  // its pages come first; it may be `outputPath` itself.  Empty or absent:
  // a new document.  `title` is the document's title (empty: the output
  // file's name without its extension).  Throws ImageError when the
  // existing file cannot be read as a PDF or its directory takes no
  // temporary file.
  //
  // The document is PDF/A-1b (PdfArchive.h) unless it starts from an
  // existing PDF that is not and cannot become PDF/A by what this writer
  // adds; Archival() tells.
  explicit PdfDocumentWriter(const std::string& outputPath, const std::string& startFrom = {},
                             const std::string& title = {});
  ~PdfDocumentWriter();  // without Finish() nothing is written
  PdfDocumentWriter(const PdfDocumentWriter&) = delete;
  PdfDocumentWriter& operator=(const PdfDocumentWriter&) = delete;

  // Adds `page` as the last page, encoded as `spec` says: its PDF format
  // code (146 to 152), bits per pixel (1, 8 or 24) and quality factor.  Throws
  // ImageError when the page cannot be encoded; the document is then as it
  // was before the call.
  void AddPage(const Page& page, const SaveSpec& spec, const PdfPageOptions& options = {});

  // The same with the image already encoded (EncodePdfImage), for a page
  // whose resolution is `pageXDpi` x `pageYDpi`.
  void AddImage(const PdfImage& image, int pageXDpi, int pageYDpi,
                const PdfPageOptions& options = {});

  // Writes the document: to a temporary file beside `outputPath`, renamed
  // into place when complete, so `outputPath` is never half written.
  // Throws ImageError on failure (the temporary file is removed, an
  // existing `outputPath` is left as it was).  Call at most once.
  void Finish();

  int PageCount() const;
  // Whether the document is written as PDF/A-1b: false only when it
  // started from another program's PDF that is not PDF/A-1b.
  bool Archival() const;
  // Bytes of page data spooled so far (for measurements).
  unsigned long long SpooledBytes() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Saves one page to the PDF at `path`: appended as its last page when
// `append` and the file exists, else as a new one-page document.
void SavePdfPage(const Page& page, const std::string& path, const SaveSpec& spec, bool append,
                 const PdfPageOptions& options = {});

}  // namespace zelk
