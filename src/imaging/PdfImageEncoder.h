#pragma once
// A page image encoded for a PDF image XObject according to the PDF format
// codes: 146 Flate (lossless), 147 / 148 / 149 CCITT Group 3 1-D, Group 3
// 2-D and Group 4, 150 / 151 / 152 DCT with 4:4:4, 4:2:2 and 4:1:1 chroma
// subsampling.

#include "imaging/Page.h"
#include "imaging/SaveFormat.h"

#include <cstdint>
#include <vector>

namespace zelk {

enum class PdfImageFilter { Flate, Ccitt, Dct };

struct PdfImage {
  int width = 0;
  int height = 0;
  bool rgb = false;          // DeviceRGB, else DeviceGray
  int bitsPerComponent = 8;  // 1 for bitonal images
  PdfImageFilter filter = PdfImageFilter::Flate;
  // CCITT parameters.
  int ccittK = 0;
  bool ccittEndOfLine = false;
  bool ccittBlackIs1 = false;
  // The stream data exactly as the filter decodes it.
  std::vector<uint8_t> data;
  // True when the source's compressed data was taken as it stood.
  bool copiedFromSource = false;
};

// Encodes `page` for `spec.code` at `spec.bitsPerPixel` (1, 8 or 24; 0
// follows the page) with `spec.qualityFactor` (lossy codes only).  A
// palette page becomes grey
// or RGB.  Compressed source data is copied instead of re-encoded when it
// serves as well: single-strip G4 data saved with 149, single-strip
// Group 3 data with the same scheme (147, 148), or a baseline JPEG whose
// estimated quality is at or below the code's and whose chroma is sampled
// at least as coarsely (150 to 152).  Pixels are decoded only otherwise.
// Throws ImageError for a code that is not a PDF code, a bit depth the code
// cannot take (a CCITT code or 1 bit on a page that is not bitonal) or a
// codec failure.
PdfImage EncodePdfImage(const Page& page, const SaveSpec& spec);

}  // namespace zelk
