#pragma once
// A whole Leptonica image as the packed rows codecs and PDF take: rows one
// after another, samples most significant bit first, each row padded to a
// whole byte (32-bit RGB as R, G, B bytes).

#include <leptonica/allheaders.h>

#include <cstdint>
#include <vector>

namespace zelk {

// Every bit flipped when `invert` (PDF's DeviceGray wants 0 = black where
// Leptonica's 1 bit is black).
std::vector<uint8_t> PackedImage(PIX* pix, bool invert);

}  // namespace zelk
