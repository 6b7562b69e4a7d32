#pragma once
// How a recognised page goes into a searchable PDF under the [2PDF] export
// keys: the page size (PaperSize), the image encoding (ImageQuality), the
// resolution the image is resampled to (ImageResolution) and whether the
// invisible text lies over or under the image (TextOutputMode).

#include <cstdint>
#include <optional>

#include "imaging/PageText.h"
#include "imaging/PdfWriter.h"
#include "ofd/OfdWriter.h"
#include "ocr/RecognitionPool.h"
#include "settings/Settings.h"

namespace zelk {

enum class PdfPaperChoice {
  Automatic,  // the nearest standard paper when the image is within 3 % of one
  ImageSize,  // the image's own size at its resolution
  A4,         // 11909 x 16834 twips, the image fitted and centred
  A3,         // 16838 x 23811 twips
};

enum class PdfImageQuality {
  Best,      // bitonal CCITT G4, others JPEG quality 95
  Balanced,  // bitonal G4, others JPEG 75
  Smallest,  // bitonal G4, others JPEG 50 at no more than 150 dpi
  Fastest,   // bitonal G4 (copied from a G4 source), others JPEG 75 with
             // the cheapest chroma subsampling
};

struct DualLayerPdfExport {
  TextLayerOrder textOrder = TextLayerOrder::TextOverImage;
  PdfPaperChoice paper = PdfPaperChoice::Automatic;
  PdfImageQuality quality = PdfImageQuality::Best;
  std::optional<int> resolution;  // dpi the image is resampled to; none keeps it
};

// The export of the [2PDF] keys: TextOutputMode 0 puts the text under the
// image, any other value over it; PaperSize 0 to 3 and ImageQuality 0 to 3
// in the order of the enums (other values: automatic, balanced);
// ImageResolution 1 to 7 resamples to 96, 150, 200, 300, 400, 500, 600 dpi,
// 0 and other values keep the page's own.
DualLayerPdfExport DualLayerPdfExportOf(const Settings::TwoPdfSection& section);

// The format code, bits per pixel (0: the page's own) and quality factor
// of the PDF writer for a page of the program's depth `bitsPerPixel` (1
// bitonal, else grey or colour).
SaveSpec PdfImageEncodingFor(PdfImageQuality quality, int bitsPerPixel);

// Prepares `page` for its PDF page: a resolution below 100 dpi is taken as
// 300, the image is resampled as the export asks (the text's frame records
// the resampling; its boxes keep the recognised coordinates) and the page
// options are filled, pointing at `page.text`.
// Returns the encoding to use.
SaveSpec PreparePdfPage(RecognisedPage& page, const DualLayerPdfExport& pdfExport,
                                PdfPageOptions& options);

// PreparePdfPage, then the page added to `writer` and, when there is one,
// to its OFD twin with the same image and text.
void AddRecognisedPage(PdfDocumentWriter& writer, RecognisedPage& page,
                       const DualLayerPdfExport& pdfExport, OfdDocumentWriter* twin = nullptr);

}  // namespace zelk
