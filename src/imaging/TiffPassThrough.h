#pragma once
// When a TIFF page can be written by copying the page's stored data
// instead of decoding and encoding it again.

#include "imaging/Page.h"

#include <memory>

namespace zelk {

// The strips to write for `page` saved with the TIFF `formatCode` at
// `bits` (1, 8 or 24) and JPEG `quality` (1..100), when the page's stored
// form serves as well as encoding its pixels would; null otherwise.
//   - CCITT codes: strips of the same CCITT scheme (G4, G3 2-D, G3 1-D or
//     modified Huffman), which are lossless;
//   - LZW and uncompressed: strips of the same compression whose samples
//     are what the code stores at `bits` (bitonal, 8-bit grey or palette,
//     8-bit RGB), also lossless;
//   - JPEG codes: a baseline JPEG (a TIFF page's strips or a whole JPEG
//     file) of the same depth whose estimated quality is at or below
//     `quality` and whose chroma is sampled at least as coarsely as the
//     code asks: encoding its pixels again would make it neither smaller
//     nor better.
std::shared_ptr<const TiffStrips> CopiedStrips(const Page& page, int formatCode, int bits,
                                               int quality);

}  // namespace zelk
