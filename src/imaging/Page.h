#pragma once
// One page image as the toolkit hands it to the writers.
//
// The decoded pixels are a Leptonica PIX.  A reader may also attach the
// page's compressed data as it stands in the source file (a CCITT G4 strip
// or a baseline JPEG stream) so that a writer whose chosen code asks for
// exactly that encoding can copy it without decoding and re-encoding.
//
// LoadPage always decodes: `pix` is set and `raw`, when present, decodes to
// exactly these pixels (the data was checked by decoding it).  Code that
// changes `pix` (or builds a new one) must reset `raw`, or a writer would
// copy the old data.  Resolutions are plain metadata: changing them never
// resamples.
//
// Leptonica conventions apply to `pix`: 1 bit per pixel with 1 = black and
// no colormap, 2/4/8-bit grey with 0 = black, 2/4/8 bits with a colormap
// for palette images, 16-bit grey, and 32-bit RGB for colour.

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
  // G4: the bare CCITT stream, bits filled most significant first (K = -1,
  // no byte alignment, end-of-block optional); JPEG: the whole source file,
  // a baseline 8-bit stream with 1 (grey) or 3 (YCbCr) components.
  std::vector<uint8_t> bytes;
  int width = 0;
  int height = 0;
  int components = 1;      // JPEG: 1 grey, 3 YCbCr
  // G4: photometric of the source.  false (min-is-white): the 1 bits the
  // stream decodes to are black, as in fax; true (min-is-black): they are
  // white.
  bool blackIsZero = false;
};

struct Page {
  PixPtr pix;     // decoded pixels, never null after LoadPage
  int xDpi = 0;   // X resolution, dots per inch (0 when the file has none)
  int yDpi = 0;
  std::optional<RawPageData> raw;
};

}  // namespace zelk
