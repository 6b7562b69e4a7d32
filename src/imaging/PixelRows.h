#pragma once
// Leptonica pixels as the byte rows image codecs and PDF expect: rows one
// after another, most significant bit first, no padding beyond the last
// byte of a row.

#include <leptonica/allheaders.h>

#include <cstdint>
#include <vector>

namespace zelk {

// 1-bit pixels, (width + 7) / 8 bytes a row.  Leptonica's 1 = black is kept
// unless `invert` (PDF's DeviceGray wants 0 = black).
std::vector<uint8_t> BitonalRows(PIX* pix, bool invert);

// 8-bit grey pixels without a colormap, `width` bytes a row.
std::vector<uint8_t> GreyRows(PIX* pix);

// 32-bit RGB pixels, 3 x `width` bytes a row (R, G, B).
std::vector<uint8_t> RgbRows(PIX* pix);

}  // namespace zelk
