#pragma once
// The toolkit's save-format codes: the numbers the compression settings
// map to and every save call passes on, with the depth and quality, as one
// SaveSpec.

namespace zelk {

enum SaveFormatCode : int {
  // TIFF, bitonal pages
  kTiffCcittG4 = 29,
  kTiffCcittG3TwoD = 28,
  kTiffCcittG3OneD = 27,
  kTiffCcittRle = 25,
  // TIFF, any page
  kTiffLzw = 17,
  kTiffUncompressed = 3,
  kTiffJpeg444 = 11,
  kTiffJpeg422 = 24,
  kTiffJpeg411 = 22,
  // JPEG files
  kJpeg444 = 10,
  kJpeg422 = 23,
  kJpeg411 = 21,
  // PDF, 146 to 152
  kPdfUncompressed = 146,
  kPdfCcittG3OneD = 147,
  kPdfCcittG3TwoD = 148,
  kPdfCcittG4 = 149,
  kPdfJpeg444 = 150,
  kPdfJpeg422 = 151,
  kPdfJpeg411 = 152,
};

// How a page is saved: its format code, the bits per pixel to store (1, 8
// or 24) and the quality factor of the JPEG codes (the lower, the better).
struct SaveSpec {
  int code = 0;
  int bitsPerPixel = 0;
  int qualityFactor = 0;
};

constexpr bool IsTiffFormat(int code) {
  switch (code) {
    case kTiffCcittG4: case kTiffCcittG3TwoD: case kTiffCcittG3OneD: case kTiffCcittRle:
    case kTiffLzw: case kTiffUncompressed: case kTiffJpeg444: case kTiffJpeg422:
    case kTiffJpeg411:
      return true;
    default:
      return false;
  }
}

constexpr bool IsJpegFormat(int code) {
  return code == kJpeg444 || code == kJpeg422 || code == kJpeg411;
}

constexpr bool IsPdfFormat(int code) { return code >= kPdfUncompressed && code <= kPdfJpeg411; }

}  // namespace zelk
