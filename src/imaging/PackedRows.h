#pragma once
// One row at a time between Leptonica pixels and the packed sample rows
// libtiff and libpng read and write (samples most significant bit first,
// rows padded to a whole byte).  Working row by row keeps a decoder's
// memory at one image plus one strip.

#include <leptonica/allheaders.h>

#include <cstdint>

namespace zelk {

// Stores one packed row into line `y` of `pix`.
//  - one sample of 1, 2, 4 or 8 bits (pix depth equal): copied, every bit
//    flipped when `invert` (a 1-bit row whose 1 means white, a grey row
//    whose 0 means white);
//  - one 16-bit sample in host byte order (16-bit pix): 65535 - v when `invert`;
//  - three or more 8-bit samples (32-bit pix): the first three are R, G, B,
//    further samples (alpha) are dropped.
void StorePackedRow(PIX* pix, int y, const uint8_t* row, int bitsPerSample, int samplesPerPixel,
                    bool invert);

// Packs line `y` of `pix` into `row`: 1/2/4/8-bit pix as they are (every
// bit flipped when `invert`), a 32-bit pix as R, G, B bytes.
void LoadPackedRow(PIX* pix, int y, uint8_t* row, bool invert);

// Bytes LoadPackedRow writes for `pix`.
int PackedRowBytes(PIX* pix);

}  // namespace zelk
