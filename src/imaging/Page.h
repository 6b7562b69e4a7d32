#pragma once
// One page image as the toolkit hands it to the writers.
//
// The decoded pixels are a Leptonica PIX.  A reader may also attach the
// page's compressed data as it stands in the source file (a CCITT G4 strip
// or a baseline JPEG stream) so that a writer whose chosen code asks for
// exactly that encoding can copy it without decoding and re-encoding.
//
// A TIFF page also carries its stored strips with the tags that describe
// them (`strips`), so that a TIFF writer whose code asks for the same
// encoding copies them.
//
// LoadPage always decodes: `pix` is set and the stored forms, when present,
// decode to exactly these pixels (the data was checked by decoding it).
// ReadPage decodes only where a stored form cannot stand for the page:
// `pix` may then be null, and a writer that needs pixels decodes the
// stored form (PixelsOf); `width`, `height` and `depth` say what
// it will give.  Code that changes `pix` (or builds a new one) must call
// DropStoredForms, or a writer would copy the old data.  Resolutions are
// plain metadata: changing them never resamples.
//
// Leptonica conventions apply to `pix`: 1 bit per pixel with 1 = black and
// no colormap, 2/4/8-bit grey with 0 = black, 2/4/8 bits with a colormap
// for palette images, 16-bit grey, and 32-bit RGB for colour.

#include <leptonica/allheaders.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ErrorKind.h"

namespace zelk {

// Every failure of the toolkit (unreadable file, page beyond the end, bad
// format code, write error) is raised as an ImageError: its kind, the file
// and the library's detail.
class ImageError : public KindedError {
 public:
  using KindedError::KindedError;
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

// A page's strips as a TIFF file stores them, with the tags a writer needs
// to store the same strips as a page of its own (values as libtiff names
// them).  CCITT strips have their bits filled most significant first.
struct TiffStrips {
  uint16_t compression = 1;
  uint16_t photometric = 0;
  uint16_t bitsPerSample = 1;
  uint16_t samplesPerPixel = 1;
  uint16_t predictor = 1;
  uint32_t group3Options = 0;
  uint16_t ycbcrHorizontal = 1;  // JPEG YCbCr pages: chroma subsampling
  uint16_t ycbcrVertical = 1;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t rowsPerStrip = 0;
  std::vector<uint16_t> colormap;    // palette pages: all reds, then greens, then blues
  std::vector<uint8_t> jpegTables;   // JPEG pages: the tables shared by the strips
  std::vector<std::vector<uint8_t>> strips;
};

struct Page {
  PixPtr pix;     // decoded pixels; never null after LoadPage
  int xDpi = 0;   // X resolution, dots per inch (0 when the file has none)
  int yDpi = 0;
  std::optional<RawPageData> raw;
  std::shared_ptr<const TiffStrips> strips;
  // Size and Leptonica depth (1, 2, 4, 8, 16 or 32) of the pixels, known
  // before they are decoded.
  int width = 0;
  int height = 0;
  int depth = 0;
  // Decodes the stored form (pages read without their pixels only).
  std::function<PixPtr()> decode;
};

// The page's pixels as a new reference: the decoded ones, or freshly
// decoded from the stored form (left out of `page`).
PixPtr PixelsOf(const Page& page);

// Forgets the stored forms after `pix` has been changed.
void DropStoredForms(Page& page);

// The page's depth as the jobs understand it: 1 bitonal, 2 to 8 grey or
// palette, 16 for 16-bit grey, 24 for colour (whatever the buffer holds).
int ProgramBitsPerPixel(const Page& page);

}  // namespace zelk
