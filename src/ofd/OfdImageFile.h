#pragma once
// The file an OFD page's image is stored in.  OFD readers decode JPEG and
// PNG (not CCITT data, which only TIFF would carry), so a JPEG image is
// stored exactly as the PDF holds it and every other image as a PNG of
// the same pixels: bitonal pages as 1-bit PNG, grey as 8-bit, colour as
// 24-bit, all lossless.

#include "imaging/Page.h"
#include "imaging/PdfImageEncoder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

struct OfdImageFile {
  std::string extension;  // "jpg" or "png"
  std::string format;     // the MultiMedia's Format: "JPEG" or "PNG"
  std::vector<uint8_t> bytes;
};

// The file for `image`, the PDF's encoding of `page`.  Throws ImageError
// when the page cannot be decoded or encoded.
OfdImageFile OfdImageFileOf(const Page& page, const PdfImage& image);

}  // namespace zelk
