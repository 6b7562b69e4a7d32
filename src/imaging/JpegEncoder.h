#pragma once
// Baseline JPEG encoding through TurboJPEG.

#include <leptonica/allheaders.h>

#include <cstdint>
#include <vector>

namespace zelk {

enum class ChromaSubsampling { S444, S422, S411 };

// Luminance samples per chroma sample: 1, 2 or 4, all across (EncodeJpeg
// samples chroma on every row).
int LumaSamplesPerChroma(ChromaSubsampling subsampling);

// Encodes an 8-bit grey (no colormap) or 32-bit RGB PIX.  Grey pages give a
// one-component JPEG whatever the subsampling.  `quality` is 1..100.
// Throws ImageError when the codec fails.
std::vector<uint8_t> EncodeJpeg(PIX* pix, ChromaSubsampling subsampling, int quality);

}  // namespace zelk
