#include "jobs/DualLayerPdfExport.h"

#include <leptonica/allheaders.h>

#include <cmath>
#include <utility>

#include "imaging/PageReader.h"
#include "imaging/SaveFormat.h"
#include "jobs/PageResolution.h"

namespace zelk {
namespace {

// Paper sizes in twips (1/1440 inch), as the export keys name them.
constexpr double kTwipsPerPoint = 20.0;
constexpr double kA4WidthTwips = 11909, kA4HeightTwips = 16834;
constexpr double kA3WidthTwips = 16838, kA3HeightTwips = 23811;

// The highest resolution of a colour or grey image at the smallest quality.
constexpr int kSmallestColourDpi = 150;

// Toolkit quality factors of JPEG qualities 95, 75 and 50.
constexpr int kFactorQuality95 = 14;
constexpr int kFactorQuality75 = 69;
constexpr int kFactorQuality50 = 139;

int OwnResolution(int dpi) { return dpi > 0 ? dpi : kRaisedResolution; }

// The text keeps the coordinates it was recognised in; its frame records
// that the image under it was resampled by (sx, sy) along the stored axes.
void FollowResampledImage(TextFrame& frame, double sx, double sy) {
  if (frame.Sideways()) std::swap(sx, sy);
  frame.xScale /= sx;
  frame.yScale /= sy;
}

// Resamples the image to `dpi` both ways; the text's frame records it.  The
// source's compressed data no longer matches and is dropped.
void Resample(RecognisedPage& page, int dpi) {
  Page& image = page.image;
  const double sx = static_cast<double>(dpi) / OwnResolution(image.xDpi);
  const double sy = static_cast<double>(dpi) / OwnResolution(image.yDpi);
  if (std::abs(sx - 1.0) < 1e-6 && std::abs(sy - 1.0) < 1e-6) return;
  PixPtr scaled(pixScale(image.pix.get(), static_cast<float>(sx), static_cast<float>(sy)));
  if (!scaled) {
    throw ImageError(ErrorKind::OutOfMemory, "",
                     "the page image could not be resampled to " + std::to_string(dpi) + " dpi");
  }
  pixSetResolution(scaled.get(), dpi, dpi);
  image.pix = std::move(scaled);
  DropStoredForms(image);
  image.xDpi = dpi;
  image.yDpi = dpi;
  FollowResampledImage(page.text.frame, sx, sy);
}

PdfPageOptions PageOptionsFor(const DualLayerPdfExport& pdfExport, const RecognisedPage& page) {
  PdfPageOptions options;
  options.xDpi = OwnResolution(page.image.xDpi);
  options.yDpi = OwnResolution(page.image.yDpi);
  options.exactImageSize = pdfExport.paper == PdfPaperChoice::ImageSize;
  if (pdfExport.paper == PdfPaperChoice::A4) {
    options.paper = PaperSize{"A4", kA4WidthTwips / kTwipsPerPoint, kA4HeightTwips / kTwipsPerPoint};
  } else if (pdfExport.paper == PdfPaperChoice::A3) {
    options.paper = PaperSize{"A3", kA3WidthTwips / kTwipsPerPoint, kA3HeightTwips / kTwipsPerPoint};
  }
  // A page scanned sideways is shown turned a quarter (/Rotate): the paper
  // lies sideways under the stored image too, so that the page shows
  // upright on the paper and at its full size.
  if (options.paper && page.text.frame.Sideways()) {
    std::swap(options.paper->width, options.paper->height);
  }
  options.text = &page.text;
  options.textOrder = pdfExport.textOrder;
  return options;
}

}  // namespace

DualLayerPdfExport DualLayerPdfExportOf(const Settings::TwoPdfSection& section) {
  DualLayerPdfExport result;
  result.textOrder = section.TextOutputMode == 0 ? TextLayerOrder::TextUnderImage
                                                 : TextLayerOrder::TextOverImage;
  switch (section.PaperSize) {
    case 1: result.paper = PdfPaperChoice::ImageSize; break;
    case 2: result.paper = PdfPaperChoice::A4; break;
    case 3: result.paper = PdfPaperChoice::A3; break;
    default: result.paper = PdfPaperChoice::Automatic; break;
  }
  switch (section.ImageQuality) {
    case 0: result.quality = PdfImageQuality::Best; break;
    case 2: result.quality = PdfImageQuality::Smallest; break;
    case 3: result.quality = PdfImageQuality::Fastest; break;
    default: result.quality = PdfImageQuality::Balanced; break;
  }
  result.resolution = TableResolution(section.ImageResolution);
  return result;
}

SaveSpec PdfImageEncodingFor(PdfImageQuality quality, int bitsPerPixel) {
  if (bitsPerPixel == 1) return {kPdfCcittG4, 1, 0};
  switch (quality) {
    case PdfImageQuality::Best: return {kPdfJpeg444, 0, kFactorQuality95};
    case PdfImageQuality::Balanced: return {kPdfJpeg444, 0, kFactorQuality75};
    case PdfImageQuality::Smallest: return {kPdfJpeg422, 0, kFactorQuality50};
    case PdfImageQuality::Fastest: return {kPdfJpeg411, 0, kFactorQuality75};
  }
  return {kPdfJpeg444, 0, kFactorQuality75};
}

SaveSpec PreparePdfPage(RecognisedPage& page, const DualLayerPdfExport& pdfExport,
                                PdfPageOptions& options) {
  RaiseLowResolution(page.image);
  if (pdfExport.resolution) Resample(page, *pdfExport.resolution);
  const int bits = ProgramBitsPerPixel(page.image);
  if (pdfExport.quality == PdfImageQuality::Smallest && bits != 1 &&
      (OwnResolution(page.image.xDpi) > kSmallestColourDpi ||
       OwnResolution(page.image.yDpi) > kSmallestColourDpi)) {
    Resample(page, kSmallestColourDpi);
  }
  options = PageOptionsFor(pdfExport, page);
  return PdfImageEncodingFor(pdfExport.quality, bits);
}

void AddRecognisedPage(PdfDocumentWriter& writer, RecognisedPage& page,
                       const DualLayerPdfExport& pdfExport, OfdDocumentWriter* twin) {
  PdfPageOptions options;
  const SaveSpec spec = PreparePdfPage(page, pdfExport, options);
  const PdfImage image = EncodePdfImage(page.image, spec);
  writer.AddImage(image, page.image.xDpi, page.image.yDpi, options);
  if (twin) twin->AddPage(page.image, image, options);
}

}  // namespace zelk
