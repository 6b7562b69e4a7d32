#pragma once
// One page image as the toolkit hands it to the writers.
//
// The decoded pixels are a Leptonica PIX.  A reader may also attach the
// page's compressed data as it stands in the source file (a CCITT G4 strip
// or a baseline JPEG stream) so that a writer whose chosen code asks for
// exactly that encoding can copy it without decoding and re-encoding.

#include <leptonica/allheaders.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelk {

// Every failure of the toolkit (unreadable file, page beyond the end, bad
// format code, write error) is raised as an ImageError with a clear message.
class ImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PixDeleter {
  void operator()(PIX* pix) const { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<PIX, PixDeleter>;

// Compressed data of a page exactly as stored in its source.
struct RawPageData {
  enum class Codec { CcittG4, Jpeg };
  Codec codec;
  std::vector<uint8_t> bytes;  // G4: the bare CCITT stream; JPEG: a complete JFIF/Adobe stream
  int width = 0;
  int height = 0;
  int components = 1;      // JPEG: 1 grey, 3 YCbCr/RGB, 4 CMYK
  bool blackIsZero = false;  // G4: photometric of the source (false: 0 is white, as in CCITT)
};

struct Page {
  PixPtr pix;     // decoded pixels; may be null only while `raw` is set and decoding was not needed
  int xDpi = 0;   // X resolution, dots per inch (0 when the file has none)
  int yDpi = 0;
  std::optional<RawPageData> raw;
};

}  // namespace zelk
