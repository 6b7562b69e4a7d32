#pragma once
// CCITT fax encoding of a bitonal page through libtiff's codec: the page is
// written as a one-strip TIFF in memory and the strip is taken out.

#include <leptonica/allheaders.h>

#include <cstdint>
#include <vector>

namespace zelk {

enum class CcittScheme {
  Group3OneD,  // modified Huffman rows, each after an end-of-line code
  Group3TwoD,  // mixed one- and two-dimensional rows, each after an end-of-line code
  Group4,      // two-dimensional, no end-of-line codes
};

struct CcittData {
  std::vector<uint8_t> bytes;
  // The K of a CCITTFaxDecode filter: 0, the largest run of rows between
  // one-dimensional rows, or -1 for Group 4.
  int k = 0;
  bool endOfLine = false;  // rows begin with end-of-line codes
};

// Encodes a 1-bit PIX (1 = black) so that black runs are CCITT black.
// Throws ImageError when libtiff fails.
CcittData EncodeCcitt(PIX* bitonal, CcittScheme scheme);

}  // namespace zelk
